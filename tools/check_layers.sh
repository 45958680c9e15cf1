#!/usr/bin/env bash
# Fails when a source folder includes a folder it does not stand on. The direction is
# reader, transceiver <- core <- widgets <- the window folders; simboard stands on reader
# alone, and no window folder reaches into another; app/ gathers the window folders.
# main.cpp and program.cpp, beside the folders, may include anything.
set -euo pipefail
src=${1:-$(dirname "$0")/../src}
allowed() {
    case $1 in
        reader) echo "reader" ;;
        transceiver) echo "transceiver" ;;
        simboard) echo "simboard reader" ;;
        core) echo "core reader transceiver" ;;
        widgets) echo "widgets core reader transceiver" ;;
        # The one place that knows every window folder.
        app) (cd "$src" && ls -d */ | tr -d / | grep -v simboard | tr '\n' ' ') ;;
        *) echo "$1 widgets core reader transceiver" ;;
    esac
}
status=0
for dir in "$src"/*/; do
    folder=$(basename "$dir")
    ok=" $(allowed "$folder") "
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"${line#*:}")
        if [[ $ok != *" $target "* ]]; then
            echo "$file: $folder must not include $target/ (${line#*:})" >&2
            status=1
        fi
    done < <(grep -rHE '^#include "[^"/]+/' "$dir" || true)
done
exit $status
