#!/usr/bin/env bash
# Runs every fuzz target (or those named) for SECONDS each, as many at once as there are cores.
# Usage: scripts/run-fuzz.sh SECONDS [fuzz_target ...]
# The targets are those of the sanitizer build, build-asan/ (TARVEX_FUZZ_BUILD names another).
# Each target starts from fuzz/seeds/<target>/ (when present) and the outside corpus
# (../shared/corpus, when present); findings are written to <build>/findings/.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?Utilisation : scripts/run-fuzz.sh SECONDES [cible ...]}
shift
build=${TARVEX_FUZZ_BUILD:-build-asan}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(find "$build/fuzz" -maxdepth 2 -type f -executable -name 'fuzz_*' -printf '%f\n' | sort)
fi
if [ ${#targets[@]} -eq 0 ]; then
    echo "aucune cible de fuzzing dans $build (construit avec -DTARVEX_FUZZ=ON ?)"
    exit 1
fi
mkdir -p "$build/findings"

# fuzz_one TARGET: runs one target; prints one line, or the end of its log on a finding.
fuzz_one() {
    local target=$1 binary work seeds=()
    binary=$(find "$build/fuzz" -maxdepth 2 -type f -executable -name "$target" | head -n 1)
    if [ -z "$binary" ]; then
        echo "cible introuvable : $target"
        return 1
    fi
    work=$(mktemp -d)
    [ -d "fuzz/seeds/$target" ] && seeds+=("fuzz/seeds/$target")
    [ -d ../shared/corpus ] && seeds+=(../shared/corpus/mutagen ../shared/corpus/taglib)
    if "$binary" "$work" "${seeds[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 \
        -max_len=262144 -artifact_prefix="$build/findings/$target-" -print_final_stats=0 \
        >"$work.log" 2>&1; then
        echo "fuzz $target : ${seconds} s sans anomalie ($(grep -c . "$work.log") lignes de journal)"
        rm -rf "$work" "$work.log"
        return 0
    fi
    echo "fuzz $target : ANOMALIE"$'\n'"$(tail -n 40 "$work.log")"
    rm -rf "$work" "$work.log"
    return 1
}
export -f fuzz_one
export build seconds
# xargs exits non-zero when any target failed.
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'fuzz_one "$1"' _ {}
