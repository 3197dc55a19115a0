#!/usr/bin/env bash
# Keeps every folder to the layers below it: a source file may include only headers of the folders
# its layer uses, a folder's CMake target may link only the libraries of those folders, and only the
# window (ui/) uses Qt. Prints each breach and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A uses=(
    [base]=""
    [app]="base"
    [workbook]="base"
    [readers]="base"
    [import]="readers app base"
    [analysis]="app base"
    [sheets]="analysis app workbook base"
    [export]="sheets analysis app workbook base"
    [sample]="app workbook base"
    [cli]="export sheets analysis import readers sample app workbook base"
    [ui]="export sheets analysis import readers sample app workbook base"
)

status=0
for folder in "${!uses[@]}"; do
    allowed=" $folder ${uses[$folder]} "
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<< "$line")
        if [[ "$allowed" != *" $target "* ]]; then
            echo "layer breach: $line ($folder/ may use only:${uses[$folder]:- nothing})"
            status=1
        fi
    done < <(git grep -nE '^#include "[a-z_]+/' -- "$folder/*.cpp" "$folder/*.h" || true)
    while IFS= read -r lib; do
        name=${lib#varnex_}
        if [[ "$allowed" != *" $name "* && "$name" != core ]]; then
            echo "layer breach: $folder/CMakeLists.txt links varnex_$name"
            status=1
        fi
    done < <(perl -0ne 'print "$1\n" while /target_link_libraries\(([^)]*)\)/g' "$folder/CMakeLists.txt" | grep -oE 'varnex_[a-z_]+' | sort -u)
    if [[ "$folder" != ui ]] && git grep -nE '^#include <Q' -- "$folder/*.cpp" "$folder/*.h"; then
        echo "layer breach: only ui/ may use Qt"
        status=1
    fi
done
exit $status
