#!/usr/bin/env bash
# Drives the built Tarvex with the keyboard alone under Xvfb, as a person without a mouse would,
# through the two main workflows on a folder of small generated MP3 files:
#   1. open the folder, choose three files, type one album for them and save;
#   2. on "Renomeur", name every file after its tag, preview, rename;
#   3. identify three files on a MusicBrainz stand-in (loopback), untick one in the picker,
#      apply, undo;
#   4. a file copied into a new subfolder meanwhile: F5 reads the folder again, Alt+I includes
#      the subfolders;
#   5. started again with a disc image: its tracks ripped to FLAC and MP3 at once from the menu.
# A screenshot follows each step; mutagen then checks the files, and the script says which step
# reached its goal. The first start has no CD image: on a machine without a drive this is also
# the start without a drive.
# The rename is then undone (Ctrl+Z) and redone (Ctrl+Maj+Z); the program runs with an empty home.
# Usage: scripts/drive-keyboard.sh [CAPTURES_FOLDER]   (default: build/clavier)
set -euo pipefail
cd "$(dirname "$0")/.."
shots=$(realpath -m "${1:-build/clavier}")
cmake --build build --target tarvex bench_cd_media >/dev/null
for tool in Xvfb xdotool xwd xwininfo lame flac; do
    command -v "$tool" >/dev/null || { echo "Il manque $tool : lancez scripts/install-deps.sh" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb_pid=""
tarvex_pid=""
server_pid=""
cleanup() {
    if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
    if [ -n "$tarvex_pid" ]; then kill "$tarvex_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
rm -rf "$shots"
mkdir -p "$shots" "$work/config/Tarvex" "$work/extraction" "$work/Musique/Album"
album="$work/Musique/Album"

# Four one-second tones, tagged with title, artist and track.
/usr/bin/python3 - "$album" <<'PY'
import math, os, struct, subprocess, sys, wave
from mutagen.id3 import ID3, TIT2, TPE1, TRCK
folder = sys.argv[1]
wav = os.path.join(folder, "ton.wav")
for n, (title, freq) in enumerate([("Aube", 440.0), ("Marée haute", 523.25),
                                   ("Crépuscule", 659.25), ("Nuit", 392.0)], 1):
    with wave.open(wav, "wb") as w:
        w.setnchannels(1); w.setsampwidth(2); w.setframerate(22050)
        w.writeframes(b"".join(struct.pack("<h", int(5000 * math.sin(2 * math.pi * freq * i / 22050)))
                               for i in range(22050)))
    name = os.path.join(folder, f"piste{n}.mp3")
    subprocess.run(["lame", "--quiet", "-b", "64", wav, name], check=True)
    tag = ID3()
    tag.add(TIT2(encoding=1, text=title)); tag.add(TPE1(encoding=1, text="Les Ondes"))
    tag.add(TRCK(encoding=1, text=str(n)))
    tag.save(name, v2_version=3)
os.remove(wav)
PY

# A MusicBrainz stand-in on loopback: every search finds one release of the four tracks, under
# titles that differ from the files' own.
cat >"$work/musicbrainz.py" <<'PY'
import http.server, json, sys
tracks = ["L'Aube", "La Marée haute", "Le Crépuscule", "La Nuit"]
release = {"id": "r1", "title": "Marées", "date": "2024", "country": "FR",
           "artist-credit": [{"name": "Les Ondes", "artist": {"id": "a1"}}],
           "media": [{"position": 1, "tracks": [
               {"position": n, "number": str(n), "title": t, "length": 1000,
                "recording": {"id": f"rec{n}"}} for n, t in enumerate(tracks, 1)]}]}
class Answer(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        found = {"releases": [{"id": "r1"}]} if "query=" in self.path else release
        body = json.dumps(found).encode()
        self.send_response(200)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Answer)
open(sys.argv[1], "w").write(str(server.server_port))
server.serve_forever()
PY
/usr/bin/python3 "$work/musicbrainz.py" "$work/port" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
printf '[software]\nTarvex\\repertCD=%s\nTarvex\\repertWAVMP3=%s\nTarvex\\ServeurMusicBrainz=%s\n' \
    "$work/extraction" "$work/extraction" "http://127.0.0.1:$(cat "$work/port")" \
    >"$work/config/Tarvex/Tarvex.ini"

# The screen as shown: the root's own image leaves some windows black under Xvfb, so each
# viewable top-level window is grabbed and pasted where it lies, bottom first.
cat >"$work/capture.py" <<'PY'
import re, struct, subprocess, sys, zlib

def grab(args):
    data = subprocess.run(["xwd", "-silent"] + args, check=True, capture_output=True).stdout
    h = struct.unpack(">25I", data[:100])
    width, height, bpp, bpl = h[4], h[5], h[11] // 8, h[12]
    offset = h[0] + h[19] * 12
    rows = []
    for y in range(height):
        line = data[offset + y * bpl: offset + y * bpl + width * bpp]
        px = bytearray(width * 3)  # stored blue, green, red
        px[0::3], px[1::3], px[2::3] = line[2::bpp], line[1::bpp], line[0::bpp]
        rows.append(px)
    return width, height, rows

width, height, canvas = grab(["-root"])
tree = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True).stdout
for wid in reversed(re.findall(r"^\s+(0x[0-9a-f]+) ", tree, re.M)):  # listed top first
    info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True).stdout
    if "IsViewable" not in info:
        continue
    x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", info).group(1))
    y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", info).group(1))
    w, h, rows = grab(["-id", wid])
    if w < 8 or h < 8:
        continue
    x0, x1 = max(x, 0), min(x + w, width)
    for r in range(max(0, -y), min(h, height - y)):
        canvas[y + r][x0 * 3:x1 * 3] = rows[r][(x0 - x) * 3:(x1 - x) * 3]
chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                            struct.pack(">I", zlib.crc32(kind + data)))
with open(sys.argv[1], "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" +
              chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
              chunk(b"IDAT", zlib.compress(b"".join(b"\0" + bytes(r) for r in canvas), 6)) +
              chunk(b"IEND", b""))
PY

display=""
for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "Aucun écran X libre de :90 à :120" >&2; exit 2; }
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

# A new account: an empty home, no configuration, no trash yet.
mkdir -p "$work/home"
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" \
    QT_QPA_PLATFORM=xcb LANG=fr_FR.UTF-8 build/src/app/tarvex >"$work/tarvex.log" 2>&1 &
tarvex_pid=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarvex$' | head -n 1)

step=0
log="$shots/etapes.txt"
: >"$log"
# shot NAME "what the step did"
shot() {
    sleep 0.6
    step=$((step + 1))
    local file
    file=$(printf '%s/%02d-%s.png' "$shots" "$step" "$1")
    /usr/bin/python3 "$work/capture.py" "$file"
    printf '%s  %s\n' "$(basename "$file")" "$2" | tee -a "$log"
}
# The window on top (a dialog while one is open) gets the keyboard: without a window manager
# nobody gives it back when a dialog closes.
top_window() {
    xwininfo -root -children | awk '/"/ && $0 !~ /Selection Owner/ { print $1 }' | while read -r w; do
        if xwininfo -id "$w" | grep -q IsViewable &&
            [ "$(xwininfo -id "$w" | awk '/Width:/ { print $2 }')" -gt 8 ]; then
            echo "$w"
            break
        fi
    done
}
keys() {
    xdotool windowfocus --sync "$(top_window)" 2>/dev/null || true
    xdotool key --delay 80 "$@"
}
typed() {
    xdotool windowfocus --sync "$(top_window)" 2>/dev/null || true
    xdotool type --delay 40 "$1"
}
# Whether a window other than the main one is up, waiting up to two seconds.
dialog_up() {
    local top
    for _ in $(seq 20); do
        top=$(top_window)
        [ -n "$top" ] && [ "$top" != "$(printf '0x%x' "$main")" ] && return 0
        sleep 0.1
    done
    return 1
}
# Answers every question that is up with its default button, each one photographed first.
answer_dialogs() {
    local n=0
    while dialog_up && [ $n -lt 5 ]; do
        shot "$1-question" "question posée, répondue par Entrée (bouton par défaut)"
        keys Return
        n=$((n + 1))
        sleep 0.5
    done
}

