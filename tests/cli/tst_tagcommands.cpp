// The tag sub-commands of tarvex-cli, run as a user runs them, and saves that cannot finish:
// those leave the original byte for byte and no temporary file behind.
#include "mpeg/audiostart.h"
#include "tags/genres.h"
#include "tags/id3v1.h"
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"

#include "peers.h"

#include "../tags/tagtestutil.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tagtest;

namespace {

struct Run
{
    int status = -1;
    QJsonArray json;
    QByteArray text;
    QByteArray errors;
};

// inChild runs in the child process before tarvex-cli starts (limits, another user).
Run cli(const QStringList &args, const std::function<void()> &inChild = {})
{
    QProcess process;
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(qEnvironmentVariable("TARVEX_CLI"), args);
    if (!process.waitForFinished(60000))
        return {};
    const QByteArray text = process.readAllStandardOutput();
    return {process.exitCode(), QJsonDocument::fromJson(text).array(), text,
            process.readAllStandardError()};
}

// Runs tarvex-cli and tells whether every file succeeded.
bool succeeds(const QStringList &args)
{
    return cli(args).status == 0;
}

const QJsonObject tagsOf(const QString &path)
{
    return cli({"tags", path}).json.at(0).toObject();
}

// Names in a folder, hidden ones included: a left-over temporary file would show here.
QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// What `tags` gives after the edits of setThenTags.
const char *const setExpected = R"({"fichier": "%1",
    "v1": {"Titre": "Été indien", "Artiste": "??????????", "Album": "Best of", "Annee": "",
           "Commentaire": "", "Piste": 3, "Genre": 102},
    "v2": {"Titre": "Été indien", "Artiste": "Чайковский", "Album": "Best of", "Annee": "",
           "Commentaire": "", "Piste": "3/12", "Genre": 102, "Compositeur": "", "Original": "",
           "Copyright": "", "Url": "http://exemple.fr", "Encode": "", "Image": {"octets": %2}, "Images": [{"type": 3, "mime": "image/jpeg", "octets": %2}]}})";

// The frames `tags` lists after those edits: key, name, and value (or size for the picture).
QJsonArray setFrames(qint64 image)
{
    const QStringList frames{"TALB|Album|Best of",
                             "APIC|Image|",
                             "TIT2|Titre|Été indien",
                             "TPE1|Artiste|Чайковский",
                             "TRCK|Piste|3/12",
                             "TCON|Genre|(102)Chanson",
                             "WXXX|URL|http://exemple.fr",
                             "TPE2|Artiste de l'album|Moi/Toi",
                             "TPOS|Disque|1/2"};
    QJsonArray array;
    for (const QString &f : frames) {
        QJsonObject object{{"cle", f.section('|', 0, 0)}, {"nom", f.section('|', 1, 1)}};
        if (f.startsWith("APIC"))
            object.insert("octets", double(image));
        else
            object.insert("valeur", f.section('|', 2));
        array.append(object);
    }
    return array;
}

} // namespace

