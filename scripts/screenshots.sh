#!/usr/bin/env bash
# Renders the README's pictures of Tarvex (docs/screenshots/*.png) from the real program,
# offscreen, with the demo disc and a folder of small generated MP3 files tagged by mutagen.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target tarvex tarvex-demodisc >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
music="$work/Musique"
mkdir -p "$music" "$work/config/Tarvex"

# Three short tones, encoded by lame and tagged with both tag versions.
/usr/bin/python3 - "$music" <<'PY'
import math, struct, subprocess, sys, wave
import zlib
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK, TDRC, TCON, COMM, TCOM, APIC
folder = sys.argv[1]

def png(width, height, pixel):
    """A PNG of 8-bit RGB pixels given by pixel(x, y) -> (r, g, b)."""
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y))
                    for y in range(height))
    chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                                struct.pack(">I", zlib.crc32(kind + data)))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))

# A sea-blue cover: a gradient with a pale sun.
cover = png(160, 160, lambda x, y: (255, 236, 170) if (x - 110) ** 2 + (y - 50) ** 2 < 400
            else (20 + y // 4, 60 + y // 2, 120 + x // 3))
songs = [("01 - Aube.mp3", "Aube", 440.0), ("02 - Marée haute.mp3", "Marée haute", 523.25),
         ("03 - Crépuscule.mp3", "Crépuscule", 659.25)]
for number, (name, title, freq) in enumerate(songs, 1):
    wav = f"{folder}/tone.wav"
    with wave.open(wav, "wb") as w:
        w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
        frames = bytearray()
        for i in range(44100 * 2):
            v = int(6000 * math.sin(2 * math.pi * freq * i / 44100))
            frames += struct.pack("<hh", v, v)
        w.writeframes(bytes(frames))
    subprocess.run(["lame", "--quiet", "-b", "128", wav, f"{folder}/{name}"], check=True)
    tags = ID3()
    tags.add(TIT2(encoding=1, text=title)); tags.add(TPE1(encoding=1, text="Les Ondes Claires"))
    tags.add(TALB(encoding=1, text="Marées")); tags.add(TRCK(encoding=1, text=f"{number}/3"))
    tags.add(TDRC(encoding=1, text="2024")); tags.add(TCON(encoding=1, text="(26)"))
    tags.add(COMM(encoding=1, lang="fra", desc="", text="Démo de Tarvex"))
    tags.add(TCOM(encoding=1, text="A. Dupont"))
    tags.add(APIC(encoding=0, mime="image/png", type=3, desc="", data=cover))
    tags.save(f"{folder}/{name}", v1=2, v2_version=3)
import os; os.remove(f"{folder}/tone.wav")
PY

cat > "$work/config/Tarvex/Tarvex.ini" <<INI
[software]
Tarvex\repertCD=$music
Tarvex\repertWAVMP3=$music
Tarvex\Commentaire=
Tarvex\Encodepar=
INI

mkdir -p docs/screenshots
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
    build/src/app/tarvex --cd-image build/demo/tarvex-demo.cue --captures "$work/shots" \
    --taille 1000x860 2>/dev/null
# Only a few pages go into the README, kept small.
for page in extraire-cd info-fichier tag-id3v2 tag-plusieurs renommeur-modele options-extraction; do
    cp "$work/shots/$page.png" docs/screenshots/
done
ls -l docs/screenshots