shot demarrage "démarrage sans image de CD"
keys alt+r
shot extraire-cd "Alt+R : page « Extraire CD »"
keys alt+t
keys ctrl+o
dialog_up || echo "ÉCHEC : Ctrl+O n'a pas ouvert le choix du dossier" | tee -a "$log"
typed "$album"
shot choix-dossier "Ctrl+O, chemin du dossier tapé"
keys Return
sleep 0.5
shot dossier-ouvert "Entrée : le dossier est listé"

# Workflow 1: three files, one album, saved.
keys Home shift+Down shift+Down
shot trois-fichiers "Début, Maj+Bas, Maj+Bas : piste1 à piste3 choisis"
keys alt+2
shot tag-v2 "Alt+2 : page « Tag ID3 v2 »"
# From the list, Tab reaches "Album :" after the two list buttons, the type, the tabs, the
# check box "Tag ID3 v2" and the fields "Piste", "Titre", "Artiste".
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab ctrl+a
typed "Marées"
shot album-tape "Tab ×10 jusqu'à « Album : », « Marées » tapé"
keys ctrl+s
answer_dialogs enregistrement
shot enregistre "Ctrl+S : tag enregistré"

# Workflow 2: names made from the tags, previewed, then applied.
keys alt+n
shot renomeur "Alt+N : page « Renomeur »"
keys alt+p Tab ctrl+a
typed "%piste:2% - %titre%"
keys alt+c
shot modele "Alt+P « D'après le tag », Tab, modèle tapé, Alt+C coche tout"
keys F5
shot apercu "F5 : aperçu des nouveaux noms"
keys F2
answer_dialogs renommage
shot renomme "F2 : fichiers renommés"
# Undo puts the old names back, redo the new ones. The focus is in the pattern field, where
# Ctrl+Z undoes the typing: the menu "Edition" reaches the window's undo from anywhere.
listed() { (cd "$album" && ls | tr '\n' ' '); }
keys alt+e a
answer_dialogs annulation
shot annule "Alt+E, A : « Annuler : renommage »"
[ "$(listed)" = "piste1.mp3 piste2.mp3 piste3.mp3 piste4.mp3 " ] ||
    echo "ÉCHEC : après Ctrl+Z le dossier contient $(listed)" | tee -a "$log"
keys alt+e t
answer_dialogs retablissement
shot retabli "Alt+E, T : « Rétablir : renommage »"

# Workflow 3: the three files of the album identified online; the picker's second file unticked.
titles() {
    /usr/bin/python3 -c 'import sys; from mutagen.id3 import ID3
print(" | ".join(str(ID3(f).get("TIT2", "")) for f in sys.argv[1:]))' "$album"/*.mp3
}
keys alt+2 alt+t Home shift+Down shift+Down
keys alt+z
dialog_up || echo "ÉCHEC : Alt+Z n'a pas ouvert le choix de l'édition" | tee -a "$log"
# In the picker: the album, its release (unfolded), the first file, the second file.
keys Down Down Right Down Down space
shot identification "Alt+Z : édition trouvée, dépliée, 2e fichier décoché (Espace)"
keys Return
answer_dialogs identification
shot identifie "Entrée : « Appliquer »"
[ "$(titles)" = "L'Aube | Marée haute | Le Crépuscule | Nuit" ] ||
    echo "ÉCHEC : titres après « Appliquer » : $(titles)" | tee -a "$log"
keys alt+e a
answer_dialogs annulation-identification
shot identification-annulee "Alt+E, A : « Annuler : Identification en ligne »"
[ "$(titles)" = "Aube | Marée haute | Crépuscule | Nuit" ] ||
    echo "ÉCHEC : titres après l'annulation : $(titles)" | tee -a "$log"

