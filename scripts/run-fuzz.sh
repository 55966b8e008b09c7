#!/usr/bin/env bash
# Runs every fuzz target of build-fuzz/ (or those named) for SECONDS each.
# Usage: scripts/run-fuzz.sh SECONDS [fuzz_target ...]
# Each target starts from fuzz/seeds/<target>/ (when present) and the outside corpus
# (../shared/corpus, when present); findings are written to build-fuzz/findings/.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?Utilisation : scripts/run-fuzz.sh SECONDES [cible ...]}
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(find build-fuzz/fuzz -maxdepth 2 -type f -executable -name 'fuzz_*' -printf '%f\n' | sort)
fi
mkdir -p build-fuzz/findings
status=0
for target in "${targets[@]}"; do
    binary=$(find build-fuzz/fuzz -maxdepth 2 -type f -executable -name "$target" | head -n 1)
    if [ -z "$binary" ]; then
        echo "cible introuvable : $target"
        status=1
        continue
    fi
    work=$(mktemp -d)
    seeds=()
    [ -d "fuzz/seeds/$target" ] && seeds+=("fuzz/seeds/$target")
    [ -d ../shared/corpus ] && seeds+=(../shared/corpus/mutagen ../shared/corpus/taglib)
    if "$binary" "$work" "${seeds[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 \
        -max_len=262144 -artifact_prefix=build-fuzz/findings/"$target"- -print_final_stats=0 \
        >"$work.log" 2>&1; then
        echo "fuzz $target : ${seconds} s sans anomalie ($(grep -c . "$work.log") lignes de journal)"
    else
        echo "fuzz $target : ANOMALIE"
        tail -n 40 "$work.log"
        status=1
    fi
    rm -rf "$work" "$work.log"
done
exit $status
