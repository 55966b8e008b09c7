#include "cd/wavfile.h"

#include "base/fileaccess.h"
#include "cd/outputfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>

namespace cd {

namespace {

constexpr quint16 formatPcm = 1;
constexpr quint16 formatExtensible = 0xFFFE;

quint16 le16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 le32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

void appendLe32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void appendLe16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

} // namespace

QByteArray wavHeader(quint32 dataBytes)
{
    QByteArray h;
    h.reserve(wavHeaderBytes);
    h += "RIFF";
    appendLe32(h, dataBytes + wavHeaderBytes - 8);
    h += "WAVE";
    h += "fmt ";
    appendLe32(h, 16);
    appendLe16(h, 1);
    appendLe16(h, 2);
    appendLe32(h, 44100);
    appendLe32(h, 176400);
    appendLe16(h, 4);
    appendLe16(h, 16);
    h += "data";
    appendLe32(h, dataBytes);
    return h;
}

WavLayout parseWavChunks(QIODevice &device)
{
    WavLayout layout;
    const qint64 end = device.size();
    std::optional<quint64> ds64DataSize;
    qint64 pos = 0;
    // Every turn moves at least one 8-byte header forward, so the walk ends.
    while (pos + 8 <= end) {
        char header[8];
        if (!device.seek(pos) || device.read(header, 8) != 8)
            break;
        auto is = [&header](const char *id) { return std::memcmp(header, id, 4) == 0; };
        const quint32 size = le32(header + 4);
        const qint64 body = pos + 8;

        if (is("RIFF") || is("RF64")) {
            // The form type follows; the chunks inside are read as a flat sequence, so a RIFF
            // size of 0 (a stream that was never finalised) does not matter.
            pos = body + 4;
            continue;
        }
        if (is("fmt ") && !layout.format && size >= 16) {
            char fmt[26] = {};
            const qint64 want = std::min<qint64>(size, sizeof fmt);
            if (device.read(fmt, want) != want)
                break;
            WavFormat f;
            f.formatTag = le16(fmt);
            f.channels = le16(fmt + 2);
            f.samplesPerSec = le32(fmt + 4);
            f.bytesPerSec = le32(fmt + 8);
            f.blockAlign = le16(fmt + 12);
            f.bitsPerSample = le16(fmt + 14);
            layout.format = f;
            layout.sampleFormat = f.formatTag;
            // WAVE_FORMAT_EXTENSIBLE: the real format tag opens the sub-format GUID.
            if (f.formatTag == formatExtensible && want >= 26)
                layout.sampleFormat = le16(fmt + 24);
        } else if (is("ds64") && size >= 24) {
            char ds64[24];
            if (device.read(ds64, 24) != 24)
                break;
            ds64DataSize = qFromLittleEndian<quint64>(ds64 + 8);
        } else if (is("data") && !layout.hasData) {
            // A recorder writes the sizes when it finishes: a size of 0 or 0xFFFFFFFF (without
            // a ds64 chunk) is a recording that was not finalised, whose samples run to the end.
            quint64 declared = size == 0 ? quint64(end - body) : size;
            if (size == 0xFFFFFFFFu && ds64DataSize)
                declared = *ds64DataSize;
            layout.hasData = true;
            layout.dataOffset = body;
            layout.dataSize = qint64(std::min<quint64>(declared, quint64(end - body)));
            pos = body + layout.dataSize + (layout.dataSize & 1);
            continue;
        }
        // A size of 0 moves straight on to the next header; an odd size is followed by a pad byte.
        pos = body + qint64(size) + (size & 1);
    }
    return layout;
}

WavFile loadWavFile(QIODevice &device, const QString &fileName)
{
    WavFile wav;
    wav.fileName = fileName;
    const QString name = displayPath(fileName);
    const WavLayout layout = parseWavChunks(device);
    if (!layout.format) {
        wav.error = QCoreApplication::translate("cd", "Le fichier « %1 » n'a pas de bloc « fmt ».")
                        .arg(name);
        return wav;
    }
    if (!layout.hasData) {
        wav.error = QCoreApplication::translate("cd", "Le fichier « %1 » n'a pas de bloc « data ».")
                        .arg(name);
        return wav;
    }
    const WavFormat &f = *layout.format;
    if (f.channels < 1 || f.channels > 2) {
        wav.error = QCoreApplication::translate(
                        "cd", "Le fichier « %1 » a %2 canaux : seuls les fichiers mono et stéréo "
                              "peuvent être convertis.")
                        .arg(name)
                        .arg(f.channels);
        return wav;
    }
    // The container size normally follows from block align; bits per sample decides when
    // block align is inconsistent.
    int bytes = (f.bitsPerSample + 7) / 8;
    if (f.blockAlign % f.channels == 0) {
        const int fromAlign = f.blockAlign / f.channels;
        if (fromAlign >= bytes && fromAlign <= 8)
            bytes = fromAlign;
    }
    const bool supported =
        (layout.sampleFormat == formatPcm && bytes >= 1 && bytes <= 4 && f.bitsPerSample > 0) ||
        (layout.sampleFormat == wavFormatFloat && (bytes == 4 || bytes == 8));
    if (!supported) {
        wav.error = QCoreApplication::translate(
                        "cd", "Le fichier « %1 » utilise un codage audio non pris en charge "
                              "(format %2, %3 bits).")
                        .arg(name)
                        .arg(layout.sampleFormat)
                        .arg(f.bitsPerSample);
        return wav;
    }
    if (f.samplesPerSec == 0) {
        wav.error = QCoreApplication::translate(
                        "cd", "Le fichier « %1 » indique une fréquence d'échantillonnage nulle.")
                        .arg(name);
        return wav;
    }
    wav.wavLoaded = true;
    wav.wavFormat = f;
    wav.sampleFormat = layout.sampleFormat;
    wav.bytesPerSample = bytes;
    wav.dataOffset = layout.dataOffset;
    wav.dataSize = layout.dataSize;
    return wav;
}

WavFile loadWavFile(const QString &fileName)
{
    // Opened here rather than by QFile, whose failure keeps only an English description.
    const int fd = ::open(base::nativePath(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        WavFile wav;
        wav.fileName = fileName;
        wav.error = QCoreApplication::translate("cd", "Impossible d'ouvrir le fichier « %1 » : %2")
                        .arg(displayPath(fileName), base::systemError(errno));
        return wav;
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    return loadWavFile(file, fileName);
}

qint16 sampleTo16(const char *sample, int bytesPerSample, bool isFloat)
{
    if (isFloat) {
        double v;
        if (bytesPerSample == 4) {
            float f;
            std::memcpy(&f, sample, 4);
            v = qFromLittleEndian(f);
        } else {
            double d;
            std::memcpy(&d, sample, 8);
            v = qFromLittleEndian(d);
        }
        if (!std::isfinite(v))
            return 0;
        return qint16(std::clamp(std::lround(std::clamp(v, -2.0, 2.0) * 32768.0), -32768L, 32767L));
    }
    switch (bytesPerSample) {
    case 1: // 8-bit WAV samples are unsigned
        return qint16((static_cast<unsigned char>(sample[0]) - 128) * 256);
    case 2: {
        qint16 v;
        std::memcpy(&v, sample, 2);
        return qFromLittleEndian(v);
    }
    case 3: {
        const qint32 v = qint32(quint32(quint8(sample[0])) << 8 | quint32(quint8(sample[1])) << 16 |
                                quint32(quint8(sample[2])) << 24) >>
                         8;
        return qint16(std::min((v + 128) >> 8, 32767));
    }
    default: {
        qint32 raw;
        std::memcpy(&raw, sample, 4);
        const qint64 v = qFromLittleEndian(raw);
        return qint16(std::min<qint64>((v + 32768) >> 16, 32767));
    }
    }
}

} // namespace cd