# Workflow 4: a subfolder appears behind the window's back.
mkdir "$album/Bonus"
cp "$album/04 - Nuit.mp3" "$album/Bonus/05 - Aurore.mp3"
keys F5
shot actualise "F5 : « Actualiser » relit le dossier (le sous-dossier n'y est pas listé)"
keys alt+i
shot sous-dossiers "Alt+I : « Inclure les sous-dossiers » liste Bonus/05 - Aurore.mp3"
keys alt+i
rm -r "$album/Bonus"

keys ctrl+q
answer_dialogs quitter
sleep 1
kill -0 "$tarvex_pid" 2>/dev/null && echo "Tarvex tourne encore après Ctrl+Q et Entrée" | tee -a "$log"

# Workflow 5: the same account starts again with a disc image of two tracks (20 and 13 s).
build/bench/cd/bench_cd_media image "$work" disc 1500 1000 >/dev/null
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" \
    QT_QPA_PLATFORM=xcb LANG=fr_FR.UTF-8 build/src/app/tarvex --cd-image "$work/disc.cue" \
    >>"$work/tarvex.log" 2>&1 &
tarvex_pid=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarvex$' | head -n 1)
keys alt+r alt+c
shot image-cd "Alt+R, Alt+C : l'image du disque, ses deux pistes cochées (« Tout sélectionner »)"
keys alt+x e
shot menu-extraction "Alt+X, E : le sous-menu « Extraire d'un CD », ses sept extractions"
# The open menu has the keyboard: focusing the window again would close it.
xdotool key 3
for _ in $(seq 120); do
    [ "$(find "$work/extraction" -name '*.m3u8' | wc -l)" -ge 3 ] && break
    sleep 0.5
done
answer_dialogs extraction
shot wav-flac-mp3 "Alt+X, E, 3 : « Extraction WAV, FLAC et MP3 » terminée"
keys ctrl+q
answer_dialogs quitter-cd
sleep 1
kill -0 "$tarvex_pid" 2>/dev/null && echo "Tarvex tourne encore après Ctrl+Q" | tee -a "$log"
{
    flacs=$(find "$work/extraction" -name '*.flac' | sort)
    mp3s=$(find "$work/extraction" -name '*.mp3' | wc -l)
    wavs=$(find "$work/extraction" -name '*.wav' | wc -l)
    lists=$(find "$work/extraction" -name '*.m3u8' | wc -l)
    if [ "$(echo "$flacs" | grep -c .)" -eq 2 ] && [ "$mp3s" -eq 2 ] && [ "$wavs" -eq 2 ] &&
        [ "$lists" -eq 3 ] && echo "$flacs" | xargs -d '\n' flac -s -t; then
        echo "OK : 2 WAV, 2 FLAC (flac -t sans erreur), 2 MP3 et 3 listes .m3u8 d'une seule extraction"
    else
        echo "ÉCHEC : extraction WAV, FLAC et MP3 : $(find "$work/extraction" -type f | sed "s|$work/||" | tr '\n' ' ')"
    fi
} | tee -a "$log"

echo "--- Vérification des fichiers (mutagen)" | tee -a "$log"
/usr/bin/python3 - "$album" <<'PY' | tee -a "$log"
import os, sys
from mutagen.id3 import ID3
folder = sys.argv[1]
names = sorted(os.listdir(folder))
albums = {n: str(ID3(os.path.join(folder, n)).get("TALB", "")) for n in names}
print("fichiers :", " | ".join(f"{n} [{albums[n]}]" for n in names))
saved = sum(1 for a in albums.values() if a == "Marées")
print(("OK" if saved == 3 else "ÉCHEC") + f" : {saved} fichiers sur 3 ont l'album « Marées »")
wanted = ["01 - Aube.mp3", "02 - Marée haute.mp3", "03 - Crépuscule.mp3", "04 - Nuit.mp3"]
print(("OK" if names == wanted else "ÉCHEC") + " : noms tirés des tags " + " | ".join(wanted))
PY
echo "Captures : $shots"
! grep -q "ÉCHEC" "$log"
