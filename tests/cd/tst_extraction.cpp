#include "cd/extractionjob.h"
#include "cd/ripper.h"
#include "cd/riptags.h"
#include "cd/wavencoder.h"
#include "cd/wavfile.h"
#include "mpeg/audiostart.h"
#include "tags/id3v2reader.h"
#include "tags/tagframes.h"
#include "tags/usertexts.h"

#include "discimage.h"
#include "mp3frames.h"
#include "mpegstream.h"
#include "peers.h"
#include "recordtext.h"
#include "tonefiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace cd;
using mpegstream::readFile;
using mpegstream::writeFile;

namespace {

QByteArray le32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray chunk(const char *id, const QByteArray &body, qint64 declaredSize = -1)
{
    return id + le32(quint32(declaredSize < 0 ? body.size() : declaredSize)) + body;
}

// The body of a "fmt " chunk: the 44-byte header of a WAV file holds it at offset 20.
QByteArray fmt(int tag, int channels, int rate, int bits)
{
    return testsupport::wavBytes({}, channels, rate, bits, tag).mid(20, 16);
}

const QByteArray riff = "RIFF" + le32(0) + "WAVE";
const QByteArray stereo16 = fmt(1, 2, 44100, 16);
const QByteArray samples = "0123456789ab";

} // namespace

