#!/usr/bin/env bash
# Builds the Debian package from a built folder and checks it: the files it holds, its control
# fields, its manuals, its copyright file and zsh completion, and that it installs and removes cleanly in a scratch root.
# Usage: scripts/check-package.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
build=$(realpath "${1:-build}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "ÉCHEC : $*"
    failures=$((failures + 1))
}

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || {
    cat "$scratch/cpack.log"
    exit 1
}
deb=$(ls "$scratch"/out/tarvex_*.deb)
echo "Paquet : $(basename "$deb")"
dpkg-deb -I "$deb"

fields=$(dpkg-deb -f "$deb" Package Architecture Maintainer Depends)
for wanted in "Package: tarvex" "Architecture: $(dpkg --print-architecture)" libqt6widgets6 \
    libqt6multimedia6 libcdio19 libmp3lame0 libflac12 libqt6svg6; do
    [[ $fields == *"$wanted"* ]] || fail "champ de contrôle sans « $wanted »"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
for path in /usr/bin/tarvex /usr/bin/tarvex-cli /usr/share/tarvex/Tarvexfr.html \
    /usr/share/applications/tarvex.desktop /usr/share/icons/hicolor/scalable/apps/tarvex.svg \
    /usr/share/metainfo/org.example.tarvex.metainfo.xml \
    /usr/share/bash-completion/completions/tarvex-cli /usr/share/zsh/vendor-completions/_tarvex-cli \
    /usr/share/doc/tarvex/copyright \
    /usr/share/man/man1/tarvex.1.gz /usr/share/man/man1/tarvex-cli.1.gz \
    /usr/share/man/fr/man1/tarvex.1.gz /usr/share/man/fr/man1/tarvex-cli.1.gz; do
    grep -q -x -F "$path" <<<"$contents" || fail "$path manque au paquet"
done
unexpected=$(grep -v -E '/$|^/usr/(bin|share/(tarvex|applications|icons|metainfo|bash-completion|zsh/vendor-completions|man|doc/tarvex))/' \
    <<<"$contents" || true)
[[ -z $unexpected ]] || fail "fichiers inattendus : $unexpected"

# The manuals must format without a warning.
dpkg-deb -x "$deb" "$scratch/files"
for page in "$scratch"/files/usr/share/man/{,fr/}man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$page : $warnings"
done

# The copyright file is machine-readable: its format line first, a licence text for every
# licence it names, and a paragraph for every library the programs link beyond glibc and the
# C++ runtime.
copyright=$scratch/files/usr/share/doc/tarvex/copyright
if [[ -f $copyright ]]; then
    [[ $(head -n 1 "$copyright") == "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]] ||
        fail "copyright : la première ligne n'est pas celle du format Debian"
    for license in $(sed -n 's/^License: //p' "$copyright" | sort -u); do
        grep -q -x "License: $license" <(awk '/^License: /{l=$0} /^ /{if (l) print l; l=""}' "$copyright") ||
            fail "copyright : pas de texte pour la licence $license"
    done
    for library in $(objdump -p "$scratch"/files/usr/bin/tarvex "$scratch"/files/usr/bin/tarvex-cli |
        sed -n 's/^ *NEEDED *\(lib[^.]*\)\.so.*/\1/p' | sort -u); do
        [[ $library =~ ^lib(c|m|gcc_s|stdc\+\+)$ ]] && continue
        covered=false
        read -r -a patterns <<<"$(sed -n 's/^Files: //p' "$copyright" | tr '\n' ' ')"
        for pattern in "${patterns[@]}"; do
            [[ $pattern != "*" && "usr/lib/arch/$library.so.0" == $pattern ]] && covered=true
        done
        $covered || fail "copyright : aucune ligne pour $library"
    done
fi

# The zsh completion parses, and offers every command and option the program's help names.
zsh_completion=$scratch/files/usr/share/zsh/vendor-completions/_tarvex-cli
if [[ -f $zsh_completion ]]; then
    if command -v zsh >/dev/null; then
        zsh -n "$zsh_completion" || fail "complétion zsh : erreur de syntaxe"
    fi
    cli="$scratch/files/usr/bin/tarvex-cli"
    for command in $(LC_ALL=C "$cli" --help | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p'); do
        grep -q "'$command:" "$zsh_completion" || fail "complétion zsh : commande $command absente"
        for option in $(LC_ALL=C "$cli" "$command" --help | grep -o -- '--[a-z0-9-]\+=\?' | sort -u); do
            grep -q -- "'[(]*[^']*${option%=}[=[]" "$zsh_completion" ||
                fail "complétion zsh : $command $option absente"
        done
    done
fi

# Install and remove in a scratch root with its own, empty package database; the libraries
# the package depends on are not there, hence --force-depends.
root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
# dpkg looks for ldconfig in PATH, which lacks /sbin for most users.
dpkg_root=(env PATH="$PATH:/usr/sbin:/sbin" dpkg --root="$root" --log=/dev/null --force-not-root
    --force-depends)
if "${dpkg_root[@]}" -i "$deb" >"$scratch/dpkg.log" 2>&1; then
    for path in /usr/bin/tarvex /usr/share/man/fr/man1/tarvex.1.gz; do
        [[ -e $root$path ]] || fail "$path absent après l'installation"
    done
    # The stripped programs still start (with this machine's libraries).
    "$root/usr/bin/tarvex" --version >/dev/null || fail "tarvex installé ne démarre pas"
    "$root/usr/bin/tarvex-cli" --version >/dev/null || fail "tarvex-cli installé ne démarre pas"
    "${dpkg_root[@]}" -r tarvex >>"$scratch/dpkg.log" 2>&1 || fail "désinstallation refusée"
    left=$(find "$root" -path "$root/var" -prune -o ! -type d -print)
    [[ -z $left ]] || fail "fichiers laissés après la désinstallation : $left"
else
    cat "$scratch/dpkg.log"
    fail "installation refusée"
fi

((failures == 0)) && echo "Paquet vérifié."
exit $((failures > 0))
