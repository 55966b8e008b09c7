// The analysis and the "Info Fichier" reader side by side, each with its own rules and texts.
#include "mpeg/audiostart.h"
#include "mpeg/fileinfo.h"
#include "mpeg/typetagmpeg.h"

#include "mpegstream.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

using namespace mpegstream;
using mpeg::FileInfo;
using mpeg::TypeTagMpeg;

Q_DECLARE_METATYPE(FrameHeader)

namespace {

const QLocale French(QLocale::French, QLocale::France);

FileInfo infoOf(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    FileInfo info;
    mpeg::readFileInfo(buffer, info, French);
    return info;
}

// The values joined with "|".
template <typename... T> QString fields(const T &...values)
{
    QStringList out;
    (out.append(QVariant(values).toString()), ...);
    return out.join(u'|');
}

// Version, layer, bit rate, frequency, mode, mode extension, emphasis, then the flags CRC,
// padding, private, copyright and original; the page adds its duration text.
QString headerOf(const TypeTagMpeg &r)
{
    if (!r.Valide())
        return QStringLiteral("rejeté");
    return fields(r.Mpeg(), r.Layer(), r.BitRate(), r.Frequence(), r.Mode(), r.ModeExt(),
                  r.Emphasis(), int(r.CRC()), int(r.Padded()), int(r.PrivateBit()),
                  int(r.Copyright()), int(r.Original()));
}

QString headerOf(const FileInfo &f)
{
    const auto yes = [](const QString &text) { return int(text == QLatin1String("Oui")); };
    return fields(f.version, f.layer, f.bitRate, f.frequency, f.mode, f.modeExtension, f.emphasis,
                  yes(f.crc), yes(f.padding), yes(f.privateBit), yes(f.copyright), yes(f.original),
                  f.duration);
}

QString vbrOf(const TypeTagMpeg &r)
{
    return fields(int(r.Valide()), r.Vbr(), r.Frames(), r.BitRate(), r.Duree(), r.EntetePos());
}

// A frame whose Xing fields (5000 frames, 3 000 000 bytes) sit at the given offset.
QByteArray xingAt(const FrameHeader &header, int offset)
{
    QByteArray first = frame(header);
    first.replace(offset, 16, QByteArray("Xing\0\0\0\x03\0\0\x13\x88\0\x2d\xc6\xc0", 16));
    return first + frames(header, 10);
}

} // namespace

class TestMpegReaders : public QObject
{
    Q_OBJECT

private slots:
    void headers_data()
    {
        QTest::addColumn<FrameHeader>("header");
        QTest::addColumn<QString>("analysed");
        QTest::addColumn<QString>("shown");

        const auto row = [](const char *name, FrameHeader header, const char *analysed,
                            const char *shown) {
            QTest::newRow(name) << header << QString::fromUtf8(analysed)
                                << QString::fromUtf8(shown);
        };
        row("MPEG 2 Layer III joint MS", {2, 1, true, 8, 0, false, false, 1, 2},
            "2.0|III|64|22050|Joint Stereo|Stereo : OFF - MS Stereo : ON|Aucun|0|0|0|0|0",
            "2.0|III|64|22050|Joint St|Stereo : OFF - MS Stereo : ON|Sans|0|0|0|0|0|00");
        row("MPEG 2.5 mono, padding and copyright",
            {0, 1, true, 8, 0, true, false, 3, 3, true, false, 0},
            "2.5|III|64|11025|Mono||Aucun|0|1|0|1|0",
            "2.5|III|64|11025|Mono|Stereo : ON - MS Stereo : ON|Sans|0|1|0|1|0|00");
        row("MPEG 1 Layer II bands 16, CRC, private and original",
            {3, 2, false, 14, 1, false, true, 1, 3, false, true, 3},
            "1.0|II|384|48000|Joint Stereo|Bands 16 to 31|CCIT J.17|1|0|1|0|1",
            "1.0|II|384|48000|Joint St|Bandes 16 à 31|CCITT j. 17|1|0|1|0|1|00");
        row("MPEG 2 Layer I dual channel", {2, 3, true, 14, 2, false, false, 2, 1, false, false, 1},
            "2.0|I|256|16000|Double Cha||50/15 ms|0|0|0|0|0",
            "2.0|I|256|16000|Double Ch|Bandes 8 à 31|50/15 ms|0|0|0|0|0|00");
        // 16 kbit over 32 kbit/s is half a second: halves round to even.
        row("MPEG 1 Layer I bands 4", {3, 3, true, 1, 0, false, false, 1, 0, false, false, 2},
            "1.0|I|32|44100|Joint Stereo|Bands 4 to 31|Réservé|0|0|0|0|0",
            "1.0|I|32|44100|Joint St|Bandes 4 à 31|Réservé|0|0|0|0|0|00");
        row("bit-rate field 15", {3, 1, true, 15}, "rejeté",
            "1.0|III|999|44100|Stereo|Stereo : OFF - MS Stereo : OFF|Sans|0|0|0|0|0|00");
        row("free bit rate has no duration", {3, 1, true, 0}, "rejeté",
            "1.0|III|0|44100|Stereo|Stereo : OFF - MS Stereo : OFF|Sans|0|0|0|0|0|");
        row("reserved version", {1, 1, true, 9}, "rejeté",
            "Réservé|III|999|0|Stereo|Stereo : OFF - MS Stereo : OFF|Sans|0|0|0|0|0|00");
        row("reserved layer", {3, 0, true, 9}, "rejeté",
            "1.0|Réservé|0|44100|Stereo|Erreur|Sans|0|0|0|0|0|");
    }

