#include "mpeg/audiostart.h"
#include "tags/id3v1.h"
#include "tags/id3v2reader.h"

#include "../tags/tagtestutil.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace tagtest;

namespace {

struct Run
{
    int status = -1;
    QJsonArray json;
    QString errors;
};

Run cli(const QStringList &args)
{
    QProcess process;
    process.start(qEnvironmentVariable("TARVEX_CLI"), args);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitCode();
    run.json = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestTagCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void setThenTags();
    void setChoosesVersions_data();
    void setChoosesVersions();
    void setPicture();
    void someFailed();
    void usageErrors_data();
    void usageErrors();
    void copyBothWays();
    void clearVersions_data();
    void clearVersions();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestTagCommands::initTestCase()
{
    QVERIFY2(QFile::exists(qEnvironmentVariable("TARVEX_CLI")),
             "TARVEX_CLI ne désigne pas tarvex-cli");
}

void TestTagCommands::init()
{
    m_path = m_dir.filePath("chanson.mp3");
    QVERIFY(writeAll(m_path, mpegFrames(4)));
}

void TestTagCommands::setThenTags()
{
    const Run set =
        cli({"set", "--v1", "--v2", "--titre=Été indien", "--artiste=Чайковский", "--piste=3/12",
             "--genre=Chanson", "--compositeur=Joe Dassin", "--url=http://exemple.fr", m_path});
    QCOMPARE(set.status, 0);
    QCOMPARE(set.json.size(), 1);
    QCOMPARE(set.json.at(0)["ok"].toBool(), true);

    const Run tags = cli({"tags", m_path});
    QCOMPARE(tags.status, 0);
    const QJsonObject entry = tags.json.at(0).toObject();
    QCOMPARE(entry["fichier"].toString(), m_path);
    const QJsonObject v1 = entry["v1"].toObject(), v2 = entry["v2"].toObject();
    QCOMPARE(v1["Titre"].toString(), QStringLiteral("Été indien"));
    QCOMPARE(v1["Artiste"].toString(), QStringLiteral("??????????"));
    QCOMPARE(v1["Piste"].toInt(), 3);
    QVERIFY(v1["Piste"].isDouble());
    QCOMPARE(v1["Genre"].toInt(), 102);
    QCOMPARE(v2["Artiste"].toString(), QStringLiteral("Чайковский"));
    QCOMPARE(v2["Piste"].toString(), QStringLiteral("3/12"));
    QCOMPARE(v2["Genre"].toInt(), 102);
    QCOMPARE(v2["Compositeur"].toString(), QStringLiteral("Joe Dassin"));
    QCOMPARE(v2["Url"].toString(), QStringLiteral("http://exemple.fr"));
    QVERIFY(v2["Image"].isNull());
    QVERIFY(entry.contains("v1") && entry.contains("v2"));

    // A second edit changes only the named field.
    QCOMPARE(cli({"set", "--album=Best of", m_path}).status, 0);
    const QJsonObject after = cli({"tags", m_path}).json.at(0).toObject();
    QCOMPARE(after["v2"]["Titre"].toString(), QStringLiteral("Été indien"));
    QCOMPARE(after["v2"]["Album"].toString(), QStringLiteral("Best of"));
    QCOMPARE(after["v1"]["Album"].toString(), QStringLiteral("Best of"));
}

void TestTagCommands::setChoosesVersions_data()
{
    QTest::addColumn<QStringList>("before"); // versions the file has
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<bool>("v1");
    QTest::addColumn<bool>("v2");
    QTest::newRow("no tag, no flag: ID3v2 alone")
        << QStringList() << QStringList() << false << true;
    QTest::newRow("ID3v1 only, no flag: ID3v1 alone")
        << QStringList{"v1"} << QStringList() << true << false;
    QTest::newRow("both, no flag: both")
        << QStringList{"v1", "v2"} << QStringList() << true << true;
    QTest::newRow("no tag, --v1 creates it")
        << QStringList() << QStringList{"--v1"} << true << false;
    QTest::newRow("ID3v2 only, --v1 adds ID3v1")
        << QStringList{"v2"} << QStringList{"--v1"} << true << true;
}

void TestTagCommands::setChoosesVersions()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, flags);
    QFETCH(bool, v1);
    QFETCH(bool, v2);
    if (before.contains("v1"))
        QCOMPARE(cli({"set", "--v1", "--titre=avant", m_path}).status, 0);
    if (before.contains("v2"))
        QCOMPARE(cli({"set", "--v2", "--titre=avant", m_path}).status, 0);
    QCOMPARE(cli(QStringList{"set"} + flags + QStringList{"--artiste=Nouveau", m_path}).status, 0);
    const QJsonObject entry = cli({"tags", m_path}).json.at(0).toObject();
    QCOMPARE(entry["v1"].isObject(), v1);
    QCOMPARE(entry["v2"].isObject(), v2);
    const bool v1Edited = v1 && (flags.contains("--v1") || flags.isEmpty());
    if (v1Edited)
        QCOMPARE(entry["v1"]["Artiste"].toString(), QStringLiteral("Nouveau"));
    if (v2 && !flags.contains("--v1"))
        QCOMPARE(entry["v2"]["Artiste"].toString(), QStringLiteral("Nouveau"));
    if (before.contains("v2") && flags.contains("--v1"))
        QCOMPARE(entry["v2"]["Artiste"].toString(), QString()); // not named: left as it was
    if (v2 && !before.contains("v2"))
        QCOMPARE(entry["v2"]["Genre"].toInt(), 255); // a created tag has no genre
}

