#!/usr/bin/env bash
# Times Tarvex's CD extraction and WAV conversion beside the peer tools, on the same files, in
# one run. Usage: bench/cd/bench_cd.sh [BUILD_DIR] [WORK_DIR]
# Needs hyperfine, lame, cd-paranoia and /usr/bin/time. Writes about 2.5 GB into WORK_DIR.
set -euo pipefail
build=$(realpath "${1:-build}")
work=${2:-$(mktemp -d)}
mkdir -p "$work"
cli="$build/cli/tarvex-cli"
media="$build/bench/cd/bench_cd_media"
cd "$work"

echo "== Fichiers de mesure dans $work"
# A 5-minute track (22500 sectors, plus a short last batch) between two short ones.
[ -f disc.cue ] || "$media" image "$work" disc 750 22513 750
# A 70-minute track for memory.
[ -f long.cue ] || "$media" image "$work" long 315000
[ -f tone60.wav ] || "$media" wav tone60.wav 60
# 1 GB of WAV: 6100 s.
[ -f big.wav ] || "$media" wav big.wav 6100

echo "== WAV -> MP3, 60 s stéréo"
hyperfine -N -w 1 -r 5 \
    -n tarvex "$cli convert tone60.wav" \
    -n lame "lame --quiet -b 128 --cbr -m s -t --nores tone60.wav lame60.mp3"

echo "== Extraction d'une piste de 300 s en WAV"
hyperfine -N -w 1 -r 5 \
    -n tarvex "$cli rip --cd-image=disc.cue --piste=2 --wav piste2.wav" \
    -n cd-paranoia "cd-paranoia -q -Z -d disc.cue -w 2 paranoia2.wav"

echo "== Extraction en MP3 contre lecture + lame"
hyperfine -N -w 1 -r 3 \
    -n tarvex-mp3 "$cli rip --cd-image=disc.cue --piste=2 --mp3 piste2.mp3" \
    -n lecture "$cli rip --cd-image=disc.cue --piste=2 --wav piste2.wav" \
    -n lame "lame --quiet -b 128 --cbr -m s -t --nores piste2.wav lame2.mp3"

echo "== Mémoire de pointe (Maximum resident set size, ko)"
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {print $2}'; }
echo "piste de 70 min en WAV : $(peak "$cli" rip --cd-image=long.cue --piste=1 --wav long.wav)"
echo "piste de 70 min en MP3 : $(peak "$cli" rip --cd-image=long.cue --piste=1 --mp3 long.mp3)"
echo "WAV de 1 Go en MP3     : $(peak "$cli" convert big.wav)"
