#!/usr/bin/env bash
# Builds Halovane and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
halovane_install_packages
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
if [ -x build/shell/halovane ]; then
    exec build/shell/halovane
fi
# Without the window program: run the example data sets headless.
mkdir -p build/examples-run
cp examples/*.inp build/examples-run/
build/cli/halovane-cli run --optimise build/examples-run/*.inp
echo "Output files: build/examples-run/*.out"
