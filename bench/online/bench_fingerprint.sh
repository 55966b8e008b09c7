#!/usr/bin/env bash
# Fingerprints of COUNT (200) three-minute MP3 files: `tarvex-cli empreinte` over all of them in
# one run (every core), beside `fpcalc -json` run one file at a time, and a second
# `tarvex-cli empreinte` that finds every file in its cache.
# Usage: bench_fingerprint.sh TARVEX_CLI [COUNT]
set -euo pipefail
cli=$(realpath "$1")
count=${2:-200}
for tool in ffmpeg lame fpcalc; do
    command -v "$tool" >/dev/null || { echo "$tool manque" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Four different recordings (pink noise under a tone), copied to COUNT names: the work of a
# fingerprint does not depend on what the music is.
for seed in 1 2 3 4; do
    ffmpeg -loglevel error -f lavfi -i "anoisesrc=d=180:c=pink:seed=$seed:a=0.2" \
        -f lavfi -i "sine=f=$((220 * seed)):d=180" -filter_complex amix=inputs=2 \
        -ac 2 -ar 44100 "$work/source$seed.wav"
    lame --quiet -b 192 "$work/source$seed.wav" "$work/source$seed.mp3"
    rm "$work/source$seed.wav"
done
mkdir "$work/files"
for ((i = 0; i < count; i++)); do
    cp "$work/source$((i % 4 + 1)).mp3" "$work/files/$(printf '%03d' "$i").mp3"
done

now() { date +%s.%N; }
seconds() { echo "$2 - $1" | bc; }

start=$(now)
for file in "$work"/files/*.mp3; do
    fpcalc -json "$file" >/dev/null
done
fpcalc_time=$(seconds "$start" "$(now)")

export XDG_CACHE_HOME="$work/cache"
start=$(now)
"$cli" empreinte "$work"/files/*.mp3 >"$work/first.json"
first_time=$(seconds "$start" "$(now)")
start=$(now)
"$cli" empreinte "$work"/files/*.mp3 >"$work/second.json"
second_time=$(seconds "$start" "$(now)")
cmp -s "$work/first.json" "$work/second.json" || { echo "le cache rend d'autres empreintes" >&2; exit 1; }

printf 'fichiers : %d de 3 min, %d cœurs\n' "$count" "$(nproc)"
printf 'fpcalc, un fichier à la fois : %.2f s\n' "$fpcalc_time"
printf 'tarvex-cli empreinte         : %.2f s (%.2f× fpcalc)\n' "$first_time" \
    "$(echo "$fpcalc_time / $first_time" | bc -l)"
printf 'tarvex-cli empreinte, cache  : %.2f s\n' "$second_time"
