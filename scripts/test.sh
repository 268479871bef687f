#!/usr/bin/env bash
# Builds Halovane and runs every test: the engine, runner and window tests
# and those of the Python package (pytest), then the engine, runner, graph
# and table tests again under AddressSanitizer and UndefinedBehaviorSanitizer
# (without the Python package), then the engine and the runner built for
# Windows with their tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
halovane_install_packages "${halovane_windows_packages[@]}"
jobs=$(nproc)
# CI builds with compiler warnings as errors.
werror=OFF
if [ "${CI:-}" = true ]; then werror=ON; fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DHALOVANE_WERROR=$werror
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DHALOVANE_SANITIZE=ON -DHALOVANE_GUI=OFF \
    -DHALOVANE_WERROR=$werror
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# Windows: cross-built with MinGW-w64, the tests run under Wine (in a Wine
# folder inside build-windows/); the golden cases' files must be the same
# byte for byte as those of the Linux runner built above.
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null; then
    start=$SECONDS
    cmake --preset windows -DHALOVANE_WERROR=$werror -DHALOVANE_NATIVE_CLI="$PWD/build/cli/halovane-cli"
    cmake --build --preset windows -j"$jobs"
    built=$SECONDS
    ctest --preset windows -j"$jobs"
    echo "Windows: built in $((built - start)) s, tests under Wine in $((SECONDS - built)) s"
else
    echo "Windows build skipped: x86_64-w64-mingw32-g++-posix or wine is missing"
fi
