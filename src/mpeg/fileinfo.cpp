#include "mpeg/fileinfo.h"

#include "base/windows1252.h"
#include "mpeg/audiostart.h"
#include "mpeg/bytereader.h"
#include "mpeg/confirmedaudio.h"
#include "mpeg/frameheader.h"
#include "mpeg/typetagmpeg.h"

#include <QFile>

#include <cmath>

namespace mpeg {

const std::array<const char *, 12> FileInfo::v2FrameIds = {
    "TIT2", "TPE1", "TALB", "TYER", "COMM", "TRCK", "TCON", "TCOM", "TOPE", "TCOP", "WXXX", "TENC"};

namespace {

const char *const ModeTexts[4] = {"Stereo", "Joint St", "Double Ch", "Mono"};
const char *const EmphasisTexts[4] = {"Sans", "50/15 ms", "Réservé", "CCITT j. 17"};

QString yesNo(bool set)
{
    return set ? QStringLiteral("Oui") : QStringLiteral("Non");
}

// Blanks only: other white space belongs to the text.
QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

// The text of one frame of the list: the content after its encoding byte, with the zero
// characters removed and the blanks trimmed; a comment keeps what follows its last zero, a
// genre what follows its first ")".
QString frameText(QByteArrayView id, QByteArrayView content)
{
    QString text = base::fromWindows1252(content.sliced(qMin<qsizetype>(1, content.size())));
    if (id == "COMM")
        text = text.mid(text.lastIndexOf(QChar(0)) + 1);
    text = trimBlanks(text.remove(QChar(0)));
    if (id == "TCON")
        text = text.mid(text.indexOf(u')') + 1);
    return text;
}

// Walks the frames of an ID3v2.3 tag into the texts of the record.
void readId3v23Frames(ByteReader &in, FileInfo &info)
{
    if (in.bytes(0, 4) != QByteArrayView("ID3\x03", 4))
        return;
    qint64 size = 0; // 28 bits, seven in each byte
    for (int i = 6; i < 10; ++i)
        size = (size << 7) | (in.byteOrZero(i) & 0x7F);
    const qint64 end = qMin(10 + size, in.size());
    qint64 pos = 10;
    while (pos + 10 <= end) {
        if (in.bigEndian(pos, 4) == 0) { // padding: step over one frame header
            pos += 10;
            continue;
        }
        const QByteArray id = in.bytes(pos, 4);
        const qint64 frameSize = in.bigEndian(pos + 4, 4);
        for (size_t i = 0; i < FileInfo::v2FrameIds.size(); ++i) {
            if (id == FileInfo::v2FrameIds[i])
                info.v2Texts[i] =
                    frameText(id, in.bytes(pos + 10, qMin(frameSize, end - pos - 10)));
        }
        pos += 10 + frameSize;
    }
    info.id3v2 = 10 + size <= in.size();
}

void readHeader(ByteReader &in, qint64 o, FileInfo &info, const QLocale &locale)
{
    const qint64 size = in.size();
    const qint64 p = o + 1;
    const HeaderFields h = headerFields(in.bigEndian(o, 4));
    const int layer = h.layerBits;

    info.mpeg = true;
    info.headerPosition = p;
    info.version = versionText(h.version);
    info.layer = layerText(layer);
    info.crc = yesNo(h.crc);
    // A reserved version and bit-rate index 15 show as 999; a reserved layer has no rate.
    if (h.version == 1 || (layer != 0 && h.bitRateIndex == 15))
        info.bitRate = 999;
    else if (h.bitRateIndex == 0) // free format: measured from the next header, when one follows
        info.bitRate =
            freeFormatBitRate(decodeFrameHeader(in.bigEndian(o, 4)), freeFormatLength(in, o));
    else
        info.bitRate = h.bitRate();
    info.frequency = h.frequency();
    info.padding = yesNo(h.padded);
    info.privateBit = yesNo(h.privateBit);
    info.mode = QString::fromUtf8(ModeTexts[h.mode]);
    if (layer == 1)
        info.modeExtension = layerIIIModeExtensionText(h.modeExtension);
    else if (layer == 0)
        info.modeExtension = QStringLiteral("Erreur");
    else
        info.modeExtension = QStringLiteral("Bandes %1 à 31").arg((h.modeExtension + 1) * 4);
    info.copyright = yesNo(h.copyright);
    info.original = yesNo(h.original);
    info.emphasis = QString::fromUtf8(EmphasisTexts[h.emphasis]);

    info.size = sizeText(size, locale);
    // Constant bit rate: whole kilobits after the header over the rate, halves to even.
    const qint64 kbits = (size - p) * 8 / 1000;
    if (info.bitRate > 0) {
        qint64 seconds = kbits / info.bitRate;
        const qint64 twiceRest = 2 * (kbits % info.bitRate);
        if (twiceRest > info.bitRate || (twiceRest == info.bitRate && (seconds & 1)))
            ++seconds;
        info.duration = durationText(seconds);
    }

    info.xing = QStringLiteral("Faux");
    if (in.bytes(o + 36, 4) == "Xing") {
        info.xing = QStringLiteral("Avec");
        // The low three bytes of the frame count, times the samples of one frame, over the
        // sampling frequency. Without a duration, or at a rate beyond 16 bits, the
        // constant-bit-rate figures stand.
        const qint64 samples = qint64(in.bigEndian(o + 45, 3)) * samplesPerFrame(layer, h.mpeg1());
        if (samples > 0 && info.frequency > 0) {
            const double seconds = double(samples) / info.frequency;
            const double bitRate = std::round((size - p) * 0.008 / seconds);
            if (bitRate > 0 && bitRate <= MaxBitRate) {
                info.duration = durationText(samples / info.frequency);
                info.bitRate = int(bitRate);
            }
        }
    }
}

void readId3v1(ByteReader &in, FileInfo &info)
{
    if (in.size() < 128)
        return;
    const QByteArray block = in.bytes(in.size() - 128, 128);
    if (block.size() != 128 || !block.startsWith("TAG"))
        return;
    info.v1Title = base::fromWindows1252(block.mid(3, 30));
    info.v1Artist = base::fromWindows1252(block.mid(33, 30));
    info.v1Album = base::fromWindows1252(block.mid(63, 30));
    info.v1Year = base::fromWindows1252(block.mid(93, 4));
    info.v1Comment = base::fromWindows1252(block.mid(97, 28));
    info.v1Track = uchar(block.at(126));
    info.v1Genre = uchar(block.at(127));
    info.id3v1 = true;
}

} // namespace

void readFileInfo(QIODevice &device, FileInfo &info, const QLocale &locale)
{
    FileInfo read = info;
    ByteReader in(device, device.size());
    // The search starts after the ID3v2 tags of any version, never inside one.
    const qint64 start = audioStart(in);
    readId3v23Frames(in, read);
    // A FLAC, Ogg or PCM file has no MPEG header, only chance patterns in other data.
    const qint64 o = nonMpegContainer(in).isEmpty() ? in.findSync(start) : -1;
    if (o >= 0)
        readHeader(in, o, read, locale);
    readId3v1(in, read);
    info = read;
}

void readFileInfo(const QString &fichier, FileInfo &info, const QLocale &locale)
{
    QFile file(fichier);
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        readFileInfo(file, info, locale);
}

QString sizeText(qint64 bytes, const QLocale &locale)
{
    static const char *const Units[4] = {"O", "Ko", "Mo", "Go"};
    if (bytes <= 0)
        return QString();
    int unit = 3;
    while (unit > 0 && bytes < (qint64(1) << (10 * unit)))
        --unit;
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const double value = double(bytes) / double(qint64(1) << (10 * unit));
    return plain.toString(value, 'f', 2) + QLatin1String(Units[unit]);
}

QString durationText(qint64 seconds)
{
    const qint64 h = seconds / 3600;
    const qint64 m = seconds % 3600 / 60;
    const qint64 s = seconds % 60;
    QString out;
    if (h > 0)
        out += QStringLiteral("%1:").arg(h, 2, 10, QLatin1Char('0'));
    if (m > 0 || h > 0)
        out += QStringLiteral("%1:").arg(m, 2, 10, QLatin1Char('0'));
    return out + QStringLiteral("%1").arg(s, 2, 10, QLatin1Char('0'));
}

QList<std::pair<QString, QString>> labelTexts(const FileInfo &info)
{
    return {
        {QStringLiteral("Mpeg_Taille_Fichier"), info.size},
        {QStringLiteral("Mpeg_Longueur_Fichier"), info.duration},
        {QStringLiteral("Mpeg_BitRate"), QString::number(info.bitRate) + QStringLiteral(" Kbt")},
        {QStringLiteral("Mpeg_Mpeg"), info.version},
        {QStringLiteral("Mpeg_Layer"), info.layer},
        {QStringLiteral("Mpeg_Mode"), info.mode},
        {QStringLiteral("Mpeg_ModeExt"), info.modeExtension},
        {QStringLiteral("Mpeg_Frequence"), QString::number(info.frequency) + QStringLiteral(" Hz")},
        {QStringLiteral("Mpeg_CRC"), info.crc},
        {QStringLiteral("Mpeg_Copyright"), info.copyright},
        {QStringLiteral("Mpeg_Padded"), info.padding},
        {QStringLiteral("Mpeg_Prive"), info.privateBit},
        {QStringLiteral("Mpeg_Original"), info.original},
        {QStringLiteral("Mpeg_Emphasis"), info.emphasis},
        {QStringLiteral("Mpeg_VRB"), info.xing},
    };
}

} // namespace mpeg
