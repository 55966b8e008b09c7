// Tags and names: patterns between them both ways, and tarvex-cli between them; fields and
// pictures saved into many files (mutagen reads every other frame back unchanged), failures,
// progress, cancel.
#include "tags/tagbatch.h"
#include "tags/tagpattern.h"
#include "tags/tagpictures.h"

#include "tagtestutil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace tagtest;
using tags::PatternField;
using tags::PatternValues;
using tags::PictureEdit;

Q_DECLARE_METATYPE(PatternValues)

namespace {

const PatternValues song = {{PatternField::Titre, "Où/va"},
                            {PatternField::Artiste, "Brel"},
                            {PatternField::Album, "Ces gens-là"},
                            {PatternField::Piste, "7"}};

} // namespace

class TestTagBatch : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QStringList m_files;

    // Three MP3 files with mutagen's rich version 2.4 tag.
    bool writeRichFiles()
    {
        m_files.clear();
        for (int i = 0; i < 3; ++i) {
            m_files.append(m_dir.filePath(QString("f%1.mp3").arg(i)));
            if (!writeFile(m_files.last(), mpegFrames(8)))
                return false;
            richtag({"write", m_files.last(), "4"});
        }
        return true;
    }

private slots:

    void formatName_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<PatternValues>("values");
        QTest::addColumn<QString>("name"); // empty: a failure
        QTest::newRow("fields and padding")
            << "%piste:2% - %artiste% - %titre%" << song << "07 - Brel - Où-va";
        QTest::newRow("folders") << "%artiste%/%album%/%piste:3% %titre%" << song
                                 << "Brel/Ces gens-là/007 Où-va";
        QTest::newRow("literal percent") << "%%%piste%%% %%titre" << song << "%7% %titre";
        QTest::newRow("missing value") << "%artiste% (%annee%)" << song << "";
        QTest::newRow("dot dot folder") << "../%titre%" << song << "";
        QTest::newRow("name too long") << QString(250, 'a') + "%titre%" << song << "";
        QTest::newRow("unknown field") << "%titel%" << song << "";
        QTest::newRow("width on a text field") << "%titre:2%" << song << "";
    }
    void formatName()
    {
        QFETCH(QString, pattern);
        QFETCH(PatternValues, values);
        QFETCH(QString, name);
        const tags::Result<QString> result = tags::formatName(pattern, values);
        QCOMPARE(result.ok() ? *result : QString(), name);
        QCOMPARE(result.error().isEmpty(), !name.isEmpty());
    }

    void matchName_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("values"); // titre, artiste, piste, annee; empty: no match
        QTest::newRow("separators inside the title")
            << "%piste% - %artiste% - %titre%"
            << "03 - Brel - Ne me - quitte pas"
            << QStringList{"Ne me - quitte pas", "Brel", "03", ""};
        QTest::newRow("track not digits") << "%piste% %titre%"
                                          << "A1 Song" << QStringList{};
        QTest::newRow("same field twice differs") << "%artiste% - %titre% (%artiste%)"
                                                  << "A - B (C)" << QStringList{};
        QTest::newRow("literal percent and regex characters")
            << "%titre% [100%%]"
            << "x.y [100%]" << QStringList{"x.y", "", "", ""};
        QTest::newRow("faulty pattern") << "%titre"
                                        << "x" << QStringList{};
    }
    void matchName()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(QStringList, values);
        const std::optional<PatternValues> got = tags::matchName(pattern, name);
        QCOMPARE(got.has_value(), !values.isEmpty());
        if (got)
            QCOMPARE(
                (QStringList{got->value(PatternField::Titre), got->value(PatternField::Artiste),
                             got->value(PatternField::Piste), got->value(PatternField::Annee)}),
                values);
    }

    void onlyTheEditedFields_data()
    {
        // -1: title and genre; -2: the same, cancelled before it starts; else a PictureEdit action
        QTest::addColumn<int>("edit");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QStringList>("changed"); // key=value of the dump; key alone: gone
        const QByteArray png = imageBytes("PNG");
        QTest::newRow("title and genre")
            << -1 << QByteArray() << QStringList{"TIT2=Nouveau titre", "TCON=Jazz"};
        QTest::newRow("PNG front cover, description kept")
            << int(PictureEdit::SetFrontCover) << png
            << QStringList{"APIC:recto=image/png:PictureType.COVER_FRONT:" +
                           QCryptographicHash::hash(png, QCryptographicHash::Sha1).toHex()};
        QTest::newRow("remove the back cover")
            << int(PictureEdit::RemoveOne) << QByteArray() << QStringList{"APIC:verso"};
        QTest::newRow("not an image: nothing written")
            << int(PictureEdit::SetFrontCover) << QByteArray("GIF89a") << QStringList{};
        QTest::newRow("cancelled: nothing written") << -2 << QByteArray() << QStringList{};
    }
    void onlyTheEditedFields()
    {
        QFETCH(int, edit);
        QFETCH(QByteArray, image);
        QFETCH(QStringList, changed);
        QVERIFY(writeRichFiles());
        QJsonObject expected = QJsonDocument::fromJson(richtag({"dump", m_files[0]})).object();
        QVERIFY2(expected.size() >= 30, "mutagen n'a pas écrit le tag");
        for (const QString &change : changed) {
            const QStringList keyValue = change.split('=');
            if (keyValue.size() == 2)
                expected[keyValue[0]] = keyValue[1];
            else
                expected.remove(change);
        }
        tags::FieldEdit fields;
        if (edit < 0) {
            fields.titre = "Nouveau titre";
            fields.genre = tags::v2Genre("Jazz");
        } else {
            // The back cover's index, whatever order the tag holds them in.
            const bool backFirst = tags::readPictures(m_files[0]).value()[0].type == 4;
            fields.images = PictureEdit{PictureEdit::Action(edit), image, backFirst ? 0 : 1};
        }
        QVERIFY(writeFile(m_dir.filePath("pas-mp3.mp3"), QByteArray(3000, 'x')));
        QList<qsizetype> progress;
        const std::atomic_bool cancel = edit == -2;
        const tags::BatchReport report =
            tags::saveBatch(m_files + QStringList{m_dir.filePath("pas-mp3.mp3")}, fields,
                            {[&](qsizetype done, qsizetype) { progress.append(done); }, &cancel});
        QCOMPARE(report.cancelled, cancel.load());
        QCOMPARE(progress, (cancel ? QList<qsizetype>() : QList<qsizetype>{1, 2, 3, 4}));
        QCOMPARE(report.failures.size(), changed.isEmpty() ? 4 : 1);
        QVERIFY(report.failures.last().raison.contains(cancel ? "annulé" : "pas-mp3.mp3"));
        for (const QString &file : m_files)
            QCOMPARE(QJsonDocument::fromJson(richtag({"dump", file})).object(), expected);
    }

    // set --depuis-nom fills the tags from the name and folders, rename --format names the file
    // from them.
    void commandLine()
    {
        const auto succeeds = [&](const QStringList &args) {
            QProcess cli;
            cli.setWorkingDirectory(m_dir.path());
            cli.start(qEnvironmentVariable("TARVEX_CLI"), args);
            return cli.waitForFinished(60000) && cli.exitCode() == 0;
        };
        const QString name = "Brel/1959/03 - Ne me quitte pas.mp3";
        QVERIFY(QDir(m_dir.path()).mkpath("Brel/1959"));
        QVERIFY(writeFile(m_dir.filePath(name), mpegFrames(8)));
        QVERIFY(succeeds({"set", "--depuis-nom=%artiste%/%annee%/%piste% - %titre%", name}));
        const QJsonObject dump =
            QJsonDocument::fromJson(richtag({"dump", m_dir.filePath(name)})).object();
        QCOMPARE((QStringList{dump["TPE1"].toString(), dump["TDRC"].toString(),
                              dump["TRCK"].toString(), dump["TIT2"].toString()}),
                 (QStringList{"Brel", "1959", "3", "Ne me quitte pas"}));
        QVERIFY(succeeds({"rename", "--format=%annee%/%artiste% - %piste:2% %titre%", name}));
        QVERIFY(QFile::exists(m_dir.filePath("Brel/1959/1959/Brel - 03 Ne me quitte pas.mp3")));
    }
};

QTEST_GUILESS_MAIN(TestTagBatch)
#include "tst_tagbatch.moc"
