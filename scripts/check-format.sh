#!/usr/bin/env bash
# Fails, naming them, when C++ files of the project differ from .clang-format.
# Usage: scripts/check-format.sh [FILE...]   (every tracked .cpp and .h when none is given)
set -uo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
# clang-format checks files in batches on every core; each difference is reported as
# "FILE:LINE:COLUMN: error: code should be clang-formatted".
report=$(printf '%s\0' "${files[@]}" |
    xargs -0 -P "$(nproc)" -n 25 clang-format --dry-run -Werror 2>&1 >/dev/null)
mapfile -t bad < <(grep -o -E '^[^:]+:[0-9]+:[0-9]+: error' <<<"$report" | cut -d: -f1 | sort -u)
# A file clang-format could not read at all is reported without a position.
if [ ${#bad[@]} -eq 0 ] && [ -n "$report" ]; then
    echo "$report"
    exit 1
fi
if [ ${#bad[@]} -gt 0 ]; then
    echo "Fichiers à reformater (clang-format -i FICHIER) :"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
echo "Mise en forme conforme à .clang-format (${#files[@]} fichiers)"
