#!/usr/bin/env bash
# What one call of tarvex-cli costs, beside id3v2, in the same run:
#   - the shared objects the dynamic loader maps (ldd) and the time to print `--help`
#     (hyperfine), the cost of every call a script makes once per file;
#   - the peak memory (/usr/bin/time %M) and the time of `tags` and `info` given FILES small
#     tagged MP3 files in one call, whose answer is printed file by file.
# A second tarvex-cli (an older build, say) is measured beside the first when given.
# Usage: bench/cli/bench_cli.sh [TARVEX_CLI] [FILES] [OTHER_TARVEX_CLI]
set -euo pipefail
cli=$(realpath "${1:-build/cli/tarvex-cli}")
files=${2:-10000}
other=${3:+$(realpath "$3")}
work=$(mktemp -d "${TMPDIR:-/var/tmp}/tarvex-bench-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT

clis=("$cli")
[ -n "$other" ] && clis+=("$other")

echo "Objets partagés chargés (ldd) :"
for program in "${clis[@]}" "$(command -v id3v2)"; do
    printf '  %-50s %3d\n' "$program" "$(ldd "$program" | wc -l)"
done

echo "Démarrage (--help) :"
commands=()
for program in "${clis[@]}"; do commands+=("$program --help"); done
hyperfine -N --warmup 5 --style basic "${commands[@]}" 'id3v2 --help' 2>&1 |
    grep -E '^(Benchmark|  Time)'

# FILES copies of a small MP3 (40 frames) with both tags.
/usr/bin/python3 - "$work/one.mp3" <<'PY'
import sys
frame = b'\xff\xfb\x90\x00' + bytes(413)
with open(sys.argv[1], 'wb') as f:
    f.write(frame * 40)
PY
"$cli" set --titre=Titre --artiste=Artiste --album=Album --annee=2001 --piste=3 \
    "$work/one.mp3" >/dev/null
mkdir "$work/d"
/usr/bin/python3 - "$work/one.mp3" "$work/d" "$files" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
for i in range(int(sys.argv[3])):
    with open(f'{sys.argv[2]}/f{i:05d}.mp3', 'wb') as f:
        f.write(data)
PY

echo "$files petits fichiers en un appel (mémoire maximale, durée) :"
for program in "${clis[@]}"; do
    for command in tags info; do
        report=$( { /usr/bin/time -f '%M %e' "$program" "$command" "$work"/d/*.mp3 >/dev/null; } 2>&1 |
            tail -n 1)
        printf '  %-50s %-4s %6d Mo  %5.2f s\n' "$program" "$command" \
            "$(( ${report% *} / 1024 ))" "${report#* }"
    done
done
