#!/usr/bin/env bash
# Fails when a tracked C or C++ file differs from what clang-format (.clang-format) makes of it.
# `tools/check-format.sh --fix` rewrites the files instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! clang-format --dry-run --Werror "${files[@]}" 2> "$log"; then
    grep -E '^[^ ].*: (error|warning):' "$log" | cut -d: -f1 | sort | uniq -c | sed 's/^ */not formatted: /'
    echo "Run tools/check-format.sh --fix to format them."
    exit 1
fi
