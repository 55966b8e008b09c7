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
for n in 1 2 3 4; do
    ffmpeg -loglevel error -f lavfi -i "anoisesrc=d=180:c=pink:s=$n:a=0.2" \
        -f lavfi -i "sine=f=$((220 * n)):d=180" -filter_complex amix=inputs=2 \
        -ac 2 -ar 44100 "$work/source$n.wav"
    lame --quiet -b 192 "$work/source$n.wav" "$work/source$n.mp3"
    rm "$work/source$n.wav"
done
mkdir "$work/files"
for ((i = 0; i < count; i++)); do
    cp "$work/source$((i % 4 + 1)).mp3" "$work/files/$(printf '%03d' "$i").mp3"
done

# Wall-clock and processor seconds ("wall cpu") of a command, in the file named first.
timed() {
    local out=$1
    shift
    /usr/bin/time -f '%e %U %S' -o "$out" "$@"
}
wall() { cut -d ' ' -f 1 "$1"; }
cpu() { awk '{ print $2 + $3 }' "$1"; }

timed "$work/fpcalc.time" bash -c 'for file in "$1"/files/*.mp3; do fpcalc -json "$file" >/dev/null; done' _ "$work"
export XDG_CACHE_HOME="$work/cache"
timed "$work/first.time" "$cli" empreinte "$work"/files/*.mp3 >"$work/first.json"
timed "$work/second.time" "$cli" empreinte "$work"/files/*.mp3 >"$work/second.json"
cmp -s "$work/first.json" "$work/second.json" || { echo "le cache rend d'autres empreintes" >&2; exit 1; }

printf 'fichiers : %d de 3 min, %d cœurs, charge %s\n' "$count" "$(nproc)" "$(cut -d ' ' -f 1 /proc/loadavg)"
printf 'fpcalc, un fichier à la fois : %6.2f s (processeur %.2f s)\n' "$(wall "$work/fpcalc.time")" "$(cpu "$work/fpcalc.time")"
printf 'tarvex-cli empreinte         : %6.2f s (processeur %.2f s), %.2f× fpcalc\n' \
    "$(wall "$work/first.time")" "$(cpu "$work/first.time")" \
    "$(echo "$(wall "$work/fpcalc.time") / $(wall "$work/first.time")" | bc -l)"
printf 'tarvex-cli empreinte, cache  : %6.2f s\n' "$(wall "$work/second.time")"