void TestTagCommands::setPicture()
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString jpeg = m_dir.filePath("pochette.jpg");
    QVERIFY(image.save(jpeg, "JPG"));
    QCOMPARE(cli({"set", "--image=" + jpeg, m_path}).status, 0);
    const QJsonObject v2 = cli({"tags", m_path}).json.at(0)["v2"].toObject();
    QCOMPARE(v2["Image"]["octets"].toInt(), int(QFileInfo(jpeg).size()));
    // A later edit keeps the picture.
    QCOMPARE(cli({"set", "--titre=x", m_path}).status, 0);
    QCOMPARE(cli({"tags", m_path}).json.at(0)["v2"]["Image"]["octets"].toInt(),
             int(QFileInfo(jpeg).size()));
}

void TestTagCommands::someFailed()
{
    // Files are saved a few at a time: the answers must still follow the order given, a
    // failure must not stop the others, and a file named twice (or through a link) is saved
    // whole each time.
    const QString missing = m_dir.filePath("absent.mp3");
    const QString link = m_dir.filePath("lien.mp3");
    QVERIFY(QFile::link(m_path, link));
    QStringList files{m_path, missing};
    for (int i = 0; i < 9; ++i) {
        files.append(m_dir.filePath(QStringLiteral("autre%1.mp3").arg(i)));
        QVERIFY(writeAll(files.last(), mpegFrames(files.size() - 1)));
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
            QCOMPARE(readAll(files[i]).mid(mpeg::audioStart(files[i])), mpegFrames(frames));
        }
    }
    QVERIFY(QFileInfo(link).isSymLink());
    const Run read = cli({"tags", missing, m_path});
    QCOMPARE(read.status, 1);
    QCOMPARE(read.json.at(1)["v2"]["Titre"].toString(), QStringLiteral("Lot"));
}

