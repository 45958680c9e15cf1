#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under ASan and UBSan and runs them, each from
# its seed folder fuzz/corpus/<target>/ (which ctest runs in every test build). What the
# fuzzer finds goes to a scratch folder, not into the seeds.
# Usage: tools/fuzz.sh [target-name|all] [runs]
# TQ_JOBS (default 3) sets the build's parallel jobs; TQ_FUZZ_BUILD_DIR (default
# build-fuzz) its folder, so that several people can fuzz side by side.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
target=${1:-all}
runs=${2:-1000000}
jobs=${TQ_JOBS:-3}
dir=${TQ_FUZZ_BUILD_DIR:-build-fuzz}

targets=()
for src in fuzz/fuzz_*.cpp; do
    name=$(basename "$src" .cpp)
    [ "$target" = all ] || [ "$target" = "$name" ] || continue
    targets+=("$name")
done
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz target named $target (see fuzz/fuzz_*.cpp)" >&2
    exit 2
fi

CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTQ_FUZZ=ON -DTQ_SANITIZE=ON -DTQ_TESTS=OFF -DTQ_APP=OFF -DTQ_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$jobs" --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1
for name in "${targets[@]}"; do
    echo "== $name"
    corpus=$(mktemp -d)
    trap 'rm -rf "$corpus"' EXIT
    "$dir/bin/$name" -runs="$runs" -max_len=600 "$corpus" "fuzz/corpus/$name"
    rm -rf "$corpus"
    trap - EXIT
done
