#!/usr/bin/env bash
# Static checks of our code with the checks listed in .clang-tidy. Uses a configure-only
# build folder of its own (build-lint), without precompiled headers, which the checker
# cannot read from the compiler's build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build-lint -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON -DTQ_BENCH=OFF >/dev/null
report=build-lint/lint.txt
run-clang-tidy -p build-lint -quiet -j "$(nproc)" "$(pwd)/src/" >"$report" 2>&1 || true
sed -i 's/\x1b\[[0-9;]*m//g' "$report"
if grep -E "(warning|error):" "$report"; then
    echo "lint: findings above (whole report in $report)" >&2
    exit 1
fi
echo "lint: clean"