class TestTagCommands : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath("chanson.mp3");

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(qEnvironmentVariable("TARVEX_CLI")),
                 "TARVEX_CLI ne désigne pas tarvex-cli");
    }

    void init() { QVERIFY(writeFile(m_path, mpegFrames(4))); }

    void setThenTags()
    {
        const QString jpeg = m_dir.filePath("POCHETTE.JPG");
        QVERIFY(writeFile(jpeg, jpegBytes()));
        QVERIFY(succeeds({"set", "--v1", "--v2", "--titre=Été indien", "--artiste=Чайковский",
                          "--piste=3/12", "--genre=Chanson", "--url=http://exemple.fr",
                          "--image=" + jpeg, "--champ=TPE2=Moi\\\\Toi", "--champ=TXXX:Humeur=gai",
                          m_path}));
        // A second edit changes only the named field and frames; the picture stays.
        QVERIFY(succeeds(
            {"set", "--album=Best of", "--retirer=TXXX:Humeur", "--champ=Disque=1/2", m_path}));
        const qint64 image = QFileInfo(jpeg).size();
        QJsonObject expected =
            QJsonDocument::fromJson(QString(setExpected).arg(m_path).arg(image).toUtf8()).object();
        QJsonObject v2 = expected["v2"].toObject();
        v2.insert("Trames", setFrames(image + 14)); // with the picture's MIME type and type
        expected["v2"] = v2;
        QCOMPARE(tagsOf(m_path), expected);
    }

    void versions_data()
    {
        QTest::addColumn<QString>("before"); // options of a first save; none when empty
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("artists"); // v1|v2 afterwards, "-" when there is no such tag
        const auto row = [](const char *name, const char *before, const char *command,
                            const char *artists) {
            QTest::newRow(name) << QString(before) << QString(command) << QString(artists);
        };
        const char *both = "--v1 --v2";
        row("no tag, no flag: ID3v2 alone", "", "set --artiste=N", "-|N");
        row("ID3v1 only, no flag: ID3v1 alone", "--v1", "set --artiste=N", "N|-");
        row("both, no flag: both", both, "set --artiste=N", "N|N");
        row("no tag, --v1 creates it", "", "set --v1 --artiste=N", "N|-");
        row("ID3v2 only, --v1 adds ID3v1", "--v2", "set --v1 --artiste=N", "N|");
        row("clear removes both by default", both, "clear", "-|-");
        row("clear --v1 removes the ID3v1 block", both, "clear --v1", "-|");
        row("clear --v2 removes the ID3v2 tag", both, "clear --v2", "|-");
    }

    // set writes the versions the file has, or those named; clear removes them. The same command
    // again changes nothing, and the audio stays.
    void versions()
    {
        QFETCH(QString, before);
        QFETCH(QString, command);
        QVERIFY(before.isEmpty() ||
                succeeds(("set " + before).split(' ') << "--titre=t" << m_path));
        const QStringList args = command.split(' ') << m_path;
        QVERIFY(succeeds(args));
        const QByteArray now = readFile(m_path);
        QCOMPARE(now.mid(mpeg::audioStart(m_path), 4 * 417), mpegFrames(4));
        QVERIFY(succeeds(args));
        QCOMPARE(readFile(m_path), now);
        const QJsonObject entry = tagsOf(m_path);
        const auto artist = [&](const char *v) {
            return entry[v].isNull() ? "-" : entry[v]["Artiste"].toString();
        };
        QTEST(artist("v1") + '|' + artist("v2"), "artists");
        if (!before.contains("--v2") && !entry["v2"].isNull())
            QCOMPARE(entry["v2"]["Genre"].toInt(), 255); // a created tag has no genre
    }

    void someFailed()
    {
        // Files are saved a few at a time: the answers must still follow the order given, a
        // failure must not stop the others, and a file named twice (or through a link) is saved
        // whole each time, its permission bits kept.
        const QString missing = m_dir.filePath("absent.mp3"), link = m_dir.filePath("lien.mp3");
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(m_path, mode) && QFile::link(m_path, link));
        QStringList files{m_path, missing};
        for (int i = 0; i < 9; ++i) {
            files.append(m_dir.filePath(QStringLiteral("autre%1.mp3").arg(i)));
            QVERIFY(writeFile(files.last(), mpegFrames(files.size() - 1)));
        }
        files << m_path << link << missing;
        const Run set = cli(QStringList{"set", "--titre=Lot"} + files);
        QCOMPARE(set.status, 1);
        QCOMPARE(set.json.size(), files.size());
        for (qsizetype i = 0; i < files.size(); ++i) {
            QCOMPARE(set.json.at(i)["fichier"].toString(), files[i]);
            QCOMPARE(set.json.at(i)["ok"].toBool(), files[i] != missing);
            QCOMPARE(set.json.at(i)["erreur"].toString().isEmpty(), files[i] != missing);
            if (files[i] != missing) {
                QCOMPARE(tags::readTagV2(files[i])->Titre(), QStringLiteral("Lot"));
                const int frames = files[i] == m_path || files[i] == link ? 4 : int(i);
                QCOMPARE(readFile(files[i]).mid(mpeg::audioStart(files[i])), mpegFrames(frames));
            }
        }
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFile::permissions(m_path) & 0x7077, mode);
        const Run read = cli({"tags", missing, m_path});
        QCOMPARE(read.status, 1);
        QCOMPARE(read.json.at(1)["v2"]["Titre"].toString(), QStringLiteral("Lot"));
        // tags and info print file by file: the text must still be the one Qt gives the array.
        QCOMPARE(read.text, QJsonDocument(read.json).toJson());
        const Run info = cli({"info", m_path, missing, link});
        QCOMPARE(info.json.size(), 3);
        QCOMPARE(info.text, QJsonDocument(info.json).toJson());
    }

    // Help and version go to standard output and end well; a usage mistake is said on standard
    // error and ends with status 2. Neither touches a file.
    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("begins"); // standard output; empty for a usage mistake
        const auto mistake = [](const char *name, const QStringList &args) {
            QTest::newRow(name) << args << QString();
        };
        const QString all = "Utilisation : tarvex-cli COMMANDE",
                      rename = "Utilisation : tarvex-cli rename OPERATION";
        QTest::newRow("--help") << QStringList{"--help"} << all;
        QTest::newRow("help") << QStringList{"help"} << all;
        QTest::newRow("help rename") << QStringList{"help", "rename"} << rename;
        QTest::newRow("rename --help")
            << QStringList{"rename", "--nom=y.mp3", "--help", "x.mp3"} << rename;
        QTest::newRow("--version") << QStringList{"--version"} << "tarvex-cli " TARVEX_VERSION "\n";
        mistake("no file", {"set", "--titre=x"});
        mistake("unknown option", {"set", "--couleur=rouge", "x.mp3"});
        mistake("unknown genre", {"set", "--genre=Zouk", "x.mp3"});
        mistake("genre above a byte", {"set", "--genre=300", "x.mp3"});
        mistake("picture not jpg", {"set", "--image=/etc/hostname", "x.mp3"});
        mistake("ID3v1 track 300", {"set", "--v1", "--piste=300", "x.mp3"});
        mistake("copy without direction", {"copy", "x.mp3"});
        mistake("bad mode", {"copy", "--v1-vers-v2", "--mode=deux", "x.mp3"});
        mistake("unknown rip tags",
                {"rip", "--cd-image=x.mp3", "--piste=1", "--mp3", "--tags=tous", "x.mp3"});
        mistake("rip tags in a WAV",
                {"rip", "--cd-image=x.mp3", "--piste=1", "--wav", "--tags=v1", "x.mp3"});
        mistake("two rename operations", {"rename", "--nom=a.mp3", "--inverser=0", "x.mp3"});
    }

    void usage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, begins);
        const QStringList names = namesIn(m_dir.path());
        const QByteArray before = readFile(m_path);
        const Run run = cli(args.replaceInStrings("x.mp3", m_path));
        QCOMPARE(run.status, begins.isEmpty() ? 2 : 0);
        QVERIFY2(QString::fromUtf8(run.text).startsWith(begins), run.text.constData());
        QCOMPARE(run.errors.isEmpty(), !begins.isEmpty());
        QCOMPARE(namesIn(m_dir.path()), names);
        QCOMPARE(readFile(m_path), before);
    }

    void copy_data()
    {
        // ID3v2: title, album, composer, genre 9, the row's track, no year.
        // ID3v1: no title, artist A1, year 1999, track 4, no genre.
        QTest::addColumn<QString>("direction");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("piste2");
        QTest::addColumn<QString>("expected"); // the target tag afterwards, as read below
        QTest::addColumn<QString>("genre2");   // a genre the list lacks, instead of genre 9
        const auto row = [](const char *name, const char *direction, int mode, const char *piste2,
                            const char *expected, const char *genre2 = "") {
            QTest::newRow(name) << direction << mode << piste2 << expected << QString(genre2);
        };
        // title|album|composer|genre (number and free text)|artist|track of the ID3v2 tag
        const char *v1v2 = "--v1-vers-v2";
        row("1>2 0: new tag from every field", v1v2, 0, "7/12", "|||255|A1|4");
        row("1>2 1: non-empty fields over the tag", v1v2, 1, "7/12", "Titre v2|Album v2||9|A1|4");
        row("1>2 2: every field, v2-only kept", v1v2, 2, "7/12", "||Compositeur v2|255|A1|4");
        row("1>2 6 counts as 3", v1v2, 6, "7/12", "Titre v2|Album v2|Compositeur v2|9|A1|4");
        row("1>2 -1 starts empty, copies non-empty", v1v2, -1, "7/12", "|||0|A1|4");
        row("1>2 2 clears a free-text genre", v1v2, 2, "7/12", "||Compositeur v2|255|A1|4",
            "Chanson française");
        // title|year|track|genre of the ID3v1 tag
        const char *v2v1 = "--v2-vers-v1";
        row("2>1 0, track without digits", v2v1, 0, "x", "Titre v2||0|9");
        row("2>1 1, empty track keeps the block's", v2v1, 1, "", "Titre v2|1999|4|9");
        row("2>1 2 copies only non-empty fields", v2v1, 2, "", "Titre v2|1999|4|9");
    }

    void copy()
    {
        QFETCH(QString, direction);
        QFETCH(int, mode);
        QFETCH(QString, piste2);
        QFETCH(QString, genre2);
        QVERIFY(succeeds({"set", "--v2", "--titre=Titre v2", "--album=Album v2", "--genre=9",
                          "--piste=" + piste2, "--compositeur=Compositeur v2", m_path}));
        if (!genre2.isEmpty()) {
            tags::TypeTagV2 t = tags::readTagV2(m_path).value();
            t.setGenre(tags::NoGenre);
            t.setGenreTexte(genre2);
            QVERIFY(saved(tags::writeTagV2(m_path, t)));
        }
        QVERIFY(succeeds(
            {"set", "--v1", "--artiste=A1", "--annee=1999", "--piste=4", "--genre=255", m_path}));
        QVERIFY(succeeds({"copy", direction, "--mode=" + QString::number(mode), m_path}));
        const tags::TypeTagV1 t1 = tags::readTagV1(m_path);
        const tags::TypeTagV2 t2 = tags::readTagV2(m_path).value();
        const QStringList target =
            direction == "--v1-vers-v2"
                ? QStringList{t2.Titre(),       t2.Album(),
                              t2.Compositeur(), QString::number(t2.Genre()) + t2.GenreTexte(),
                              t2.Artiste(),     t2.Piste()}
                : QStringList{t1.Titre(), t1.Annee(), QString::number(t1.Piste()),
                              QString::number(t1.Genre())};
        QTEST(target.join('|'), "expected");
    }

    // info on a file that holds no MPEG audio says what it is, whatever chance patterns its data
    // hold (here MPEG frames); a RIFF file whose format is MPEG audio is read.
    void infoOfOtherContainers_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("container"); // empty: MPEG audio
        const QByteArray audio = mpegFrames(3);
        const auto riff = [&](char format) {
            return QByteArray("RIFF\0\0\0\0WAVEfmt \x10\0\0\0", 20) + format + '\0' +
                   QByteArray(14, '\1') + QByteArray("data\0\0\0\0", 8) + audio;
        };
        // AAC frames of 208 bytes, each header giving that length.
        QByteArray adts;
        for (int i = 0; i < 5; ++i)
            adts += QByteArray("\xFF\xF1\x50\x80\x1A\x1F\xFC", 7) + audio.left(201);
        QTest::newRow("PCM WAV") << riff('\1') << "WAV (RIFF)";
        QTest::newRow("MPEG Layer III in RIFF") << riff('\x55') << "";
        QTest::newRow("FLAC") << "fLaC" + audio << "FLAC";
        QTest::newRow("Opus") << "OggS" + QByteArray(24, '\0') + "OpusHead" + audio << "Ogg";
        QTest::newRow("M4A") << QByteArray("\0\0\0\x18"
                                           "ftypM4A ",
                                           12) +
                                    audio
                             << "MP4";
        QTest::newRow("AAC after an ID3v2 tag")
            << tag(3, frame(3, "TIT2", latin("a"))) + adts << "AAC (ADTS)";
    }

    void infoOfOtherContainers()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, container);
        QVERIFY(writeFile(m_path, bytes));
        const Run run = cli({"info", m_path});
        QCOMPARE(run.status, 0);
        const QJsonObject entry = run.json.at(0).toObject();
        QCOMPARE(entry["conteneur"].toString(), container);
        QCOMPARE(entry["mpeg"]["Valide"].toBool(), container.isEmpty());
        QCOMPARE(entry["infos"]["Mpeg_Mpeg"].toString().isEmpty(), !container.isEmpty());
    }

    // A rich v2.4 tag written by mutagen keeps every value but the edited one, and its version:
    // every other frame byte for byte. A save of nothing, or of the ID3v1 block alone, leaves
    // it byte for byte; --v23 converts it for old players, keeping every value. (The editor's
    // save of a v2.3 one is checked in tests/app/tst_tagpage.cpp.)
    void richTagKept()
    {
        const auto mutagen = [](const QStringList &args) {
            return QJsonDocument::fromJson(richtag(args)).object();
        };
        QVERIFY(writeFile(m_path, mpegFrames(20)));
        mutagen({"write", m_path, "4"});
        QJsonObject before = mutagen({"dump", m_path});
        QVERIFY2(before.size() >= 30, "mutagen n'a pas écrit le tag");
        const QByteArray original = readFile(m_path);
        QVERIFY(succeeds({"set", m_path}));
        QVERIFY(succeeds({"set", "--v1", "--titre=Un", m_path}));
        QCOMPARE(readFile(m_path).left(original.size() - 20 * 417),
                 original.left(original.size() - 20 * 417));
        QVERIFY(succeeds({"set", "--titre=Nouveau", m_path}));
        QJsonObject after = mutagen({"dump", m_path});
        QCOMPARE(after.take("TIT2").toString(), QStringLiteral("Nouveau"));
        before.remove("TIT2");
        QCOMPARE(after, before);
        QVERIFY(readFile(m_path).contains(mpegFrames(20)));
        const auto storedFrames = [](const QByteArray &file) {
            QList<QByteArray> frames;
            for (const tags::Id3v2Frame &f : tags::walkId3v2(file).frames)
                frames.append(f.id == "TIT2" ? QByteArray("TIT2") : f.stored);
            return frames;
        };
        const QByteArray edited = readFile(m_path);
        QCOMPARE(edited[3], '\4');
        QCOMPARE(storedFrames(edited), storedFrames(original));

        QVERIFY(succeeds({"set", "--v23", "--titre=Ancien", m_path}));
        after = mutagen({"dump", m_path});
        QCOMPARE(after.take("TIT2").toString(), QStringLiteral("Ancien"));
        QCOMPARE(after, before);
        QCOMPARE(readFile(m_path)[3], '\3');
    }

    // Tags written by other programs: `tags` lists every frame mutagen reads in them; an edit,
    // an addition and a removal through `set`, in two files at once, change those frames alone
    // as mutagen reads them, and keep each tag's version; the same run again writes nothing.
    void everyFrame_data()
    {
        QTest::addColumn<QStringList>("writer");   // program and arguments, FILE for the file
        QTest::addColumn<QStringList>("changes");  // key=value to set, or a key to remove
        QTest::addColumn<QStringList>("expected"); // mutagen's key=value, or key= for none
        QTest::newRow("mutagen v2.4") << QStringList{"richtag", "4"}
                                      << QStringList{"TMOO=Joyeux", "TPE2=Invité", "PRIV:Tarvex"}
                                      << QStringList{"TMOO=Joyeux", "TPE2=Invité", "PRIV:Tarvex="};
        QTest::newRow("mutagen v2.3")
            << QStringList{"richtag", "3"}
            << QStringList{"TSOP=Autre", "TXXX:Humeur=gai", "COMM:iTunNORM"}
            << QStringList{"TSOP=Autre", "TXXX:Humeur=gai", "COMM:iTunNORM="};
        QTest::newRow("eyeD3 v2.4")
            << QStringList{"eyeD3",
                           "-Q",
                           "--title",
                           "Titre",
                           "--artist",
                           "Artiste",
                           "--album-artist",
                           "AA",
                           "--disc-num",
                           "1",
                           "--bpm",
                           "120",
                           "--text-frame",
                           "TSOP:Tri",
                           "--user-text-frame",
                           "Note:valeur",
                           "--add-comment",
                           "Bien:Commentaire décrit:fra",
                           "--publisher",
                           "Label",
                           "--user-url-frame",
                           "site:http://exemple.fr",
                           "FILE"}
            << QStringList{"TPUB=Autre label", "Tri de l'album=Tri", "COMM:Commentaire décrit"}
            << QStringList{"TPUB=Autre label", "TSOA=Tri", "COMM:Commentaire décrit="};
        QTest::newRow("kid3-cli v2.3") << QStringList{"kid3-cli",
                                                      "-c",
                                                      "set title 'Titre K'",
                                                      "-c",
                                                      "set albumartist 'AA'",
                                                      "-c",
                                                      "set discnumber 2",
                                                      "-c",
                                                      "set bpm 99",
                                                      "-c",
                                                      "set lyrics 'la'",
                                                      "FILE"}
                                       << QStringList{"TPE2=Autre AA", "TCMP=1", "USLT"}
                                       << QStringList{"TPE2=Autre AA", "TCMP=1", "USLT="};
    }
    void everyFrame()
    {
        QFETCH(QStringList, writer);
        QFETCH(QStringList, changes);
        QFETCH(QStringList, expected);
        if (richtag({"fields"}) != "[]\n")
            TARVEX_PEER_MISSING("mutagen (python3-mutagen) n'est pas installé");
        if (writer[0] != "richtag" && QStandardPaths::findExecutable(writer[0]).isEmpty())
            TARVEX_PEER_MISSING(qPrintable(writer[0] + " n'est pas installé"));
        QVERIFY(writeFile(m_path, mpegFrames(20)));
        if (writer[0] == "richtag") {
            richtag({"write", m_path, writer[1]});
        } else {
            QProcess program;
            program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
            program.start(writer[0],
                          writer.mid(1).replaceInStrings(QRegularExpression("^FILE$"), m_path));
            QVERIFY(program.waitForFinished(60000) && program.exitCode() == 0);
        }
        const QString other = m_dir.filePath("autre.mp3");
        QVERIFY(QFile::copy(m_path, other) || (QFile::remove(other) && QFile::copy(m_path, other)));
        const auto idsOf = [](const QJsonArray &frames) {
            QStringList ids;
            for (const QJsonValue &frame : frames)
                ids.append(frame["cle"].toString().section(':', 0, 0));
            ids.sort();
            return ids;
        };
        const QJsonObject theirs =
            QJsonDocument::fromJson(richtag({"ids", m_path})).array()[0].toObject();
        QStringList peerIds;
        for (const QJsonValue &id : theirs["ids"].toArray())
            peerIds.append(id.toString());
        peerIds.sort();
        QVERIFY(peerIds.size() >= 5);
        QCOMPARE(idsOf(tagsOf(m_path)["v2"]["Trames"].toArray()), peerIds);

        QJsonObject before = QJsonDocument::fromJson(richtag({"dump", m_path})).object();
        const char version = readFile(m_path)[3];
        QStringList args{"set"};
        for (const QString &change : changes)
            args.append(change.contains('=') ? "--champ=" + change : "--retirer=" + change);
        QVERIFY(succeeds(args + QStringList{m_path, other}));
        for (const QString &change : expected) {
            const QString key = change.section('=', 0, 0), value = change.section('=', 1);
            for (const QString &held : before.keys()) {
                if (held.startsWith(key) && value.isEmpty())
                    before.remove(held);
            }
            if (!value.isEmpty())
                before[key] = value;
        }
        for (const QString &file : {m_path, other}) {
            QCOMPARE(QJsonDocument::fromJson(richtag({"dump", file})).object(), before);
            QCOMPARE(readFile(file)[3], version);
        }
        const QByteArray saved = readFile(m_path);
        QVERIFY(succeeds(args + QStringList{m_path}));
        QCOMPARE(readFile(m_path), saved);
    }

    // Each failure names its real cause; a named pipe or a device is refused at once. A save that
    // cannot finish leaves the file byte for byte and nothing beside it.
    void causesNamed_data()
    {
        QTest::addColumn<QStringList>("args"); // FILE stands for the file of the row
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("cause");
        const auto row = [](const char *name, const QStringList &args, const char *kind,
                            const QString &cause) {
            QTest::newRow(name) << args << QString(kind) << cause;
        };
        const QString notRegular = "pas un fichier ordinaire";
        // A longer title makes the tag outgrow its space: the file is rewritten beside itself.
        const QStringList grow{"set", "--titre=un titre plus long que l'ancien", "FILE"};
        row("tags of a pipe", {"tags", "FILE"}, "pipe", notRegular);
        row("info of a pipe", {"info", "FILE"}, "pipe", notRegular);
        row("set on a pipe", {"set", "--titre=x", "FILE"}, "pipe", notRegular);
        row("clear on a device", {"clear", "/dev/null"}, "", notRegular);
        row("copy into a read-only file", {"copy", "--v2-vers-v1", "FILE"}, "read-only",
            "lecture seule");
        row("set on a read-only file", grow, "read-only", "lecture seule");
        row("set in a read-only folder", grow, "read-only folder", "");
        row("set on a full file system", grow, "full", "place");
        row("set past the file-size limit", grow, "size limit", "fichier trop grand");
        row("copy from a file it cannot read", {"copy", "--v1-vers-v2", "FILE"}, "unreadable",
            "Fichier inaccessible : accès refusé");
        // rename answers in JSON like the other commands; the name is taken in the file's folder.
        row("rename onto an existing name", {"rename", "--nom=chanson.mp3", "FILE"}, "read-only",
            "un fichier de ce nom existe déjà");
    }
    void causesNamed()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, kind);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        const QString folder = dir.filePath("d"), path = folder + "/cause.mp3";
        const QByteArray where = QFile::encodeName(folder);
        QVERIFY(QDir().mkpath(folder) && writeFile(dir.filePath("d/chanson.mp3"), mpegFrames(1)));
        // As root a small tmpfs is mounted there; otherwise the folder's permission bits serve.
        const bool tmpfs = geteuid() == 0 && (kind == "full" || kind == "read-only folder");
        if (kind == "full" && !tmpfs)
            QSKIP("système de fichiers plein non testé : un tmpfs demande les droits root");
        QVERIFY(!tmpfs || mount("tmpfs", where.constData(), "tmpfs", 0, "size=1m") == 0);
        const auto cleanup = qScopeGuard([&] {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            if (tmpfs)
                umount2(where.constData(), MNT_DETACH);
        });
        // 700 KB of audio in a 1 MB file system: the rewritten copy cannot fit beside it.
        const QByteArray content = tag(3, frame(3, "TIT2", latin("vieux"))) + mpegFrames(1700);
        if (kind == "pipe")
            QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (!kind.isEmpty())
            QVERIFY(writeFile(path, content));
        // Past 512 KB a write fails: a rewrite of the 700 KB file cannot be made. Root reads
        // any file: the command then runs as nobody.
        std::function<void()> inChild;
        if (kind == "size limit") {
            inChild = [] {
                const rlimit limit{512 << 10, 512 << 10};
                setrlimit(RLIMIT_FSIZE, &limit);
                signal(SIGXFSZ, SIG_DFL); // as a shell leaves it
            };
        } else if (kind == "unreadable" && geteuid() == 0) {
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                          QFile::ExeOwner | QFile::ExeOther));
            inChild = [] {
                if (setgid(65534) != 0 || setuid(65534) != 0)
                    _exit(127);
            };
        }
        if (kind == "read-only")
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        else if (kind == "unreadable")
            QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
        else if (kind == "read-only folder" && tmpfs)
            QVERIFY(mount("tmpfs", where.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) ==
                    0);
        else if (kind == "read-only folder")
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        const QStringList names = namesIn(folder);
        const QByteArray before = kind == "pipe" ? QByteArray() : readFile(path);
        const Run run = cli(args.replaceInStrings("FILE", path), inChild);
        QCOMPARE(run.status, 1);
        const QString error = run.json.at(0).toObject().value("erreur").toString();
        QVERIFY2(!error.isEmpty() && error.contains(cause), qPrintable(error));
        if (kind != "pipe")
            QCOMPARE(readFile(path), before);
        QCOMPARE(namesIn(folder), names);
    }

    void killedMidSave()
    {
        const QString cli = qEnvironmentVariable("TARVEX_CLI");
        QTemporaryDir dir;
        const QString path = dir.filePath("long.mp3"), reference = dir.filePath("fini.mp3");
        // About 80 MB: long enough to copy and flush that a kill lands in the middle.
        const QByteArray original =
            tag(3, frame(3, "TIT2", latin("vieux"))) + mpegFrames(2000).repeated(100);
        QVERIFY(writeFile(path, original) && QFile::copy(path, reference));
        const QStringList set{"set", "--v2",
                              "--titre=un titre bien plus long, qui ne tient pas à la place"};
        // The content a finished save gives.
        QCOMPARE(QProcess::execute(cli, set + QStringList{reference}), 0);
        const QByteArray saved = readFile(reference);
        QVERIFY(QFile::remove(reference) && saved != original);
        int interrupted = 0;
        for (int delay : {5, 20, 50, 100, 200, 400, 800}) {
            QVERIFY(writeFile(path, original));
            QProcess process;
            process.start(cli, set + QStringList{path});
            QVERIFY(process.waitForStarted());
            QTest::qWait(delay);
            if (process.state() == QProcess::Running) {
                kill(pid_t(process.processId()), SIGKILL);
                ++interrupted;
            }
            process.waitForFinished(120000);
            const QByteArray now = readFile(path);
            QVERIFY2(now == original || now == saved,
                     qPrintable(QString("contenu abîmé après un arrêt à %1 ms").arg(delay)));
            QCOMPARE(namesIn(dir.path()), QStringList{"long.mp3"});
        }
        QVERIFY2(interrupted > 0, "aucune sauvegarde n'a pu être interrompue");
    }
};

QTEST_GUILESS_MAIN(TestTagCommands)
#include "tst_tagcommands.moc"
