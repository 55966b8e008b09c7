#!/usr/bin/env bash
# Installs, from Debian's packages only, everything Tarvex needs to build, run and test.
# Idempotent: does nothing when every package is already present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-translations-l10n libqt6svg6 qt6-l10n-tools qt6-tools-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
    libcdio-dev libcdio-paranoia-dev libcdio-utils cd-paranoia libdiscid-dev libdeflate-dev
    libmp3lame-dev lame libmpg123-dev libebur128-dev libchromaprint-dev libflac-dev flac
    clang clang-format libclang-rt-14-dev lld
    xvfb xauth fonts-dejavu-core adwaita-icon-theme xdotool x11-apps
    python3 python3-mutagen mpg123 mediainfo
    eyed3 kid3-cli id3v2 bc time strace loudgain ffmpeg libchromaprint-tools python3-acoustid
    dpkg-dev file man-db desktop-file-utils appstream zsh
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installation des paquets manquants : ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# dpkg need not flush each file to disk: an install cut short is simply run again.
$sudo apt-get install -y -qq --no-install-recommends -o Dpkg::Options::=--force-unsafe-io "${missing[@]}"
