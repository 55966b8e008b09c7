"""Writes and reads ID3 tags with mutagen for the window tests: an independent tag codec.

id3peer.py write FILE        ID3v2.3 with a full set of frames and an ID3v1.1 block
id3peer.py genre FILE TCON   ID3v2.3 with a title and the given TCON (empty: none), no ID3v1
id3peer.py read FILE         both tags on one line, "V1 / V2", each "TCON=Rock|TIT2=text|..." sorted by
                             frame, "-" for no ID3v1 block; the v1 genre is its number as
                             mutagen's ID3v1 parser gives it (absent for 255), the v2 genre its name
"""
import sys

from mutagen.id3 import (ID3, COMM, TALB, TCOM, TCON, TCOP, TENC, TIT2, TOPE, TPE1, TRCK,
                         TYER, WXXX, ParseID3v1)


def write(path):
    t = ID3()
    t.add(TIT2(encoding=1, text="Été indien"))
    t.add(TPE1(encoding=1, text="Joe Dassin"))
    t.add(TALB(encoding=1, text="Le Jardin"))
    t.add(TRCK(encoding=1, text="5/12"))
    t.add(TYER(encoding=1, text="1975"))
    t.add(TCON(encoding=1, text="(17)"))
    t.add(COMM(encoding=1, lang="fra", desc="", text="Très connu"))
    t.add(TCOM(encoding=1, text="Toto Cutugno"))
    t.add(TOPE(encoding=1, text="Albatros"))
    t.add(TCOP(encoding=1, text="CBS"))
    t.add(WXXX(encoding=0, desc="", url="http://exemple.fr"))
    t.add(TENC(encoding=1, text="LAME"))
    t.save(path, v1=2, v2_version=3)


def genre(path, tcon):
    t = ID3()
    t.add(TIT2(encoding=0, text="x"))
    if tcon:
        t.add(TCON(encoding=0, text=tcon))
    t.save(path, v1=0, v2_version=3)


def texts(frames, genre_names):
    out = {}
    for f in frames.values():
        key = f.FrameID
        if key.startswith("W"):
            out[key] = f.url
        elif key == "TCON" and genre_names:
            out[key] = f.genres[0] if f.genres else ""
        else:
            out[key] = str(f.text[0]) if f.text else ""
    return out


def read(path):
    with open(path, "rb") as f:
        data = f.read()
    v1 = ParseID3v1(data[-128:], v2_version=3) if len(data) >= 128 else None
    try:
        v2 = texts(ID3(path, v2_version=3, load_v1=False), True)
    except Exception:
        v2 = {}
    line = lambda frames: "|".join(k + "=" + v for k, v in sorted(frames.items()))
    sys.stdout.buffer.write(("-" if v1 is None else line(texts(v1, False))).encode() + b" / "
                            + line(v2).encode() + b"\n")


if __name__ == "__main__":
    command, path = sys.argv[1], sys.argv[2]
    if command == "write":
        write(path)
    elif command == "genre":
        genre(path, sys.argv[3])
    else:
        read(path)
