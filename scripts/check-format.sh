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
bad=()
for f in "${files[@]}"; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
    echo "Fichiers à reformater (clang-format -i FICHIER) :"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
echo "Mise en forme conforme à .clang-format (${#files[@]} fichiers)"
