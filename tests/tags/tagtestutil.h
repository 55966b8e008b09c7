#pragma once

// Helpers shared by the tag tests: files on disk (those of the support library), generated MPEG
// frames, ID3v2 bytes built field by field, and the peer tool mutagen run through the system's
// Python.

#include "mpegstream.h"
#include "tags/tagresult.h"
#include "tags/typetagv2.h"

#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QStringEncoder>
#include <QtEndian>
#include <QTest>

namespace tagtest {

using mpegstream::readFile;
using mpegstream::writeFile;

// The last `bytes` bytes of the big-endian form of value.
inline QByteArray bigEndian(quint32 value, int bytes = 4)
{
    const quint32 big = qToBigEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&big), 4).right(bytes);
}

// Seven bits in each of four bytes.
inline QByteArray synchsafe(quint32 v)
{
    return bigEndian((v & 0x7F) | (v << 1 & 0x7F00) | (v << 2 & 0x7F0000) | (v << 3 & 0x7F000000));
}

// MPEG-1 Layer III frames, 128 kbit/s, 44.1 kHz, stereo: 417 bytes each, with a body that differs
// from frame to frame, so that a dropped or shifted frame shows.
inline QByteArray mpegFrames(int count)
{
    QByteArray audio;
    for (int f = 0; f < count; ++f) {
        audio += QByteArray("\xFF\xFB\x90\x00", 4);
        for (int i = 4; i < 417; ++i)
            audio += char((i * 7 + f * 13) & 0x7F);
    }
    return audio;
}

// Frames whose first one carries a Xing header (36 bytes in, for MPEG-1 stereo) announcing
// `count` frames and a byte count.
inline QByteArray xingStream(int frames, quint32 count = 100)
{
    QByteArray audio = mpegFrames(frames);
    return audio.replace(36, 16, "Xing" + bigEndian(3) + bigEndian(count) + "\1\2\3\4");
}

// One frame of a tag of the given major version; flags only for 2.3 and 2.4.
inline QByteArray frame(int version, const QByteArray &id, const QByteArray &body,
                        quint16 flags = 0)
{
    if (version == 2)
        return id + bigEndian(quint32(body.size()), 3) + body;
    const auto size = quint32(body.size());
    return id + (version == 4 ? synchsafe(size) : bigEndian(size)) + bigEndian(flags, 2) + body;
}

inline QByteArray tag(int version, const QByteArray &body, quint8 flags = 0)
{
    return QByteArray("ID3") + char(version) + '\0' + char(flags) +
           synchsafe(quint32(body.size())) + body;
}

// A text in encoding 0.
inline QByteArray latin(const QByteArray &text)
{
    return '\0' + text;
}

inline QByteArray utf16le(const QString &text)
{
    return "\xFF\xFE" + QByteArray(QStringEncoder(QStringConverter::Utf16LE).encode(text));
}

// A small blue picture in the given format ("JPG", "PNG").
inline QByteArray imageBytes(const char *format)
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

inline QByteArray jpegBytes()
{
    return imageBytes("JPG");
}

// A record with every ID3v2 field set: accented French, text outside Windows-1252, a URL.
inline tags::TypeTagV2 fullRecord()
{
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setTitre("Où est passée la sœur ?");
    t.setArtiste("Чайковский");
    t.setAlbum("日本の歌 🎵");
    t.setAnnee("1999");
    t.setCommentaire("Crème brûlée — 5 €");
    t.setPiste("4/11");
    t.setGenre(102);
    t.setCompositeur("Ravel");
    t.setOriginal("Ὅμηρος");
    t.setCopyright("© Label");
    t.setUrl("http://exemple.fr/à");
    t.setEncode("Tarvex");
    return t;
}

// Sets one field of a record by its name ("Titre", "Genre", ...).
inline void setField(tags::TypeTagV2 &t, const QString &field, const QString &value)
{
    const QHash<QString, void (tags::TypeTagV2::*)(const QString &)> setters{
        {"Titre", &tags::TypeTagV2::setTitre}, {"Artiste", &tags::TypeTagV2::setArtiste},
        {"Album", &tags::TypeTagV2::setAlbum}, {"Piste", &tags::TypeTagV2::setPiste},
        {"Url", &tags::TypeTagV2::setUrl},     {"Commentaire", &tags::TypeTagV2::setCommentaire},
        {"Annee", &tags::TypeTagV2::setAnnee}};
    if (field == "Genre")
        t.setGenre(value.toInt());
    else
        (t.*setters.value(field))(value);
}

// Runs the mutagen helper richtag.py: its standard output, empty when it fails.
inline QByteArray richtag(const QStringList &args)
{
    QProcess p;
    p.start("/usr/bin/python3", QStringList{QFINDTESTDATA("../tags/richtag.py")} + args);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? p.readAllStandardOutput() : "";
}

// True when a save went through; its error, if any, is printed.
inline bool saved(const tags::Result<bool> &result)
{
    if (!result.ok())
        qWarning("%s", qPrintable(result.error()));
    return result.ok() && *result;
}

} // namespace tagtest