    void headers()
    {
        QFETCH(FrameHeader, header);
        // One header and no other sync: the page decodes it whatever it holds.
        const QByteArray bytes = header.bytes() + QByteArray(2000, '\x55');
        QTEST(headerOf(mpeg::analyseMpeg(bytes)), "analysed");
        QTEST(headerOf(infoOf(bytes)), "shown");
    }

    // The ID3v2 writer asks for Layers II and III only.
    void layersIIandIIIOnly()
    {
        const FrameHeader layer1{.layer = 3};
        const QByteArray mixed = frames(layer1, 2) + frames(FrameHeader(), 5);
        QCOMPARE(mpeg::analyseMpeg(mixed).Layer(), QStringLiteral("I"));
        QCOMPARE(mpeg::analyseMpeg(mixed, true).EntetePos(), qint64(layer1.frameLength() * 2));
    }

    void audioStart_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("start");    // where the audio starts, after any ID3v2 tag
        QTest::addColumn<int>("analysed"); // EntetePos, -1 for no accepted header
        QTest::addColumn<int>("shown");    // 1-based header position of the page, 0 for none
        const auto row = [](const char *name, const QByteArray &bytes, int start, int analysed,
                            int shown) {
            QTest::newRow(name) << bytes << start << analysed << shown;
        };

        const QByteArray audio = frames(FrameHeader(), 3);
        row("no tag", audio, 0, 0, 1);
        row("FF 00 is never a candidate", QByteArray("\xff\0\0\0\0", 5) + audio, 0, 5, 6);
        row("reserved version: only the analysis goes on", QByteArray("\xff\xea\x90\0", 4) + audio,
            0, 4, 1);
        // Version 3, layer 1: MPEG 1 Layer III with CRC, although three sync bits are clear.
        row("FF 1A is a candidate", "\xff\x1a\x90" + QByteArray(414, '\0'), 0, 0, 1);
        // The picture is full of false syncs, the last frame of the tag included.
        for (const char *name :
             {"v2.2 with a picture", "v2.3 with a picture", "v2.4 with a footer"}) {
            const int v = name[3] - '0';
            const QByteArray tag = id3v2Tag(v, {id3v2PictureFrame(v, 20000)}, 64, v == 4);
            row(name, tag + audio, tag.size(), tag.size(), tag.size() + 1);
        }
        const QByteArray title = id3v2TextFrame(3, "TIT2", "Titre");
        row("two tags in a row", id3v2Tag(3, {title}) + id3v2Tag(4, {}, 20) + audio, 56, 56, 57);
        QByteArray big = id3v2Tag(3, {title});
        big[10 + 4] = char(0x7F);
        row("frame larger than the tag", big + audio, 26, 26, 27);
        row("v2.5 is no tag", QByteArray("ID3\x05\0\0\0\0\0\x10", 10) + audio, 0, 10, 11);
        row("tag larger than the file", QByteArray("ID3\x04\0\x10\x7f\x7f\x7f\x7f", 10) + audio,
            1261, -1, 0);
        row("empty", QByteArray(), 0, -1, 0);
        row("sync then end", "\xff\xfb", 0, -1, 1);
        // A million rejected candidates in a row: the search must not nest one call per candidate.
        row("a megabyte of FF", QByteArray(1 << 20, char(0xFF)), 0, -1, 1);

