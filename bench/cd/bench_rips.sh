#!/usr/bin/env bash
# Times Tarvex's secure extraction and its conversion on all cores beside the peer tools, on the
# same files, in one run. Usage: bench/cd/bench_rips.sh [BUILD_DIR] [WORK_DIR]
# Needs hyperfine, lame, cd-paranoia. Writes about 1.8 GB into WORK_DIR.
set -euo pipefail
build=$(realpath "${1:-build}")
work=${2:-$(mktemp -d)}
mkdir -p "$work"
cli="$build/cli/tarvex-cli"
media="$build/bench/cd/bench_cd_media"
cd "$work"
# No AccurateRip lookup leaves the machine during the measure.
db=--accuraterip=http://127.0.0.1:9/

echo "== Fichiers de mesure dans $work ($(nproc) cœurs)"
# 74 minutes in 15 tracks of 22200 sectors (4 min 56 s).
[ -f disc74.cue ] || "$media" image "$work" disc74 $(for i in $(seq 15); do echo 22200; done)
for i in $(seq -w 1 20); do [ -f "w$i.wav" ] || "$media" wav "w$i.wav" 60; done

echo "== Extraction sécurisée d'un disque de 74 min en WAV"
hyperfine -w 1 -r 3 \
    -p "rm -rf tarvex74 && mkdir tarvex74" \
    -n tarvex-securise "$cli rip --cd-image=disc74.cue $db --toutes --wav tarvex74" \
    -p "rm -rf paranoia74 && mkdir paranoia74" \
    -n cd-paranoia "bash -c 'cd paranoia74 && cd-paranoia -q -d ../disc74.cue -B 1-'"

echo "== Extraction MP3 de 4 pistes (20 min)"
hyperfine -w 1 -r 3 \
    -p "rm -rf tarvexmp3 && mkdir tarvexmp3" \
    -n tarvex-mp3 "$cli rip --cd-image=disc74.cue $db --piste=1-4 --mp3 tarvexmp3" \
    -n "cd-paranoia | lame, 2 en parallèle" \
    "seq 1 4 | xargs -P2 -I{} sh -c 'cd-paranoia -q -d disc74.cue {} - | lame --quiet -b 128 --cbr -m s -t --nores - pipe{}.mp3'"

echo "== Conversion de 20 WAV d'une minute"
hyperfine -w 1 -r 3 \
    -n tarvex "$cli convert --ecraser w*.wav" \
    -n "lame, un à la fois" "for f in w*.wav; do lame --quiet -b 128 --cbr -m s -t --nores \$f \${f%.wav}.l.mp3; done" \
    -n "lame, deux en parallèle" "ls w*.wav | xargs -P2 -I{} lame --quiet -b 128 --cbr -m s -t --nores {} {}.p.mp3"
