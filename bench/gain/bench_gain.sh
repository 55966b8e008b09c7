#!/usr/bin/env bash
# Times ReplayGain 2.0 measured on FILES MP3 files of SECONDS each (stereo, 44.1 kHz, lame -V 2,
# pink noise under a tone), album included, by `tarvex-cli gain --album` (every file decoded
# and measured on its own core) and by `loudgain -a -s s` (nothing written), on the same files
# in the same run. Each tool runs ROUNDS times, alternately, and its best time is kept. The
# gains both give are then compared file by file.
# Usage: bench/gain/bench_gain.sh [TARVEX_CLI] [FILES] [SECONDS] [ROUNDS]
set -euo pipefail
cli=$(realpath "${1:-build/cli/tarvex-cli}")
files=${2:-100}
seconds=${3:-180}
rounds=${4:-2}
work=$(mktemp -d "${TMPDIR:-/var/tmp}/tarvex-bench-gain.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Ten different sources, each encoded once and copied: encoding is not what is measured.
mkdir "$work/album"
for s in $(seq 10); do
    ffmpeg -loglevel error -f lavfi -i "anoisesrc=c=pink:d=$seconds:a=0.$((s + 1)):s=$s" \
        -f lavfi -i "sine=f=$((110 * s)):d=$seconds" \
        -filter_complex "[0][1]amix=inputs=2,aformat=channel_layouts=stereo" -ar 44100 \
        -c:a pcm_s16le "$work/source$s.wav"
    lame --quiet -V 2 "$work/source$s.wav" "$work/source$s.mp3"
    rm "$work/source$s.wav"
done
for i in $(seq "$files"); do
    cp "$work/source$(((i - 1) % 10 + 1)).mp3" "$work/album/$(printf '%03d' "$i").mp3"
done

seconds_of() { # command...: the wall-clock seconds it takes
    local start end
    start=$(date +%s.%N)
    "$@" >"$work/out" 2>/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
best_tarvex="" best_loudgain=""
for round in $(seq "$rounds"); do
    t=$(seconds_of "$cli" gain --album "$work"/album/*.mp3)
    cp "$work/out" "$work/tarvex.json"
    l=$(seconds_of loudgain -a -s s -q -O "$work"/album/*.mp3)
    cp "$work/out" "$work/loudgain.tsv"
    if [ -z "$best_tarvex" ] || (($(echo "$t < $best_tarvex" | bc -l))); then best_tarvex=$t; fi
    if [ -z "$best_loudgain" ] || (($(echo "$l < $best_loudgain" | bc -l))); then best_loudgain=$l; fi
done

# The largest difference between the track and album gains of the two tools.
diff=$(/usr/bin/python3 - "$work/tarvex.json" "$work/loudgain.tsv" <<'PY'
import json, os, sys
ours = {os.path.basename(e["fichier"]): e for e in json.load(open(sys.argv[1]))}
worst = 0.0
for line in open(sys.argv[2]).read().splitlines()[1:]:
    f = line.split("\t")
    gain = float(f[8].split()[0])
    if f[0] == "Album":
        mine = next(iter(ours.values()))["album"]["gain"]
    else:
        mine = ours[os.path.basename(f[0])]["gain"]
    worst = max(worst, abs(mine - gain))
print(f"{worst:.2f}")
PY
)
printf 'ReplayGain de %d fichiers de %d s (album compris), %d cœurs : tarvex-cli gain %.2f s, loudgain %.2f s (%.2f× plus rapide) ; écart de gain maximal %s dB\n' \
    "$files" "$seconds" "$(nproc)" "$best_tarvex" "$best_loudgain" \
    "$(echo "$best_loudgain / $best_tarvex" | bc -l)" "$diff"
