#pragma once

// Helpers shared by the tag tests: files on disk, generated MPEG frames, and the peer tool
// mutagen run through the system's Python.

#include <algorithm>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>

namespace tagtest {

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// One MPEG-1 Layer III frame, 128 kbit/s, 44.1 kHz, stereo, no padding: 417 bytes. Its body
// holds a pattern that depends on index, so that frames can be told apart.
inline QByteArray mpegFrame(int index = 0)
{
    QByteArray frame("\xFF\xFB\x90\x00", 4);
    for (int i = 4; i < 417; ++i)
        frame.append(char((i * 7 + index * 13) & 0x7F));
    return frame;
}

inline QByteArray mpegFrames(int count)
{
    QByteArray audio;
    for (int i = 0; i < count; ++i)
        audio += mpegFrame(i);
    return audio;
}

// A first frame carrying a Xing header (MPEG-1 stereo: "Xing" 36 bytes into the frame) with
// the frame and byte fields present, followed by plain frames. The header announces at least
// 100 frames, as a real one of a file of a few seconds does.
inline QByteArray xingStream(int frames)
{
    QByteArray first = mpegFrame(0);
    QByteArray xing("Xing\0\0\0\x03", 8);
    const quint32 count = quint32(std::max(frames, 100)), bytes = 0x01020304;
    for (quint32 v : {count, bytes})
        for (int s = 24; s >= 0; s -= 8)
            xing.append(char((v >> s) & 0xFF));
    first.replace(36, xing.size(), xing);
    return first + mpegFrames(frames);
}

inline QString python()
{
    return QStringLiteral("/usr/bin/python3");
}

// Runs a Python script with mutagen; returns its standard output, or a null array when the
// script fails (the failure is printed).
inline QByteArray runMutagen(const QString &script, const QStringList &args = {})
{
    QProcess process;
    process.start(python(), QStringList{QStringLiteral("-c"), script} + args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning("mutagen: %s", process.readAllStandardError().constData());
        return {};
    }
    QByteArray out = process.readAllStandardOutput();
    return out.isNull() ? QByteArray("") : out;
}

inline bool haveMutagen()
{
    QProcess process;
    process.start(python(), {QStringLiteral("-c"), QStringLiteral("import mutagen")});
    return process.waitForFinished(30000) && process.exitCode() == 0;
}

// The outside corpus folder, or an empty text when it is absent.
inline QString corpusDir()
{
    const QString dir = qEnvironmentVariable("TARVEX_CORPUS");
    return !dir.isEmpty() && QDir(dir).exists() ? dir : QString();
}

// Every regular file of the corpus, recursively.
inline QStringList corpusFiles(const QStringList &patterns = {})
{
    QStringList files;
    const QString root = corpusDir();
    if (root.isEmpty())
        return files;
    QDir dir(root);
    QStringList pending{root};
    while (!pending.isEmpty()) {
        QDir current(pending.takeFirst());
        for (const QFileInfo &info :
             current.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            if (info.isDir())
                pending.append(info.filePath());
            else if (patterns.isEmpty() || QDir::match(patterns, info.fileName()))
                files.append(info.filePath());
        }
    }
    return files;
}

} // namespace tagtest

namespace tagtest {

inline QByteArray bigEndian(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xFF));
    return out;
}

inline QByteArray synchsafe(quint32 value)
{
    QByteArray out;
    for (int shift = 21; shift >= 0; shift -= 7)
        out.append(char((value >> shift) & 0x7F));
    return out;
}

// One frame of a tag of the given major version; flags only for 2.3 and 2.4.
inline QByteArray frame(int version, const QByteArray &id, const QByteArray &body,
                        quint16 flags = 0)
{
    if (version == 2)
        return id + bigEndian(quint32(body.size()), 3) + body;
    const QByteArray size =
        version == 4 ? synchsafe(quint32(body.size())) : bigEndian(quint32(body.size()), 4);
    return id + size + bigEndian(flags, 2) + body;
}

// A tag: header with the given flags, the body as given (frames, padding...).
inline QByteArray tag(int version, const QByteArray &body, quint8 flags = 0)
{
    return QByteArray("ID3") + char(version) + '\0' + char(flags) +
           synchsafe(quint32(body.size())) + body;
}

inline QByteArray utf16le(const QString &text, bool bom = true)
{
    QByteArray out = bom ? QByteArray("\xFF\xFE", 2) : QByteArray();
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

inline QByteArray utf16be(const QString &text)
{
    QByteArray out;
    for (QChar c : text) {
        out.append(char(c.unicode() >> 8));
        out.append(char(c.unicode() & 0xFF));
    }
    return out;
}

} // namespace tagtest
