#!/usr/bin/env bash
# Builds Halovane and runs every test: the engine, runner and window tests,
# then the engine, runner, graph and table tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
halovane_install_packages
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