        // The analysis walks RIFF chunks to "data"; the page searches from the first byte. The
        // format is MPEG Layer III, the rest of the chunk false syncs.
        const QByteArray head("RIFF\0\0\0\0WAVE", 12);
        const QByteArray fmt = QByteArray("fmt \x10\0\0\0\x55\0", 10) + QByteArray(14, char(0xFF));
        const QByteArray odd("LIST\x03\0\0\0abc\0data\0\0\0\0", 20); // with its pad byte
        row("RIFF data after fmt and an odd chunk", head + fmt + odd + audio, 0, 56, 23);
        row("RIFF without data chunk", head + QByteArray("junk\x04\0\0\0abcd", 12) + audio, 0, 24,
            25);
        row("RIFF chunk size past the end", head + "junk\xff\xff\xff\xff\xff\x01", 0, -1, 17);
        row("RIFF chunks of size zero to the end", head + QByteArray(4000, '\0'), 0, -1, 0);
    }

    void audioStart()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, start);
        QFETCH(int, analysed);
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(mpeg::audioStart(buffer), start);
        QCOMPARE(mpeg::id3v2TagSize(bytes) != 0, start != 0);
        const TypeTagMpeg r = mpeg::analyseMpeg(bytes);
        QCOMPARE(r.EntetePos(), qMax(analysed, 0));
        // A rejected file leaves the reset record; an accepted one measures the whole file.
        if (analysed < 0)
            QCOMPARE(r, TypeTagMpeg());
        else
            QCOMPARE(r.Taille(), qint64(bytes.size()));
        QCOMPARE(r.Valide(), analysed >= 0);
        QTEST(int(infoOf(bytes).headerPosition), "shown");
    }

    void analysis_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // valid|Vbr|Frames|BitRate|Duree|EntetePos
        const auto row = [](const char *name, const QByteArray &bytes, const char *expected) {
            QTest::newRow(name) << bytes << QString::fromLatin1(expected);
        };

        const FrameHeader h;
        // Behind a 4096-byte tag the duration leaves the tag out, the frame count does not.
        const QByteArray stream = streamOfSize(h, 1000000);
        const QByteArray tag = id3v2Tag(3, {id3v2TextFrame(3, "TIT2", "Titre")}, 4096 - 26);
        row("worked example", stream, "1||2398|128|62|0");
        row("worked example behind a tag", tag + stream, "1||2407|128|62|4096");
        // Free format: 100 frames of 653 bytes, 200 kbit/s at 44.1 kHz, from their distance.
        const QByteArray freeFrame = FrameHeader{.bitRateIndex = 0}.bytes() + QByteArray(649, '\0');
        row("free format", freeFrame.repeated(100), "1||100|200|2|0");
        const FrameHeader mono{.mode = 3}, layer1{.layer = 3, .frequencyIndex = 2};
        const FrameHeader mpeg2{.version = 2, .bitRateIndex = 8, .frequencyIndex = 2};
        const FrameHeader mpeg2mono{
            .version = 2, .bitRateIndex = 8, .frequencyIndex = 2, .mode = 3};
        // 3 000 000 bytes over 5000 frames of 1152 samples at 44.1 kHz: 130.6 seconds.
        const char *xing = "1|VBR|5000|184|130|0";
        row("Xing, MPEG 1 stereo at 36", xingAt(h, 36), xing);
        row("Xing, MPEG 1 mono at 21", xingAt(mono, 21), xing);
        // Frames of 576 samples at 16 kHz last 36 ms; frames of 384 samples at 32 kHz, 12 ms.
        row("Xing, MPEG 2 stereo at 21, 16 kHz", xingAt(mpeg2, 21), "1|VBR|5000|133|180|0");
        row("Xing, MPEG 2 mono at 13, 16 kHz", xingAt(mpeg2mono, 13), "1|VBR|5000|133|180|0");
        row("Xing, MPEG 1 Layer I at 32 kHz", xingAt(layer1, 36), "1|VBR|5000|400|60|0");
        row("no Xing, MPEG 1 stereo at 21", xingAt(h, 21), "1||11|128|0|0");
        row("xing", xingFrame(h, {"xing", 5000, 3000000}) + frames(h, 50), xing);
        row("Xing without byte count: 60 frames of 417 bytes",
            xingFrame(h, {"Xing", 5000, std::nullopt}) + frames(h, 59), "1|VBR|5000|2|130|0");
        row("Xing without frame count keeps the header, invalid",
            xingFrame(h, {"Xing", std::nullopt, 3000000}) + frames(h, 9), "0|VBR|10|128|0|0");
        row("Xing of no frames: the next header at constant rate",
            xingFrame(h, {"Xing", 0, 30000}) + frames(h, 9), "1||10|128|0|417");
        // 72 000 kbit in 76 frames of 26 ms: 36 266 kbit/s does not fit in 16 bits.
        row("Xing rate beyond 16 bits: the next header at constant rate",
            xingFrame(h, {"Xing", 76, 9000000}) + frames(h, 9), "1||10|128|0|417");
        row("Xing tag at the end of the file", xingFrame(h, {"Xing", 0, 0}).left(44), "0||0|0|0|0");
        row("VBRI", vbriFrame(h, 576, 3000576, 5000) + frames(h, 10), "1|VBRI|5000|184|130|0");
        // The byte counts are those of the audio from the header on: a tag before is not in them.
        const QByteArray big = id3v2Tag(3, {id3v2TextFrame(3, "TIT2", "Titre")}, 400000 - 26);
        row("Xing behind a 400 KB tag", big + xingAt(h, 36), "1|VBR|5000|184|130|400000");
        row("VBRI behind a 400 KB tag", big + vbriFrame(h, 576, 3000576, 5000) + frames(h, 10),
            "1|VBRI|5000|184|130|400000");
        row("VBRI cut short", vbriFrame(h, 576, 3000576, 5000).left(48), "0||0|0|0|0");
    }

    void analysis()
    {
        QFETCH(QByteArray, bytes);
        QTEST(vbrOf(mpeg::analyseMpeg(bytes)), "expected");
    }

    void infoDuration_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("tag"); // of a Xing header in the first frame
        QTest::addColumn<quint32>("frames");
        QTest::addColumn<int>("frequencyIndex"); // 0: 44.1 kHz, 2: 32 kHz
        QTest::addColumn<QString>("shown");      // size, duration, bit rate, Xing
        const auto row = [](const char *name, int size, const char *tag, quint32 frames,
                            const char *shown, int frequencyIndex = 0) {
            QTest::newRow(name) << size << QByteArray(tag) << frames << frequencyIndex
                                << QString::fromUtf8(shown);
        };

        // At 128 kbit/s: whole kilobits after the header's first byte, over 128, halves to even.
        row("worked example", 5000000, "", 0, "4,77Mo|05:12|128|Faux");
        row("half rounds down to even 0", 8001, "", 0, "7,81Ko|00|128|Faux");
        row("one and a half rounds up to 2", 24001, "", 0, "23,44Ko|02|128|Faux");
        row("no group separator", 1048575, "", 0, "1024,00Ko|01:06|128|Faux");
        // A Xing header of 4 000 000 bytes; its frame count has three bytes. The bit rate is that
        // of the whole file after the header: 40 000 kbit over 130.6 seconds.
        row("Xing, 5000 frames", 5000000, "Xing", 5000, "4,77Mo|02:10|306|Avec");
        row("only the low three bytes of the count", 5000000, "Xing", 0x01001388,
            "4,77Mo|02:10|306|Avec");
        row("Xing at 32 kHz, 5000 frames of 36 ms", 5000000, "Xing", 5000, "4,77Mo|03:00|222|Avec",
            2);
        row("XING in capitals is not seen", 5000000, "XING", 5000, "4,77Mo|05:12|128|Faux");
        row("76 frames last 1.99 seconds", 5000000, "Xing", 76, "4,77Mo|01|20148|Avec");
        // No duration, or a rate beyond 16 bits: the constant-rate figures stay.
        row("one frame", 5000000, "Xing", 1, "4,77Mo|05:12|128|Avec");
    }

    void infoDuration()
    {
        QFETCH(int, size);
        QFETCH(QByteArray, tag);
        QFETCH(quint32, frames);
        QFETCH(int, frequencyIndex);
        QFETCH(QString, shown);
        const FrameHeader header{.frequencyIndex = frequencyIndex};
        QByteArray bytes = streamOfSize(header, size);
        if (!tag.isEmpty()) {
            const QByteArray first = xingFrame(header, {tag, frames, 4000000});
            bytes.replace(0, first.size(), first);
        }
        const FileInfo f = infoOf(bytes);
        QCOMPARE(fields(f.size, f.duration, f.bitRate, f.xing), shown);
    }
};

QTEST_GUILESS_MAIN(TestMpegReaders)
#include "tst_mpegreaders.moc"
