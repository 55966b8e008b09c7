#!/usr/bin/env bash
# Times Tarvex's secure extraction and its conversion on all cores beside the peer tools, on the
# same files, in one run. Usage: bench/cd/bench_rips.sh [BUILD_DIR] [WORK_DIR] [ROUNDS] [PARTS]
# PARTS, comma-separated, chooses among securise, mp3, flac, flac-mp3, replaygain and conversion
# (all by default). Needs lame, flac, cd-paranoia, bc and /usr/bin/time. Writes about 3 GB into
# WORK_DIR.
# The commands of one comparison take turns, round after round, so that the load of a shared
# machine falls on all of them alike; each one's median time is printed with its ratio to the
# first, and the median processor time (user + system), which the load hardly changes.
set -euo pipefail
build=$(realpath "${1:-build}")
work=${2:-$(mktemp -d)}
rounds=${3:-3}
parts=${4:-securise,mp3,flac,flac-mp3,replaygain,conversion}
wanted() { [[ ,$parts, == *,$1,* ]]; }
mkdir -p "$work"
cli="$build/cli/tarvex-cli"
media="$build/bench/cd/bench_cd_media"
cd "$work"
# No AccurateRip lookup leaves the machine during the measure.
db=--accuraterip=http://127.0.0.1:9/

# compare NAME1 PREPARE1 COMMAND1 NAME2 PREPARE2 COMMAND2 ...: PREPARE runs untimed before each
# run of COMMAND.
compare() {
    local -a names=() prepares=() commands=()
    while (($#)); do
        names+=("$1") prepares+=("$2") commands+=("$3")
        shift 3
    done
    local -A times=() cpu=()
    for ((r = 0; r <= rounds; ++r)); do # round 0 warms the caches and is not counted
        for i in "${!names[@]}"; do
            bash -c "${prepares[$i]}"
            /usr/bin/time -f "%e %U %S" -o "$work/.temps" bash -c "${commands[$i]}" >/dev/null 2>&1
            ((r == 0)) && continue
            read -r wall user system <"$work/.temps"
            times[$i]+="$wall "
            cpu[$i]+="$(echo "$user + $system" | bc) "
        done
    done
    median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
    local first=""
    for i in "${!names[@]}"; do
        local wall
        wall=$(median "${times[$i]}")
        first=${first:-$wall}
        printf '  %-36s médiane %6.2f s (%s), processeur %6.2f s, rapport au premier %.2f\n' \
            "${names[$i]}" "$wall" "${times[$i]% }" "$(median "${cpu[$i]}")" \
            "$(echo "$wall / $first" | bc -l)"
    done
}

echo "== Fichiers de mesure dans $work ($(nproc) cœurs, $rounds tours)"
# 74 minutes in 15 tracks of 22200 sectors (4 min 56 s).
[ -f disc74.cue ] || "$media" image "$work" disc74 $(for i in $(seq 15); do echo 22200; done)
if wanted conversion; then
    for i in $(seq -w 1 20); do [ -f "w$i.wav" ] || "$media" wav "w$i.wav" 60; done
fi

# Tarvex names each file only once its data is on the disk; cd-paranoia leaves that to the
# kernel, after it has finished: the third line waits for its files as Tarvex does.
if wanted securise; then
    echo "== Extraction sécurisée d'un disque de 74 min en WAV"
    compare \
        tarvex-securise "rm -rf tarvex74 && mkdir tarvex74" \
        "$cli rip --cd-image=disc74.cue $db --toutes --wav tarvex74" \
        cd-paranoia "rm -rf paranoia74 && mkdir paranoia74" \
        "cd paranoia74 && cd-paranoia -q -d ../disc74.cue -B 1-" \
        "cd-paranoia, fichiers mis sur disque" "rm -rf paranoia74 && mkdir paranoia74" \
        "cd paranoia74 && cd-paranoia -q -d ../disc74.cue -B 1- && sync *.wav"
fi

if wanted mp3; then
    echo "== Extraction MP3 de 4 pistes (20 min)"
    compare \
        tarvex-mp3 "rm -rf tarvexmp3 && mkdir tarvexmp3" \
        "$cli rip --cd-image=disc74.cue $db --piste=1-4 --mp3 tarvexmp3" \
        "cd-paranoia | lame, 2 en parallèle" "" \
        "seq 1 4 | xargs -P2 -I{} sh -c 'cd-paranoia -q -d disc74.cue {} - | lame --quiet -b 128 --cbr -m s -t --nores - pipe{}.mp3'"
fi

# Tarvex encodes while it reads; the peer reads the whole disc, then compresses the files, one
# flac per core.
if wanted flac; then
    echo "== Extraction FLAC d'un disque de 74 min"
    compare \
        tarvex-flac "rm -rf tarvexflac && mkdir tarvexflac" \
        "$cli rip --cd-image=disc74.cue $db --toutes --flac tarvexflac" \
        "cd-paranoia puis flac" "rm -rf paranoiaflac && mkdir paranoiaflac" \
        "cd paranoiaflac && cd-paranoia -q -d ../disc74.cue -B 1- && ls *.wav | xargs -P2 -n1 flac -s -5 -V --delete-input-file"
fi

# One reading for both formats beside the two rips one after the other.
if wanted flac-mp3; then
    echo "== Extraction FLAC et MP3 de 4 pistes (20 min)"
    compare \
        "tarvex --flac --mp3" "rm -rf tarvexdeux && mkdir tarvexdeux" \
        "$cli rip --cd-image=disc74.cue $db --piste=1-4 --flac --mp3 --dossier-flac=FLAC --dossier-mp3=MP3 tarvexdeux" \
        "tarvex --flac puis --mp3" "rm -rf tarvexun && mkdir -p tarvexun/FLAC tarvexun/MP3" \
        "$cli rip --cd-image=disc74.cue $db --piste=1-4 --flac tarvexun/FLAC && $cli rip --cd-image=disc74.cue $db --piste=1-4 --mp3 tarvexun/MP3"
fi

# The same rip with and without measuring the ReplayGain of the tracks and of the disc, which
# the reads feed while the encoders work; the goal is less than 3 % more time.
if wanted replaygain; then
    echo "== Extraction MP3 de 4 pistes, sans puis avec le ReplayGain"
    compare \
        "tarvex-mp3 --sans-replaygain" "rm -rf sansrg && mkdir sansrg" \
        "$cli rip --cd-image=disc74.cue $db --piste=1-4 --mp3 --tags=v2 --sans-replaygain sansrg" \
        "tarvex-mp3, ReplayGain mesuré" "rm -rf avecrg && mkdir avecrg" \
        "$cli rip --cd-image=disc74.cue $db --piste=1-4 --mp3 --tags=v2 avecrg"
fi

lame="lame --quiet -b 128 --cbr -m s -t --nores"
if wanted conversion; then
    echo "== Conversion de 20 WAV d'une minute"
    compare \
        tarvex "" "$cli convert --ecraser w*.wav" \
        "lame, un à la fois" "" "for f in w*.wav; do $lame \$f \${f%.wav}.l.mp3; done" \
        "lame, deux en parallèle" "" "ls w*.wav | xargs -P2 -I{} $lame {} {}.p.mp3"
fi