class TestExtraction : public QObject
{
    Q_OBJECT

private slots:
    void load_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("dataOffset");
        QTest::addColumn<QString>("error");
        QTest::newRow("LIST of odd size and its pad byte")
            << riff + chunk("fmt ", stereo16) + chunk("LIST", "INFOabc") + '\0' +
                   chunk("data", samples)
            << 60ll << "";
        QTest::newRow("zero-size chunk")
            << riff + chunk("junk", {}) + chunk("fmt ", stereo16) + chunk("data", samples) << 52ll
            << "";
        QTest::newRow("unfinished recording: data size 0")
            << riff + chunk("fmt ", stereo16) + chunk("data", samples, 0) << 44ll << "";
        QTest::newRow("data size past the end")
            << riff + chunk("fmt ", stereo16) + chunk("data", samples, 0xFFFFFFFF) << 44ll << "";
        QTest::newRow("fmt after data")
            << riff + chunk("data", samples) + chunk("fmt ", stereo16) << 20ll << "";
        QTest::newRow("24-bit extensible")
            << riff +
                   chunk("fmt ", fmt(0xFFFE, 2, 48000, 24) +
                                     QByteArray::fromHex(
                                         "16001800030000000100000000001000800000aa00389b71")) +
                   chunk("data", samples)
            << 68ll << "";
        const QByteArray ds64 =
            chunk("ds64", le32(100) + le32(0) + le32(12) + QByteArray(12, '\0'));
        QTest::newRow("RF64 with ds64")
            << "RF64" + le32(0xFFFFFFFF) + "WAVE" + ds64 + chunk("fmt ", stereo16) +
                   chunk("data", samples, 0xFFFFFFFF)
            << 76ll << "";
        // The error follows "Le fichier « FOLDER/x.wav » ".
        QTest::newRow("fmt cut short")
            << riff + chunk("fmt ", stereo16.left(10), 16) << 0ll << "n'a pas de bloc « fmt ».";
        QTest::newRow("no data chunk")
            << riff + chunk("fmt ", stereo16) << 0ll << "n'a pas de bloc « data ».";
        const auto plain = [](const QByteArray &format) {
            return riff + chunk("fmt ", format) + chunk("data", samples);
        };
        QTest::newRow("three channels")
            << plain(fmt(1, 3, 44100, 16)) << 0ll
            << "a 3 canaux : seuls les fichiers mono et stéréo peuvent être convertis.";
        QTest::newRow("16-bit float")
            << plain(fmt(3, 2, 44100, 16)) << 0ll
            << "utilise un codage audio non pris en charge (format 3, 16 bits).";
        QTest::newRow("zero rate")
            << plain(fmt(1, 2, 0, 16)) << 0ll << "indique une fréquence d'échantillonnage nulle.";
    }

    // The chunk walk finds the samples whatever the layout; a file that cannot be converted is
    // named in the error and leaves the earlier MP3 as it was.
    void load()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString mp3Path = dir.filePath(QStringLiteral("x.mp3"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("x.wav")), file) &&
                writeFile(mp3Path, "older take"));
        const WavFile wav = loadWavFile(dir.filePath(QStringLiteral("x.wav")));
        const EncodeResult r = encodeWavToMp3(wav, mp3Path, Overwrite::Replace);
        if (error.isEmpty()) {
            QVERIFY2(r.ok, qPrintable(r.error));
            QTEST(wav.dataOffset, "dataOffset");
            QCOMPARE(wav.dataSize, samples.size());
            return;
        }
        QCOMPARE(r.error, QStringLiteral("Le fichier « %1 » ").arg(dir.filePath("x.wav")) + error);
        QCOMPARE(readFile(mp3Path), QByteArray("older take"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    void sampleExtremes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("isFloat");
        QTest::addColumn<int>("expected");
        QTest::newRow("8-bit lowest") << QByteArray::fromHex("00") << false << -32768;
        QTest::newRow("24-bit rounds up") << QByteArray::fromHex("801200") << false << 0x13;
        QTest::newRow("24-bit rounds down") << QByteArray::fromHex("7f1200") << false << 0x12;
        QTest::newRow("24-bit maximum does not round over")
            << QByteArray::fromHex("ffff7f") << false << 32767;
        QTest::newRow("float above one clips") << QByteArray::fromHex("0000c03f") << true << 32767;
        QTest::newRow("float NaN") << QByteArray::fromHex("0000c07f") << true << 0;
    }

    void sampleExtremes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, isFloat);
        QTEST(int(sampleTo16(bytes.constData(), int(bytes.size()), isFloat)), "expected");
    }

    void ripTrack_data()
    {
        QTest::addColumn<int>("sectors");
        QTest::addColumn<bool>("mp3");
        QTest::newRow("WAV of 1000 sectors: 37 batches and 1 sector") << 1000 << false;
        QTest::newRow("MP3 of 27 sectors is not empty") << 27 << true;
    }

    // The track sits between two others so that reading a sector too many or too few shows; the
    // result is checked against the image's bytes, then against what a peer tool makes of it.
    void ripTrack()
    {
        QFETCH(int, sectors);
        QFETCH(bool, mp3);
        QTemporaryDir dir;
        testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {40, sectors, 33});
        const QString out = dir.filePath(mp3 ? QStringLiteral("t.mp3") : QStringLiteral("t.wav"));
        const RipResult r =
            mp3 ? ripTrackToMp3(image.cuePath(), 1, out) : ripTrackToWav(image.cuePath(), 1, out);
        QVERIFY(r.ok() && r.unreadableSectors == 0);
        const QByteArray bytes = readFile(out);
        if (!mp3) {
            QCOMPARE(bytes.size(), 44 + sectors * 2352);
            QVERIFY(bytes.mid(44) == image.trackPcm(1));
            if (QStandardPaths::findExecutable(QStringLiteral("cd-paranoia")).isEmpty())
                TARVEX_PEER_MISSING("cd-paranoia n'est pas installé");
            QProcess paranoia;
            paranoia.start(QStringLiteral("cd-paranoia"),
                           {"-q", "-d", image.cuePath(), "-w", "2", dir.filePath("p.wav")});
            QVERIFY(paranoia.waitForFinished(60000) && paranoia.exitCode() == 0);
            QVERIFY(readFile(dir.filePath(QStringLiteral("p.wav"))) == bytes); // header included
            return;
        }
        qsizetype rest = -1;
        const auto frames = testsupport::mp3Frames(bytes, &rest);
        QCOMPARE(rest, 0); // frames from the first byte to the last: no tag, no VBR header
        for (const auto &f : frames) {
            QCOMPARE(QStringLiteral("%1 %2 %3").arg(f.version).arg(f.bitrate).arg(f.sampleRate),
                     QStringLiteral("1 128 44100"));
            QVERIFY(f.mode == 0 && f.original && !f.crc && !f.copyright);
        }
        if (QStandardPaths::findExecutable(QStringLiteral("mpg123")).isEmpty())
            TARVEX_PEER_MISSING("mpg123 n'est pas installé");
        const QByteArray pcm = testsupport::decodeWithMpg123(out);
        // The decoder's output starts with the encoder's delay (576) and its own (529).
        const qint64 decoded = pcm.size() / 4 - 1105;
        QVERIFY2(qAbs(decoded - sectors * 588) <= 1152, qPrintable(QString::number(decoded)));
    }

    void interruptedRip_data()
    {
        QTest::addColumn<bool>("mp3");
        QTest::addColumn<bool>("replace"); // the user allowed replacing an existing file
        QTest::addColumn<bool>("cancel");  // else another program creates the file meanwhile
        QTest::newRow("WAV stopped") << false << true << true;
        QTest::newRow("MP3 stopped") << true << true << true;
        QTest::newRow("file appearing meanwhile") << true << false << false;
        QTest::newRow("file appearing meanwhile, replacing allowed") << true << true << false;
    }

    // A stopped rip leaves the earlier file as it was; a file that takes the output's name while
    // the track is read is neither replaced nor lost. No partial file remains beside it.
    void interruptedRip()
    {
        QFETCH(bool, mp3);
        QFETCH(bool, replace);
        QFETCH(bool, cancel);
        QTemporaryDir dir;
        testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {200});
        const QString out = dir.filePath(QStringLiteral("t.out"));
        const QByteArray left = cancel ? "previous take" : "someone else's";
        QVERIFY(!cancel || writeFile(out, left));
        int calls = 0;
        const auto progress = [&](qint64 done, qint64) {
            return cancel ? ++calls < 3 : done != 27 || writeFile(out, left);
        };
        const Overwrite overwrite = replace ? Overwrite::Replace : Overwrite::Refuse;
        const RipResult r = mp3 ? ripTrackToMp3(image.cuePath(), 0, out, overwrite, progress)
                                : ripTrackToWav(image.cuePath(), 0, out, overwrite, progress);
        if (cancel)
            QVERIFY(r.status == RipStatus::Cancelled && calls == 3);
        else
            QCOMPARE(r.detail, QStringLiteral("Le fichier « %1 » existe déjà.").arg(out));
        QCOMPARE(readFile(out), left);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"disc.bin", "disc.cue", "t.out"}));
    }

    void fileNames_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        const auto row = [](const char *name, int format, const QString &artist,
                            const QString &title, const char *file) {
            QTest::newRow(name) << format << artist << title << QString(file);
        };
        row("artist - title", 0, "Les Amis", "Le Vent", "Les Amis - Le Vent.mp3");
        row("title - artist", 1, "Les Amis", "Le Vent", "Le Vent - Les Amis.mp3");
        row("title(artist)", 2, "Les Amis", "Le Vent", "Le Vent(Les Amis).mp3");
        row("title", 3, "Les Amis", "Le Vent", "Le Vent.mp3");
        row("slash in the artist", 0, "AC/DC", "Thunder", "AC-DC - Thunder.mp3");
        row("climbing title", 3, "", "../../etc/passwd", "..-..-etc-passwd.mp3");
        row("NUL in the title", 3, "", QStringLiteral("a") + QChar(u'\0') + "b", "a-b.mp3");
        row("empty title", 3, "", "", "Piste 4.mp3");
        row("dot-dot title", 3, "", "..", "Piste 4.mp3");
    }

    // Names built from the disc information never leave the output folder.
    void fileNames()
    {
        QFETCH(int, format);
        QFETCH(QString, artist);
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(mp3FileName(format, artist, title, 4), name);
        if (format == TitleOnly)
            QCOMPARE(wavFileName(title, 4), name.chopped(4) + QStringLiteral(".wav"));
    }

    void rowNames_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("names"); // artist|title
        const auto row = [](const char *name, const char *text, const char *names) {
            QTest::newRow(name) << QString(text) << QString(names);
        };
        row("dash", "Les Amis - Le Vent", "Les Amis|Le Vent");
        row("CDDB artist / title", "Les Amis / Le Vent", "Les Amis|Le Vent");
        row("slash inside the artist", "AC/DC - Thunder", "AC/DC|Thunder");
        row("artist / title with a dash", "Les Amis / Le Vent - live", "Les Amis|Le Vent - live");
        row("neither", "Le Vent", "Disque|Le Vent");
    }

    // With "ImportationNom", a row names the artist before its first "-" or " / ".
    void rowNames()
    {
        QFETCH(QString, row);
        const RowNames names = rowArtistTitle(row, true, "Disque");
        QTEST(names.artist + u'|' + names.title, "names");
    }

    void mp3Job_data()
    {
        QTest::addColumn<bool>("importNames");
        QTest::addColumn<QString>("firstTags"); // artist|title|album|year|genre|index|track
        QTest::newRow("rows split into artist and title")
            << true << "Les Amis|Le Vent|Album|1999|Rock|17|1";
        QTest::newRow("rows as titles")
            << false << "Disque|Les Amis - Le Vent|Album|1999|Rock|17|1";
    }

    // Unchecked rows are skipped; track numbers are row positions; names stay in the folder; a row
    // whose rip failed is marked "Erreur" and leaves no file.
    void mp3Job()
    {
        QFETCH(bool, importNames);
        QFETCH(QString, firstTags);
        QTemporaryDir dir;
        testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30, 31, 150, 33});
        const ExtractionSettings s{
            image.cuePath(), dir.path(), TitleArtist, importNames, "Disque",
            "Album",         "1999",     "Rock",      17,          TagOption::V1AndV2};
        ExtractionJob job;
        QList<TrackOutcome> outcomes;
        job.trackFinished = [&outcomes](const TrackOutcome &o) { outcomes << o; };
        const auto summary = job.run(ExtractionJob::Mp3, s,
                                     {{"Les Amis - Le Vent", true},
                                      {"Piste 2", false},
                                      {"Pluie/Neige", true},
                                      {"x", false},
                                      {"Hors du disque", true}});
        QStringList marks, written;
        for (const TrackOutcome &o : outcomes) {
            marks << o.mark;
            if (o.tagged)
                written << QStringList{o.tags.artist,
                                       o.tags.title,
                                       o.tags.album,
                                       o.tags.year,
                                       o.tags.genre,
                                       QString::number(o.tags.genreIndex),
                                       QString::number(o.tags.track)}
                               .join(u'|');
        }
        QCOMPARE(marks, (QStringList{markOk, markNotSelected, markOk, markNotSelected, markError}));
        QCOMPARE(outcomes.last().message, QStringLiteral("N° de piste incorrecte"));
        QCOMPARE(summary.failed, 1);
        QCOMPARE(written, (QStringList{firstTags, "Disque|Pluie/Neige|Album|1999|Rock|17|3"}));
        QCOMPARE(QDir(dir.path()).entryList({"*.mp3"}),
                 (QStringList{"Les Amis - Le Vent - Disque.mp3", "Pluie-Neige - Disque.mp3"}));
        // The third row's file holds the third track, of 150 sectors, behind the tags the job
        // wrote before naming it; the title keeps its "/".
        const QString third = dir.filePath("Pluie-Neige - Disque.mp3");
        const auto frames = testsupport::mp3Frames(readFile(third).mid(mpeg::audioStart(third)));
        QVERIFY(qAbs(frames.size() - 150 * 588 / 1152) <= 3);
        QCOMPARE(tags::readTagV2(third)->Titre(), QStringLiteral("Pluie/Neige"));
    }

    void replayGainOfRips_data()
    {
        QTest::addColumn<bool>("replayGain");
        QTest::addColumn<TagOption>("tagOption");
        QTest::addColumn<bool>("rva2");
        QTest::newRow("measured while read") << true << TagOption::V1AndV2 << false;
        QTest::newRow("RVA2 frames too") << true << TagOption::V2 << true;
        QTest::newRow("option off") << false << TagOption::V2 << true;
        QTest::newRow("ID3v1 only gets none") << true << TagOption::V1 << true;
    }

    // The MP3 job measures each track from the samples it reads and writes its ReplayGain and
    // the disc's when it ends, gains and true peaks as loudgain measures the same samples, and
    // with the option the RVA2 frames "track" and "album".
    void replayGainOfRips()
    {
        QFETCH(bool, replayGain);
        QFETCH(TagOption, tagOption);
        QFETCH(bool, rva2);
        QTemporaryDir dir;
        using Content = testsupport::DiscImage::Content;
        const auto image = testsupport::DiscImage::withContents(
            dir.path(), QStringLiteral("disc"), {{150, Content::Tone}, {225, Content::Noise}});
        const ExtractionSettings s{image.cuePath(), dir.path(), TitleOnly, false, "Disque",
                                   "Album",         "1999",     "Rock",    17,    tagOption};
        ExtractionJob job;
        job.replayGain = replayGain;
        job.gainOptions.rva2 = rva2;
        // The tag written before naming leaves room for the values: they are written in place,
        // never by a copy of the file under a new inode.
        const auto inode = [](const QString &path) {
            struct stat st
            {
            };
            return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
        };
        QList<ino_t> inodes;
        job.trackFinished = [&](const TrackOutcome &o) { inodes << inode(o.path); };
        const auto summary = job.run(ExtractionJob::Mp3, s, {{"Un", true}, {"Deux", true}});
        QVERIFY(summary.gainFailures.isEmpty());
        QCOMPARE(inodes,
                 (QList<ino_t>{inode(dir.filePath("Un.mp3")), inode(dir.filePath("Deux.mp3"))}));
        QStringList texts, volumes;
        for (const QString name : {"Un.mp3", "Deux.mp3"}) {
            const auto read = tags::readUserTexts(dir.filePath(name));
            for (const tags::UserText &t : read.value())
                texts << t.description + u'=' + t.value;
            const auto frames = tags::readFrames(dir.filePath(name));
            for (const tags::TagFrame &frame : frames.value())
                if (frame.id == "RVA2")
                    volumes << frame.key;
        }
        const bool written = replayGain && tagOption != TagOption::V1;
        const QStringList both{"RVA2:track", "RVA2:album"};
        QCOMPARE(volumes, written && rva2 ? both + both : QStringList());
        if (!written) {
            QCOMPARE(texts, QStringList());
            return;
        }
        if (QStandardPaths::findExecutable("loudgain").isEmpty())
            TARVEX_PEER_MISSING("loudgain is needed");
        QStringList wavs;
        for (int t = 0; t < 2; ++t) {
            wavs << dir.filePath(QStringLiteral("t%1.wav").arg(t));
            writeFile(wavs.last(), testsupport::wavBytes(image.trackPcm(t), 2, 44100, 16));
        }
        const QList<tonefiles::PeerGain> expected = tonefiles::loudgain(wavs, true);
        QCOMPARE(expected.size(), 3);
        QCOMPARE(texts.size(), 8);
        const auto value = [&](int i) {
            return texts[i].section('=', 1).section(' ', 0, 0).toDouble();
        };
        QVERIFY(texts[0].startsWith("REPLAYGAIN_TRACK_GAIN=") &&
                texts[2].startsWith("REPLAYGAIN_ALBUM_GAIN="));
        for (const auto &[text, peer] : {std::pair{value(0), expected[0].gain},
                                         {value(4), expected[1].gain},
                                         {value(2), expected[2].gain},
                                         {value(6), expected[2].gain}})
            QVERIFY2(qAbs(text - peer) <= 0.01, qPrintable(texts.join(", ")));
        for (const auto &[text, peer] : {std::pair{value(1), expected[0].peak},
                                         {value(5), expected[1].peak},
                                         {value(3), expected[2].peak}})
            QVERIFY2(qAbs(text - peer) <= 0.0001, qPrintable(texts.join(", ")));
    }

    void ripTagRecord_data()
    {
        QTest::addColumn<int>("tagOption");
        QTest::addColumn<QString>("genre");
        QTest::addColumn<int>("genreIndex");
        QTest::addColumn<QString>("defaults"); // comment|encoder
        QTest::addColumn<QString>("record");   // as written by the test below
        QTest::newRow("both, genre chosen in the list, defaults")
            << int(TagOption::V1AndV2) << "Rock" << 18 << "Souvenir|Tarvex"
            << "v1:3|Titre|Artiste|Album|1999|17|Souvenir "
               "v2:3|Titre|Artiste|Album|1999|17||Souvenir|Tarvex";
        // The CD page gives no index for a typed genre: the v1 list shows an exact name only.
        QTest::newRow("v1, listed name without an index")
            << int(TagOption::V1) << "Reggae" << -1 << "|"
            << "v1:3|Titre|Artiste|Album|1999|16| v2:-";
        QTest::newRow("v1, name in another case") << int(TagOption::V1) << "reggae" << -1 << "|"
                                                  << "v1:3|Titre|Artiste|Album|1999|255| v2:-";
        QTest::newRow("v2, own words, encoder only")
            << int(TagOption::V2) << "Chanson française" << -1 << "|LAME"
            << "v1:- v2:3|Titre|Artiste|Album|1999|255|Chanson française||LAME";
        QTest::newRow("v2, the empty list entry")
            << int(TagOption::V2) << "" << 0 << "Souvenir|"
            << "v1:- v2:3|Titre|Artiste|Album|1999|255||Souvenir|";
        QTest::newRow("none") << int(TagOption::None) << "Rock" << 18 << "Souvenir|Tarvex"
                              << "v1:- v2:-";
    }

    // The tag record of a ripped track: the versions of the option, the genre by its list position
    // or its words, then the non-empty defaults.
    void ripTagRecord()
    {
        QFETCH(int, tagOption);
        QFETCH(QString, genre);
        QFETCH(int, genreIndex);
        QFETCH(QString, defaults);
        const TrackTags track{"Artiste", "Titre", "Album", "1999", genre, genreIndex, 3};
        const tags::TagType r = cd::ripTagRecord(
            track, TagOption(tagOption),
            tags::defaultTexts(defaults.section(u'|', 0, 0), defaults.section(u'|', 1)));
        QTEST(testsupport::recordText(r), "record");
    }

    void unreadableSectorsBecomeSilence_data()
    {
        QTest::addColumn<bool>("secure");
        QTest::addColumn<int>("sectors");
        QTest::addColumn<int>("cut"); // the image's sectors left once 27 are read
        QTest::newRow("plain reads") << false << 100 << 40;
        QTest::newRow("secure reads after the retries") << true << 2000 << 1000;
    }

    // Reads that fail, as on a scratched disc, become silence, never the previous batch again;
    // each silent sector is counted (with the few around the failing reads), and the end of the
    // job names the tracks concerned.
    void unreadableSectorsBecomeSilence()
    {
        QFETCH(bool, secure);
        QFETCH(int, sectors);
        QFETCH(int, cut);
        QTemporaryDir dir;
        testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {sectors});
        const QByteArray pcm = image.trackPcm(0);
        const QList<TrackRow> rows{{"Un", true}};
        ExtractionJob job;
        job.options.secure = secure;
        job.progress = [&](qint64 done, qint64) {
            return done != 27 || QFile::resize(image.binPath(), cut * 2352); // later reads fail
        };
        RipResult r;
        job.trackFinished = [&r](const TrackOutcome &o) { r = o.result; };
        const auto summary =
            job.run(ExtractionJob::Wav,
                    {image.cuePath(), dir.path(), TitleOnly, false, "", "", "", ""}, rows);
        QCOMPARE(summary.unreadableRows, QList<int>{1});
        QCOMPARE(unreadableTracksMessage(summary.unreadableRows, rows),
                 QStringLiteral("Des secteurs illisibles ont été remplacés par du silence dans les "
                                "pistes suivantes :\n1. Un"));
        const QByteArray samples = readFile(dir.filePath(QStringLiteral("Un.wav"))).mid(44);
        QCOMPARE(samples.size(), sectors * 2352);
        // The reader's read-ahead still holds some sectors past the cut (at most half as many
        // again); from wherever the data stops, only silence follows.
        qsizetype same = 0;
        while (same < samples.size() && samples.at(same) == pcm.at(same))
            ++same;
        const int silent = int((samples.size() - same) / 2352);
        QVERIFY2(same >= 27 * 2352 && silent >= sectors - 3 * cut / 2,
                 qPrintable(QString::number(silent)));
        QVERIFY(samples.mid(same) == QByteArray(samples.size() - same, '\0'));
        if (secure) // cdparanoia counts every sector it gave up; plain reads are not compared
            QVERIFY2(r.unreadableSectors >= silent && r.unreadableSectors < silent + 64,
                     qPrintable(QStringLiteral("%1 %2").arg(silent).arg(r.unreadableSectors)));
        QCOMPARE(r.rereadSectors, secure ? r.unreadableSectors : 0);
    }

    void discLayout_data()
    {
        using Track = testsupport::DiscImage::Track;
        constexpr auto data = testsupport::DiscImage::Content::Data;
        QTest::addColumn<QList<Track>>("tracks");
        QTest::addColumn<int>("binSectors"); // the .bin cut to this many sectors; -1: whole
        QTest::addColumn<bool>("secure");
        QTest::addColumn<QStringList>("messages"); // per track listed: empty when it is ripped
        const QString beyond = "La piste %1 dépasse la fin du disque (image incomplète ?).";
        QTest::newRow("data track right after the audio: one session, no gap")
            << QList<Track>{{40}, {61}, {30, data}} << -1 << false << QStringList{"", ""};
        QTest::newRow("full-scale noise read securely")
            << QList<Track>{{60, testsupport::DiscImage::Content::Noise}} << -1 << true
            << QStringList{""};
        QTest::newRow("image shorter than its cue sheet")
            << QList<Track>{{40}, {61}} << 20 << false << QStringList{beyond.arg(1), beyond.arg(2)};
        QTest::newRow("empty image")
            << QList<Track>{{40}} << 0 << true << QStringList{beyond.arg(1)};
        QTest::newRow("data track first")
            << QList<Track>{{30, data}, {40}, {61}} << -1 << false
            << QStringList{"La piste 1 contient des données, pas du son.", "", ""};
    }

    // Every audio track of an image is ripped byte for byte, up to the track that follows it; a
    // track the image cannot give as audio is an error of its own, never silence marked "Ok".
    void discLayout()
    {
        QFETCH(QList<testsupport::DiscImage::Track>, tracks);
        QFETCH(int, binSectors);
        QFETCH(bool, secure);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        const auto image =
            testsupport::DiscImage::withContents(dir.path(), QStringLiteral("disc"), tracks);
        QList<TrackRow> rows;
        for (int k = 0; k < messages.size(); ++k)
            rows.append({QString::number(k + 1), true});
        const QByteArray bin = readFile(image.binPath());
        if (binSectors >= 0)
            QVERIFY(QFile::resize(image.binPath(), qint64(binSectors) * 2352));
        ExtractionJob job;
        job.options.secure = secure;
        QStringList shown;
        job.trackFinished = [&shown](const TrackOutcome &o) {
            shown << (o.mark == markOk ? QString() : o.mark + u' ' + o.message);
        };
        const auto summary =
            job.run(ExtractionJob::Wav,
                    {image.cuePath(), dir.path(), TitleOnly, false, "", "", "", ""}, rows);
        for (QString &message : messages) {
            if (!message.isEmpty())
                message.prepend(markError + u' ');
        }
        QCOMPARE(shown, messages);
        QCOMPARE(summary.failed, messages.size() - messages.count(QString()));
        QVERIFY(summary.unreadableRows.isEmpty());
        qsizetype at = 0;
        for (int k = 0; k < messages.size(); ++k) {
            const QString wav = dir.filePath(QStringLiteral("%1.wav").arg(k + 1));
            const qsizetype size = qsizetype(tracks.at(k).sectors) * 2352;
            if (messages.at(k).isEmpty())
                QVERIFY2(readFile(wav).mid(44) == bin.mid(at, size), qPrintable(wav));
            else
                QVERIFY(!QFile::exists(wav));
            at += size;
        }
    }

    // A rip killed in the middle leaves its hidden temporary file; the next job in that folder
    // removes it, and the aged ones a killed copy left, but no file a job at work may still
    // write to, nor anything else.
    void killedJobLeftoversRemoved()
    {
        QTemporaryDir dir;
        testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {20000, 30});
        const QString cli = qEnvironmentVariable("TARVEX_CLI");
        QProcess killed;
        killed.start(cli, {"rip", "--cd-image=" + image.cuePath(), "--piste=1", "--wav", "--rapide",
                           dir.filePath("long.wav")});
        QVERIFY(killed.waitForStarted());
        const auto hidden = [&dir] {
            return QDir(dir.path())
                .entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs |
                           QDir::NoDotAndDotDot);
        };
        QVERIFY(QTest::qWaitFor([&] { return hidden().size() > 2; }, 20000));
        ::kill(pid_t(killed.processId()), SIGKILL);
        QVERIFY(killed.waitForFinished());
        const QStringList left = hidden().filter(QRegularExpression("^\\.tarvex-"));
        QCOMPARE(left.size(), 1);
        for (const char *name : {".tarvex-Ab12Cd", ".chanson.mp3.tarvex-k2", ".tarvex-Zz9Yx8"})
            QVERIFY(writeFile(dir.filePath(name), "copie"));
        QVERIFY(QDir(dir.path()).mkdir(".tarvex-dossier"));
        QFile aged(dir.filePath(".tarvex-Ab12Cd"));
        QVERIFY(aged.open(QIODevice::ReadWrite) &&
                aged.setFileTime(QDateTime::currentDateTime().addSecs(-7 * 3600),
                                 QFileDevice::FileModificationTime));
        aged.close();
        QProcess next;
        next.start(cli, {"rip", "--cd-image=" + image.cuePath(), "--piste=2", "--wav",
                         dir.filePath("court.wav")});
        QVERIFY(next.waitForFinished(60000) && next.exitCode() == 0);
        QCOMPARE(hidden(), (QStringList{".chanson.mp3.tarvex-k2", ".tarvex-dossier",
                                        ".tarvex-Zz9Yx8", "court.wav", "disc.bin", "disc.cue"}));
    }

    // "Remplacer tout" replaces every existing file after one question; two rows of the same
    // title get two files, the second named " (2)". (Replacing or keeping one file is checked
    // through the window in tests/app/tst_extraction.cpp, wavJobMarksRows.)
    void jobReplacesAll()
    {
        QTemporaryDir dir;
        testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30, 31, 32});
        const QString same = dir.filePath(QStringLiteral("Même.wav"));
        QVERIFY(writeFile(same, "older take") && writeFile(dir.filePath("Autre.wav"), "older"));
        ExtractionJob job;
        QStringList questions, marks;
        job.askReplace = [&questions](const QString &path) {
            questions << path;
            return ReplaceAnswer::ReplaceAll;
        };
        job.trackFinished = [&marks](const TrackOutcome &o) { marks << o.mark; };
        job.run(ExtractionJob::Wav, {image.cuePath(), dir.path(), TitleOnly, false, "", "", "", ""},
                {{"Même", true}, {"Même", true}, {"Autre", true}});
        QCOMPARE(marks, (QStringList{markOk, markOk, markOk}));
        QCOMPARE(questions, QStringList{same});
        for (const auto &[k, name] :
             QList<std::pair<int, QString>>{{0, "Même.wav"}, {1, "Même (2).wav"}, {2, "Autre.wav"}})
            QVERIFY2(readFile(dir.filePath(name)).mid(44) == image.trackPcm(k), qPrintable(name));
    }

    void commandLine_data()
    {
        // existing: "name" holds "older take" (":r" read-only), "name>target" is a link; args run
        // in the temporary folder DIR, DISC is the disc image; made: an MP3 that then holds the
        // second of audio, or a WAV of the disc's second track.
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error"); // standard error
        QTest::addColumn<QString>("made");
        // Of the files the command writes, in bytes; below 0, that many bytes more than the MP3
        // of track 1 without tags.
        QTest::addColumn<int>("sizeLimit");
        const auto row = [](const char *name, const char *existing, const QStringList &args,
                            int status, const QString &error, const char *made = "",
                            int sizeLimit = 0) {
            QTest::newRow(name) << existing << args << status << error << made << sizeLimit;
        };
        const QStringList rip{"rip", "--cd-image=DISC", "--piste=1"};
        const QString exists = "Le fichier « DIR/%1 » existe déjà.",
                      full = "Impossible d'écrire le fichier « %1 » : plus de place sur le disque";
        row("convert keeps an existing MP3", "song.mp3", {"convert", "song.wav"}, 1,
            exists.arg("song.mp3"));
        row("convert --ecraser replaces it", "song.mp3", {"convert", "--ecraser", "song.wav"}, 0,
            "", "song.mp3");
        row("convert goes on after a file it cannot convert", "",
            {"convert", "bad.wav", "song.wav"}, 1,
            "Le fichier « DIR/bad.wav » a 4 canaux : seuls les fichiers mono et stéréo peuvent "
            "être "
            "convertis.",
            "song.mp3");
        row("rip keeps an existing file", "t.wav", rip + QStringList{"--wav", "t.wav"}, 1,
            exists.arg("t.wav"));
        row("rip onto a full device", "", rip + QStringList{"--mp3", "--ecraser", "/dev/full"}, 1,
            full.arg("/dev/full"));
        row("convert through a link to a full device", "song.mp3>/dev/full",
            {"convert", "--ecraser", "song.wav"}, 1, full.arg("DIR/song.mp3"));
        row("convert a missing file", "", {"convert", "absent.wav"}, 1,
            "Impossible d'ouvrir le fichier « DIR/absent.wav » : fichier introuvable");
        const QString longName = QString(250, u'x') + QStringLiteral(".wav");
        row("rip to a name too long", "", rip + QStringList{"--wav", "xx" + longName}, 1,
            "Impossible de créer le fichier « DIR/xx" + longName + " » : nom trop long");
        row("rip to the longest name", "", rip + QStringList{"--wav", longName}, 0, "");
        row("rip --ecraser keeps a read-only file", "t.wav:r",
            rip + QStringList{"--wav", "--ecraser", "t.wav"}, 1,
            "Impossible de remplacer le fichier « DIR/t.wav » : il est en lecture seule.");
        row("rip into a missing folder", "", rip + QStringList{"--wav", "absent/t.wav"}, 1,
            "Impossible de créer le fichier « DIR/absent/t.wav » : le dossier « DIR/absent » "
            "n'existe pas.");
        // The disc numbers its tracks from 2: "--piste=2" is still its second track.
        row("rip counts tracks from one", "",
            {"rip", "--cd-image=DISC", "--piste=2", "--wav", "p2.wav"}, 0, "", "p2.wav");
        row("rip into a folder pattern naming a track field", "",
            rip + QStringList{"--flac", "--dossier-flac=FLAC/%piste%", "."}, 1,
            "Le modèle de dossier « FLAC/%piste% » ne convient pas : le champ %piste% est vide");
        row("rip of a track the disc does not have", "",
            {"rip", "--cd-image=DISC", "--piste=4", "--mp3", "p4.mp3"}, 1,
            "N° de piste incorrecte");
        // Past the limit a write fails, and is said; the program is not killed with its file
        // half-made. The MP3 of track 1 fits, not with its tag: it gets no name untagged.
        row("convert past the file-size limit", "", {"convert", "song.wav"}, 1,
            "Impossible d'écrire le fichier « DIR/song.mp3 » : fichier trop grand", "", 4096);
        row("tagged rip past the file-size limit", "",
            rip + QStringList{"--mp3", "--tags=v2", "--titre=Un titre", "t.mp3"}, 1,
            "Le tag de « DIR/t.mp3 » n'a pas pu être enregistré : Écriture impossible de "
            "« DIR/t.mp3 » : fichier trop grand",
            "", -16);
    }

    // What the command line writes, refuses and says, in French, about the real cause.
    void commandLine()
    {
        QFETCH(QString, existing);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, error);
        QFETCH(QString, made);
        QFETCH(int, sizeLimit);
        QTemporaryDir dir;
        testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {100, 101, 20}, 2);
        const QByteArray pcm = testsupport::tonePcm16(44100, 2, 44100);
        QVERIFY(writeFile(dir.filePath("song.wav"), testsupport::wavBytes(pcm, 2, 44100, 16)) &&
                writeFile(dir.filePath("bad.wav"), testsupport::wavBytes(pcm, 4, 44100, 16)));
        const QString kept = dir.filePath(existing.section(u'>', 0, 0).section(u':', 0, 0));
        if (existing.contains(u'>'))
            QVERIFY(QFile::link(existing.section(u'>', 1), kept));
        else if (!existing.isEmpty())
            QVERIFY(writeFile(kept, "older take"));
        if (existing.endsWith(QStringLiteral(":r")))
            QVERIFY(QFile::setPermissions(kept, QFileDevice::ReadOwner));
        args.replaceInStrings(QStringLiteral("DISC"), image.cuePath());
        if (sizeLimit < 0) {
            const QString untagged = dir.filePath("untagged.mp3");
            QVERIFY(ripTrackToMp3(image.cuePath(), 0, untagged).ok());
            sizeLimit = int(QFileInfo(untagged).size()) - sizeLimit;
            QVERIFY(QFile::remove(untagged));
        }
        QProcess cli;
        cli.setWorkingDirectory(dir.path());
        if (sizeLimit > 0) {
            cli.setChildProcessModifier([sizeLimit] {
                const rlimit limit{rlim_t(sizeLimit), rlim_t(sizeLimit)};
                ::setrlimit(RLIMIT_FSIZE, &limit);
                ::signal(SIGXFSZ, SIG_DFL); // as a shell leaves it
            });
        }
        cli.start(qEnvironmentVariable("TARVEX_CLI"), args);
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(cli.readAllStandardError()).trimmed(),
                 QString(error).replace("DIR", dir.path()));
        QCOMPARE(cli.exitCode(), status);
        if (!existing.isEmpty() && !existing.contains(u'>') && status != 0)
            QCOMPARE(readFile(kept), QByteArray("older take"));
        if (made.endsWith(".mp3"))
            QVERIFY(testsupport::mp3Frames(readFile(dir.filePath(made))).size() >= 38);
        else if (!made.isEmpty())
            QVERIFY(readFile(dir.filePath(made)).mid(44) == image.trackPcm(1));
        QVERIFY(!QFile::exists(dir.filePath("bad.mp3")) && !QFile::exists(dir.filePath("p4.mp3")));
        if (status != 0 && existing.isEmpty() && made.isEmpty())
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                     (QStringList{"bad.wav", "disc.bin", "disc.cue", "song.wav"}));
        // Nothing half-written is left, not even hidden.
        QCOMPARE(QDir(dir.path())
                     .entryList(QDir::Files | QDir::Hidden)
                     .filter(QRegularExpression("^\\.")),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(TestExtraction)
#include "tst_extraction.moc"
