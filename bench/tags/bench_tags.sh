#!/usr/bin/env bash
# Saving tags rewrites the file (the new tag is followed by 11 bytes of padding), so the floor
# of a save is the time to copy the file. This script writes the same ID3v1 and ID3v2 fields
# into COPIES copies of a 5 MB MP3 with `tarvex-cli set` and times, in the same run, `cp` of
# the same files (alone, then followed by `sync` so that its data too is on disk) and, on
# fresh copies, mid3v2, eyeD3 and id3v2 making the same edit, each given all files at once.
# It then measures the peak memory of one save into a 1 GB file.
# Usage: bench/tags/bench_tags.sh [TARVEX_CLI] [COPIES]
set -euo pipefail
cli=$(realpath "${1:-build/cli/tarvex-cli}")
copies=${2:-200}
work=$(mktemp -d "${TMPDIR:-/var/tmp}/tarvex-bench-tags.XXXXXX")
trap 'rm -rf "$work"' EXIT

# 5 MB of MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz), with an ID3v2.3 tag in front.
/usr/bin/python3 - "$work/source.mp3" 5000000 <<'PY'
import os, sys
path, size = sys.argv[1], int(sys.argv[2])
frame = b'\xff\xfb\x90\x00' + os.urandom(413).replace(b'\xff', b'\x7f')
tag_body = b'TIT2\x00\x00\x00\x06\x00\x00\x00Avant' + bytes(100)
tag = b'ID3\x03\x00\x00' + bytes([0, 0, (len(tag_body) >> 7) & 0x7f, len(tag_body) & 0x7f]) + tag_body
with open(path, 'wb') as f:
    f.write(tag + frame * (size // len(frame)))
PY

fresh() { # folder: COPIES fresh copies of the source, on disk
    rm -rf "$work/$1"
    mkdir "$work/$1"
    for i in $(seq "$copies"); do cp "$work/source.mp3" "$work/$1/f$i.mp3"; done
    sync
}

seconds() { # command...: wall-clock seconds of the command
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

declare -A took
fresh cp-src
took[cp]=$(seconds bash -c "mkdir '$work/cp-dst' && cp '$work'/cp-src/*.mp3 '$work/cp-dst/'")
rm -rf "$work/cp-dst"
took[cp+sync]=$(seconds bash -c "mkdir '$work/cp-dst' && cp '$work'/cp-src/*.mp3 '$work/cp-dst/' && sync")
rm -rf "$work/cp-src" "$work/cp-dst"

fresh tarvex
took[tarvex-cli]=$(seconds "$cli" set --v1 --v2 --titre=Titre --artiste=Artiste --album=Album --annee=2024 --piste=3 "$work"/tarvex/*.mp3)
check=$("$cli" tags "$work/tarvex/f1.mp3" | grep -c '"Titre": "Titre"')
[ "$check" = 2 ] || { echo "tarvex-cli n'a pas écrit les deux tags"; exit 1; }
rm -rf "$work/tarvex"

if command -v mid3v2 >/dev/null; then
    fresh mid3v2
    took[mid3v2]=$(seconds mid3v2 -t Titre -a Artiste -A Album -y 2024 -T 3 "$work"/mid3v2/*.mp3)
    rm -rf "$work/mid3v2"
fi
if command -v eyeD3 >/dev/null; then
    fresh eyed3
    took[eyeD3]=$(seconds eyeD3 -Q --to-v2.3 -t Titre -a Artiste -A Album -Y 2024 -n 3 "$work"/eyed3/*.mp3)
    rm -rf "$work/eyed3"
fi
if command -v id3v2 >/dev/null; then
    fresh id3v2
    took[id3v2]=$(seconds id3v2 -t Titre -a Artiste -A Album -y 2024 -T 3 "$work"/id3v2/*.mp3)
    rm -rf "$work/id3v2"
fi

echo "Sauvegarde des tags v1 et v2 dans $copies copies d'un MP3 de 5 Mo (un seul appel par outil)"
for tool in cp cp+sync tarvex-cli mid3v2 eyeD3 id3v2; do
    [ -n "${took[$tool]:-}" ] || continue
    printf '  %-11s %7.2f s  (%.2f x cp, %.2f x cp+sync)\n' "$tool" "${took[$tool]}" \
        "$(echo "${took[$tool]} / ${took[cp]}" | bc -l)" "$(echo "${took[$tool]} / ${took[cp+sync]}" | bc -l)"
done

# Peak memory of one save into a 1 GB file: the audio is copied by the kernel, not held.
/usr/bin/python3 - "$work/big.mp3" <<'PY'
import sys
frame = b'\xff\xfb\x90\x00' + bytes(413)
with open(sys.argv[1], 'wb') as f:
    block = frame * 2500
    for _ in range(1024 * 1024 * 1024 // len(block)):
        f.write(block)
PY
peak=$( { /usr/bin/time -f '%M' "$cli" set --v2 --titre=Grand "$work/big.mp3" >/dev/null; } 2>&1 | tail -n 1)
echo "Mémoire maximale pour un fichier de 1 Go : $((peak / 1024)) Mo"
