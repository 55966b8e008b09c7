#!/usr/bin/env bash
# Times one field (the title) written to COPIES 5 MB MP3 files, side by side on copies made the
# same way: by `tarvex-cli set` in one call, and by the window (all rows selected, the title
# typed, "Enregistrer"; bench_batchsave). The copies carry a tag whose new title fits in place.
# Both times include the sync of the data; every file is then checked to hold the new title.
# Usage: bench/tags/bench_batch.sh [TARVEX_CLI] [COPIES] [BENCH_BATCHSAVE]
set -euo pipefail
cli=$(realpath "${1:-build/cli/tarvex-cli}")
copies=${2:-1000}
window=$(realpath "${3:-$(dirname "$cli")/../bench/app/bench_batchsave}")
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
mkdir "$work/d" "$work/w"
for i in $(seq "$copies"); do cp "$work/model.mp3" "$work/d/f$i.mp3"; cp "$work/model.mp3" "$work/w/f$i.mp3"; done
sync

start=$(date +%s.%N)
"$cli" set --titre=Après "$work"/d/*.mp3 >"$work/out.json"
end=$(date +%s.%N)
cli_s=$(echo "$end - $start" | bc -l)
window_s=$("$window" "$work/w" Après)
for d in d w; do
    written=$("$cli" tags "$work"/$d/*.mp3 | grep -c '"Titre": "Après"' || true)
    [ "$written" = "$copies" ] ||
        { echo "le titre n'est pas dans les $copies fichiers de $d ($written)"; exit 1; }
done
printf 'Titre écrit dans %d fichiers de 5 Mo : tarvex-cli set %.3f s, fenêtre %.3f s (%.2f× le temps de la ligne de commande)\n' \
    "$copies" "$cli_s" "$window_s" "$(echo "$window_s / $cli_s" | bc -l)"
