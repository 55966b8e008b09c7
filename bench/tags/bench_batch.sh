#!/usr/bin/env bash
# Times one field (the title) written to COPIES checked 5 MB MP3 files by `tarvex-cli set` in one
# call: the figure the window's batch save is compared with, on files made the same way. The
# copies carry a tag whose new title fits in place. The time includes the command's own sync of
# its data; every file is then checked to hold the new title.
# Usage: bench/tags/bench_batch.sh [TARVEX_CLI] [COPIES]
set -euo pipefail
cli=$(realpath "${1:-build/cli/tarvex-cli}")
copies=${2:-1000}
work=$(mktemp -d "${TMPDIR:-/var/tmp}/tarvex-bench-batch.XXXXXX")
trap 'rm -rf "$work"' EXIT

# 5 MB of MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz), tagged once.
/usr/bin/python3 - "$work/model.mp3" 5000000 <<'PY'
import os, sys
path, size = sys.argv[1], int(sys.argv[2])
frame = b'\xff\xfb\x90\x00' + os.urandom(413).replace(b'\xff', b'\x7f')
with open(path, 'wb') as f:
    f.write(frame * (size // len(frame)))
PY
"$cli" set --titre=Avant --artiste=Artiste --album=Album "$work/model.mp3" >/dev/null
mkdir "$work/d"
for i in $(seq "$copies"); do cp "$work/model.mp3" "$work/d/f$i.mp3"; done
sync

start=$(date +%s.%N)
"$cli" set --titre=Après "$work"/d/*.mp3 >"$work/out.json"
end=$(date +%s.%N)
written=$("$cli" tags "$work"/d/*.mp3 | grep -c '"Titre": "Après"' || true)
[ "$written" = "$copies" ] ||
    { echo "tarvex-cli set n'a pas écrit le titre dans les $copies fichiers ($written)"; exit 1; }
printf 'Titre écrit dans %d fichiers de 5 Mo par tarvex-cli set : %.3f s (%.2f ms par fichier)\n' \
    "$copies" "$(echo "$end - $start" | bc -l)" "$(echo "($end - $start) * 1000 / $copies" | bc -l)"
