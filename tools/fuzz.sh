#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under ASan and UBSan and runs them.
# Usage: tools/fuzz.sh [target-name|all] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
target=${1:-all}
runs=${2:-1000000}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTQ_FUZZ=ON -DTQ_SANITIZE=ON -DTQ_TESTS=OFF -DTQ_APP=OFF -DTQ_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)"
export ASAN_OPTIONS=detect_leaks=0
for bin in build-fuzz/bin/fuzz_*; do
    name=$(basename "$bin")
    [ "$target" = all ] || [ "$target" = "$name" ] || continue
    echo "== $name"
    corpus=$(mktemp -d)
    "$bin" -runs="$runs" -max_len=600 "$corpus"
    rm -rf "$corpus"
done
