#!/usr/bin/env bash
# Builds everything and runs every test. With --sanitize: a separate build of the tests
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
jobs=$(nproc)
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-asan
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTQ_SANITIZE=ON -DTQ_APP=OFF \
        -DTQ_BENCH=OFF -DTQ_WERROR=ON >/dev/null
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    dir=build
    # Tests and benchmarks named: tools/run.sh turns them off in the same build folder.
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTQ_WERROR=ON \
        -DTQ_TESTS=ON -DTQ_BENCH=ON >/dev/null
fi
cmake --build "$dir" -j "$jobs"
ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$jobs"
