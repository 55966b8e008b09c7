"""A rich tag written by mutagen, and every value mutagen reads back, for the save tests.

richtag.py write FILE VERSION   an ID3v2.VERSION tag (3 or 4) with frames other taggers keep:
                                sort names, compilation, mood, grouping, replay gain, chapters,
                                ratings, two pictures, three comments, two artists, two genres
richtag.py dump FILE            every frame as one JSON object, several values joined with "/"
richtag.py plain FILE VERSION ENCODING
                                a tag of ten common frames, all in text encoding 0 to 3
richtag.py ids FILE...          for each file, its tag's version and the identifiers of the frames
                                mutagen reads in it (not upgraded), or null when it reads no tag
richtag.py fields FILE...       for each file, the first value of the common ID3v2 frames (v2.3
                                frames not upgraded), or "erreur" when mutagen reads no ID3v2 tag
"""
import hashlib
import json
import sys

from mutagen.id3 import (ID3, APIC, CHAP, COMM, CTOC, CTOCFlags, GRP1, PRIV, POPM, RVA2, TCMP,
                         TCOM, TCON, TDOR, TDRC, TIPL, TIT2, TMOO, TPE1, TALB, TRCK, TSO2, TSOA,
                         TSOC, TSOP, TSOT, TXXX, UFID, WXXX)


def write(path, version):
    t = ID3()
    t.add(TIT2(encoding=3, text="Titre d'origine"))
    t.add(TPE1(encoding=3, text=["Première", "Seconde"]))
    t.add(TALB(encoding=3, text="Album ☆"))
    t.add(TRCK(encoding=3, text="3/9"))
    t.add(TCON(encoding=3, text=["Chanson française", "Synthwave"]))
    t.add(TDRC(encoding=3, text="2003-05-12"))
    t.add(TDOR(encoding=3, text="2001"))
    t.add(TIPL(encoding=3, people=[["producer", "Zoé"], ["mix", "Yves"]]))
    for frame in (TSOP, TSOA, TSOT, TSO2, TSOC):
        t.add(frame(encoding=3, text="Tri " + frame.__name__))
    t.add(TCMP(encoding=3, text="1"))
    t.add(TMOO(encoding=3, text="Calme"))
    t.add(GRP1(encoding=3, text="Groupe"))
    t.add(COMM(encoding=3, lang="fra", desc="", text="Ligne un\nLigne deux"))
    t.add(COMM(encoding=3, lang="eng", desc="iTunNORM", text=" 0000044E 00000000"))
    t.add(COMM(encoding=3, lang="deu", desc="Notiz", text="Grüße"))
    t.add(TXXX(encoding=3, desc="REPLAYGAIN_TRACK_GAIN", text="-6.5 dB"))
    t.add(WXXX(encoding=3, desc="site", url="http://exemple.fr/a"))
    t.add(WXXX(encoding=3, desc="autre", url="http://exemple.fr/b"))
    t.add(RVA2(desc="track", channel=1, gain=-3.5, peak=0.9))
    t.add(POPM(email="moi@exemple.fr", rating=196, count=3))
    t.add(PRIV(owner="Tarvex", data=b"\x00\x01\x02"))
    t.add(UFID(owner="http://musicbrainz.org", data=b"1234"))
    t.add(APIC(encoding=3, mime="image/jpeg", type=3, desc="recto", data=b"\xff\xd8\xff" + bytes(300)))
    t.add(APIC(encoding=3, mime="image/png", type=4, desc="verso", data=b"\x89PNG" + bytes(200)))
    t.add(CHAP(element_id="ch0", start_time=0, end_time=1000, sub_frames=[TIT2(encoding=3, text="Début")]))
    t.add(CTOC(element_id="toc", flags=CTOCFlags.TOP_LEVEL | CTOCFlags.ORDERED,
               child_element_ids=["ch0"], sub_frames=[TIT2(encoding=3, text="Table")]))
    t.save(path, v2_version=version, v1=0)


def value(frame):
    if hasattr(frame, "people"):
        return "/".join(":".join(p) for p in frame.people)
    if hasattr(frame, "sub_frames"):
        subs = ";".join(value(f) for f in frame.sub_frames.values())
        return repr([getattr(frame, a, None) for a in ("start_time", "end_time", "flags",
                                                           "child_element_ids")]) + subs
    if hasattr(frame, "url"):
        return frame.url
    if hasattr(frame, "data"):
        return getattr(frame, "mime", "") + ":" + str(getattr(frame, "type", "")) + ":" + \
            hashlib.sha1(frame.data).hexdigest()
    if hasattr(frame, "text"):
        return "/".join(str(t) for t in frame.text)
    return repr(sorted((k, str(v)) for k, v in vars(frame).items() if k != "encoding"))


def dump(path):
    tags = ID3(path)
    print(json.dumps({key: value(frame) for key, frame in tags.items()}, sort_keys=True,
                     ensure_ascii=False))


def plain(path, version, enc):
    tags = ID3()
    for frame in (TIT2(text='Élégie'), TPE1(text='Fauré' if enc == 0 else 'Шостакович'),
                  TALB(text='Mélodies'), TRCK(text='5/10'), TCON(text='Chanson'),
                  TDRC(text='2004'), COMM(lang='fra', desc='', text='Très bien'),
                  TCOM(text='Gabriel'), WXXX(desc='site', url='http://exemple.fr'),
                  APIC(mime='image/jpeg', type=3, desc='pochette', data=bytes(range(256)))):
        frame.encoding = enc
        tags.add(frame)
    tags.save(path, v2_version=version)


def fields(paths):
    out = []
    for path in paths:
        entry = {}
        out.append(entry)
        try:
            tags = ID3(path, translate=False, load_v1=False)
        except Exception as e:
            entry['erreur'] = str(e)
            continue
        entry['version'] = tags.version[1]
        for key in ('TIT2', 'TPE1', 'TALB', 'TRCK', 'TYER', 'TCOM', 'TOPE', 'TCOP', 'TENC',
                    'COMM:'):
            if tags.getall(key) and tags.getall(key)[0].text:
                entry[key[:4]] = str(tags.getall(key)[0].text[0])
        if tags.getall('TCON') and tags.getall('TCON')[0].text:
            entry['TCON'] = tags.getall('TCON')[0].genres[0]
        if tags.getall('WXXX'):
            entry['WXXX'] = tags.getall('WXXX')[0].url
        if tags.getall('APIC'):
            entry['APIC'] = tags.getall('APIC')[-1].data.hex()
    print(json.dumps(out))


def ids(paths):
    out = []
    for path in paths:
        try:
            tags = ID3(path, translate=False, load_v1=False)
            out.append({"version": tags.version[1], "ids": [f.FrameID for f in tags.values()]})
        except Exception:
            out.append(None)
    print(json.dumps(out))


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2], int(sys.argv[3]))
    elif sys.argv[1] == "plain":
        plain(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    elif sys.argv[1] == "ids":
        ids(sys.argv[2:])
    elif sys.argv[1] == "fields":
        fields(sys.argv[2:])
    else:
        dump(sys.argv[2])
