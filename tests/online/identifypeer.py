"""Independent readers for the identification tests (mutagen, python3-acoustid).

identifypeer.py write FILE N    a full ID3v2.3 tag (track N), as another tagger leaves it
identifypeer.py dump FILE       every frame of the ID3v2 tag as JSON: {"TIT2": "text", ...}
identifypeer.py compare A B     two fingerprints (fpcalc text): "count_a count_b equal_bits_percent"
"""
import json
import sys


def write(path, track):
    from mutagen.id3 import ID3, APIC, COMM, PRIV, TALB, TCON, TIT2, TPE1, TRCK, TXXX, TYER
    t = ID3()
    t.add(TIT2(encoding=1, text="titre faux"))
    t.add(TPE1(encoding=1, text="Inconnu"))
    t.add(TALB(encoding=1, text="Album"))
    t.add(TRCK(encoding=1, text=track))
    t.add(TYER(encoding=1, text="1990"))
    t.add(TCON(encoding=1, text="(17)"))
    t.add(COMM(encoding=1, lang="fra", desc="", text="Gardé tel quel"))
    t.add(TXXX(encoding=1, desc="Autre note", text="à garder"))
    t.add(PRIV(owner="exemple.fr", data=b"\x00\x01\x02"))
    t.add(APIC(encoding=0, mime="image/jpeg", type=3, desc="", data=b"\xff\xd8\xff\xe0" + b"j" * 300))
    t.save(path, v1=0, v2_version=3)
    print("ok")


def dump(path):
    from mutagen.id3 import ID3
    out = {}
    for key, frame in ID3(path, v2_version=3).items():
        if key.startswith("UFID"):
            out[key] = frame.data.decode("latin-1")
        elif hasattr(frame, "text"):
            out[key] = "/".join(str(x) for x in frame.text)
        else:
            out[key] = repr(frame)
    print(json.dumps(out, ensure_ascii=False, sort_keys=True))


def compare(a, b):
    import chromaprint
    fa, _ = chromaprint.decode_fingerprint(a.encode())
    fb, _ = chromaprint.decode_fingerprint(b.encode())
    n = min(len(fa), len(fb))
    equal = sum(32 - bin((x ^ y) & 0xFFFFFFFF).count("1") for x, y in zip(fa, fb))
    print(len(fa), len(fb), 100.0 * equal / (32 * n) if n else 0)


if __name__ == "__main__":
    {"write": write, "dump": dump, "compare": compare}[sys.argv[1]](*sys.argv[2:])