void TestTagCommands::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no command arguments") << QStringList{"set"};
    QTest::newRow("unknown option") << QStringList{"set", "--couleur=rouge", "x.mp3"};
    QTest::newRow("unknown genre") << QStringList{"set", "--genre=Zouk", "x.mp3"};
    QTest::newRow("genre above a byte") << QStringList{"set", "--genre=300", "x.mp3"};
    QTest::newRow("picture not jpg") << QStringList{"set", "--image=/etc/hostname", "x.mp3"};
    QTest::newRow("track too large for ID3v1")
        << QStringList{"set", "--v1", "--piste=300", "x.mp3"};
    QTest::newRow("value missing") << QStringList{"set", "--titre", "x.mp3"};
    QTest::newRow("copy without direction") << QStringList{"copy", "x.mp3"};
    QTest::newRow("copy both directions")
        << QStringList{"copy", "--v1-vers-v2", "--v2-vers-v1", "x.mp3"};
    QTest::newRow("copy bad mode") << QStringList{"copy", "--v1-vers-v2", "--mode=deux", "x.mp3"};
    QTest::newRow("clear without file") << QStringList{"clear", "--v1"};
    QTest::newRow("tags unknown option") << QStringList{"tags", "-x", "x.mp3"};
}

void TestTagCommands::usageErrors()
{
    QFETCH(QStringList, args);
    const QByteArray before = readAll(m_path);
    const Run run = cli(args);
    QCOMPARE(run.status, 2);
    QVERIFY(!run.errors.isEmpty());
    QCOMPARE(readAll(m_path), before);
}

void TestTagCommands::copyBothWays()
{
    QCOMPARE(cli({"set", "--v1", "--titre=Depuis v1", "--genre=17", m_path}).status, 0);
    const Run toV2 = cli({"copy", "--v1-vers-v2", m_path});
    QCOMPARE(toV2.status, 0);
    QCOMPARE(tags::readTagV2(m_path)->Titre(), QStringLiteral("Depuis v1"));
    QCOMPARE(tags::readTagV2(m_path)->Genre(), 17);

    QCOMPARE(cli({"set", "--v2", "--titre=Depuis v2", "--piste=7/12", m_path}).status, 0);
    QCOMPARE(cli({"copy", "--v2-vers-v1", "--mode=1", m_path}).status, 0);
    QCOMPARE(tags::readTagV1(m_path).Titre(), QStringLiteral("Depuis v2"));
    QCOMPARE(tags::readTagV1(m_path).Piste(), qint16(7));

    const QString bare = m_dir.filePath("nu.mp3");
    QVERIFY(writeAll(bare, mpegFrames(2)));
    const Run nothing = cli({"copy", "--v1-vers-v2", bare});
    QCOMPARE(nothing.status, 1);
    QCOMPARE(readAll(bare), mpegFrames(2));
}

void TestTagCommands::clearVersions_data()
{
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<bool>("v1Left");
    QTest::addColumn<bool>("v2Left");
    QTest::newRow("both by default") << QStringList() << false << false;
    QTest::newRow("ID3v1 block removed") << QStringList{"--v1"} << false << true;
    QTest::newRow("ID3v2 tag removed") << QStringList{"--v2"} << true << false;
}

void TestTagCommands::clearVersions()
{
    QFETCH(QStringList, flags);
    QFETCH(bool, v1Left);
    QFETCH(bool, v2Left);
    QCOMPARE(cli({"set", "--v1", "--v2", "--titre=x", m_path}).status, 0);
    QCOMPARE(cli(QStringList{"clear"} + flags + QStringList{m_path}).status, 0);
    QCOMPARE(tags::readTagV1(m_path).Valide(), v1Left);
    QCOMPARE(tags::readTagV2(m_path)->Valide(), v2Left);
    if (!v1Left && !v2Left)
        QCOMPARE(readAll(m_path), mpegFrames(4));
    // Clearing what is not there succeeds and changes nothing.
    const QByteArray now = readAll(m_path);
    QCOMPARE(cli(QStringList{"clear"} + flags + QStringList{m_path}).status, 0);
    QCOMPARE(readAll(m_path), now);
}

QTEST_GUILESS_MAIN(TestTagCommands)
#include "tst_tagcommands.moc"
