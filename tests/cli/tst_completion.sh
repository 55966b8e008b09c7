#!/usr/bin/env bash
# The bash completion of tarvex-cli offers every sub-command and option its help shows, the values
# the help lists for an option, and only the files of the type each place takes.
# Usage: tst_completion.sh TARVEX_CLI COMPLETION_SCRIPT
set -u
export LC_ALL=C
cli=$(realpath "$1")
source "$2"
failures=0

# The replies to the words given, the last one being under the cursor, sorted, one a line.
replies() {
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$#
    _tarvex_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

check() { # case, expected lines, replies
    if [[ $2 != "$3" ]]; then
        printf 'ÉCHEC %s\n  attendu : %s\n  obtenu  : %s\n' "$1" "${2//$'\n'/ }" "${3//$'\n'/ }"
        failures=$((failures + 1))
    fi
}

commands=$("$cli" --help | sed -n '/^Commandes/,$s/^  \([a-z]*\).*/\1/p' | sort)
[[ -n $commands ]] || check "commandes de l'aide" "au moins une" ""
check "sous-commandes" "$commands" "$(replies "" | grep -v -e '^help$' -e '^--')"
for command in $commands; do
    # Option names, "=" left out: a description may name an option without its value.
    options=$("$cli" help "$command" | grep -o -- '--[a-z0-9-]*' | sort -u)
    offered=$(replies "$command" -- | grep -v -x -e --help -e -- | sed 's/=$//' | sort -u)
    check "options de $command" "$options" "$offered"
done
check "option à valeur" "--decalage=" "$(replies rip --deca)"
tags=$("$cli" help rip | grep -o -- '--tags=[a-z0-9|-]*' | cut -d = -f 2 | tr '|' '\n' | sort)
check "valeurs de --tags" "$tags" "$(replies rip --tags = "")"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" && mkdir sous-dossier && touch a.mp3 B.MP3 c.wav d.cue e.jpg f.txt g.png
check "MP3 de info" $'B.MP3\na.mp3\nsous-dossier' "$(replies info "")"
check "WAV de convert" $'c.wav\nsous-dossier' "$(replies convert --ecraser "")"
check "image de disque" $'d.cue\nsous-dossier' "$(replies rip --cd-image = "")"
check "image JPEG ou PNG" $'e.jpg\ng.png\nsous-dossier' "$(replies set --image = "")"
check "sortie de rip" "$(ls -1)" "$(replies rip --piste=1 --wav "")"
check "fichiers après --" $'B.MP3\na.mp3\nsous-dossier' "$(replies clear -- "")"
exit $((failures > 0))
