#!/usr/bin/env bash
# Times a one-field edit (the title) in COPIES copies of a 5 MB MP3, beside the taggers people
# use, each given all files in one call, in the same run:
#   - padded: the copies were tagged by mid3v2, which leaves padding in the tag, so the new tag
#     fits in place (tarvex-cli, mid3v2, eyeD3, id3v2, kid3-cli);
#   - tight: the copies carry a tag with 11 bytes of padding and the new title is longer, so
#     Tarvex must rewrite each file (tarvex-cli, and cp of the same files as the floor).
# Each tool is timed alone and followed by `sync` (tarvex-cli syncs its data itself). The bytes
# a save writes are counted on another set of fresh copies, as the sum of what the tool's
# write, pwrite, writev, sendfile and copy_file_range calls report (strace), standard output
# and error excluded. Last, the peak memory of a save into a 1 GB file and of reading and
# saving a tag of 100,000 tiny frames and of a tag holding a 100 MB picture.
# Usage: bench/tags/bench_tags.sh [TARVEX_CLI] [COPIES]
set -euo pipefail
cli=$(realpath "${1:-build/cli/tarvex-cli}")
copies=${2:-200}
work=$(mktemp -d "${TMPDIR:-/var/tmp}/tarvex-bench-tags.XXXXXX")
trap 'rm -rf "$work"' EXIT

# 5 MB of MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz).
/usr/bin/python3 - "$work/audio.mp3" 5000000 <<'PY'
import os, sys
path, size = sys.argv[1], int(sys.argv[2])
frame = b'\xff\xfb\x90\x00' + os.urandom(413).replace(b'\xff', b'\x7f')
with open(path, 'wb') as f:
    f.write(frame * (size // len(frame)))
PY
cp "$work/audio.mp3" "$work/padded.mp3"
mid3v2 -t Avant -a Artiste -A Album "$work/padded.mp3" >/dev/null
cp "$work/audio.mp3" "$work/tight.mp3"
"$cli" set --titre=Avant --artiste=Artiste "$work/tight.mp3" >/dev/null

fresh() { # source folder: COPIES fresh copies of the source, on disk
    rm -rf "$work/$2"
    mkdir "$work/$2"
    for i in $(seq "$copies"); do cp "$work/$1.mp3" "$work/$2/f$i.mp3"; done
    sync
}

measure() { # source, label, command...: wall seconds alone, with sync, bytes written per file
    local source=$1 label=$2 start end synced bytes
    shift 2
    fresh "$source" d
    start=$(date +%s.%N)
    "$@" "$work"/d/*.mp3 >/dev/null 2>&1
    end=$(date +%s.%N)
    sync
    synced=$(date +%s.%N)
    fresh "$source" d
    strace -f -qq -e trace=write,pwrite64,writev,sendfile,copy_file_range -o "$work/trace" \
        "$@" "$work"/d/*.mp3 >/dev/null 2>&1
    bytes=$(awk '!/\((1|2),/ && $NF ~ /^[0-9]+$/ { sum += $NF } END { print sum + 0 }' "$work/trace")
    printf '  %-16s %6.3f s  %6.3f s avec sync  %9d octets écrits par fichier\n' "$label" \
        "$(echo "$end - $start" | bc -l)" "$(echo "$synced - $start" | bc -l)" \
        "$((bytes / copies))"
}

echo "Titre changé dans $copies copies d'un MP3 de 5 Mo (un appel par outil)"
echo " Tag avec marge (écrit par mid3v2) :"
measure padded tarvex-cli "$cli" set --titre=Titre
[ "$("$cli" tags "$work/d/f1.mp3" | grep -c '"Titre": "Titre"')" = 1 ] ||
    { echo "tarvex-cli n'a pas écrit le titre"; exit 1; }
measure padded mid3v2 mid3v2 -t Titre
measure padded eyeD3 eyeD3 -Q -t Titre
measure padded id3v2 id3v2 -t Titre
if command -v kid3-cli >/dev/null; then
    measure padded kid3-cli kid3-cli -c "set title Titre"
else
    echo "  kid3-cli absent : non mesuré"
fi
echo " Tag sans marge, titre plus long (réécriture) :"
measure tight tarvex-cli "$cli" set --titre="Un titre bien plus long"
mkdir "$work/e"
measure tight "cp (plancher)" cp -t "$work/e" -f
rm -rf "$work/d" "$work/e"

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
echo "Mémoire maximale, sauvegarde dans un fichier de 1 Go : $((peak / 1024)) Mo"
rm -f "$work/big.mp3"

# A tag of 16 MB made of 11-byte TXXX frames: read up to 100,000 frames, save refused.
/usr/bin/python3 - "$work/frames.mp3" <<'PY'
import sys
frame = b'TXXX\x00\x00\x00\x01\x00\x00\x00'
body = frame * (0x0FFFFFF // len(frame))
size = len(body)
header = b'ID3\x03\x00\x00' + bytes([(size >> 21) & 0x7f, (size >> 14) & 0x7f, (size >> 7) & 0x7f, size & 0x7f])
with open(sys.argv[1], 'wb') as f:
    f.write(header + body + (b'\xff\xfb\x90\x00' + bytes(413)) * 10)
PY
for command in tags set; do
    extra=(); [ "$command" = set ] && extra=(--titre=x)
    peak=$( { /usr/bin/time -f '%M' "$cli" "$command" "${extra[@]}" "$work/frames.mp3" >/dev/null || true; } 2>&1 | tail -n 1)
    echo "Mémoire maximale, tag de 16 Mo en trames de 11 octets ($command) : $((peak / 1024)) Mo"
done

# A tag holding a 100 MB picture: the save writes in place, the read does not decode it.
/usr/bin/python3 - "$work/picture.mp3" <<'PY'
import sys
body = b'\x00image/jpeg\x00\x03\x00\xff\xd8\xff' + bytes(100 * 1024 * 1024)
frames = b'APIC' + len(body).to_bytes(4, 'big') + b'\x00\x00' + body + bytes(100)
n = len(frames)
header = b'ID3\x03\x00\x00' + bytes([(n >> 21) & 0x7f, (n >> 14) & 0x7f, (n >> 7) & 0x7f, n & 0x7f])
with open(sys.argv[1], 'wb') as f:
    f.write(header + frames + (b'\xff\xfb\x90\x00' + bytes(413)) * 10)
PY
for command in tags set; do
    extra=(); [ "$command" = set ] && extra=(--titre=x)
    peak=$( { /usr/bin/time -f '%M' "$cli" "$command" "${extra[@]}" "$work/picture.mp3" >/dev/null; } 2>&1 | tail -n 1)
    echo "Mémoire maximale, tag avec une image de 100 Mo ($command) : $((peak / 1024)) Mo"
done
