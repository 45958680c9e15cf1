#!/usr/bin/env bash
# Builds the program and starts it on the simulated board.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTQ_TESTS=OFF -DTQ_BENCH=OFF >/dev/null
cmake --build build --target tq73rn
exec ./build/bin/tq73rn "$@"
