// Fields and pictures saved into many files (mutagen reads every other frame back unchanged),
// failures, progress, cancel; tarvex-cli between tags and names.
#include "tags/tagbatch.h"
#include "tags/tagpictures.h"

#include "tagtestutil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace tagtest;
using tags::PictureEdit;

namespace {

QByteArray run(const QString &program, const QStringList &args, const QString &folder = {})
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? p.readAllStandardOutput() : "";
}

QByteArray pngBytes()
{
    QImage image(5, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

class TestTagBatch : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QStringList m_files;

private slots:
    void init()
    {
        m_files.clear();
        for (int i = 0; i < 3; ++i) {
            m_files.append(m_dir.filePath(QString("f%1.mp3").arg(i)));
            QVERIFY(writeAll(m_files.last(), mpegFrames(8)));
            QVERIFY(richtag({"write", m_files.last(), "4"}).isEmpty());
        }
    }

    void onlyTheEditedFields_data()
    {
        QTest::addColumn<int>("edit"); // -1: title and genre; else a PictureEdit action
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QStringList>("changed"); // key=value of the dump; key alone: gone
        const QByteArray png = pngBytes();
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
    }
    void onlyTheEditedFields()
    {
        QFETCH(int, edit);
        QFETCH(QByteArray, image);
        QFETCH(QStringList, changed);
        QJsonObject expected = QJsonDocument::fromJson(richtag({"dump", m_files[0]})).object();
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
        QVERIFY(writeAll(m_dir.filePath("pas-mp3.mp3"), QByteArray(3000, 'x')));
        QList<qsizetype> progress;
        const tags::BatchReport report =
            tags::saveBatch(m_files + QStringList{m_dir.filePath("pas-mp3.mp3")}, fields,
                            {[&](qsizetype done, qsizetype) { progress.append(done); }, nullptr});
        QCOMPARE(progress, (QList<qsizetype>{1, 2, 3, 4}));
        QCOMPARE(report.failures.size(), changed.isEmpty() ? 4 : 1);
        QVERIFY(report.failures.last().raison.contains("pas-mp3.mp3"));
        for (const QString &file : m_files)
            QCOMPARE(QJsonDocument::fromJson(richtag({"dump", file})).object(), expected);
    }

    void cancelledBatchTouchesNothing()
    {
        const std::atomic_bool cancel = true;
        const QByteArray before = readAll(m_files[0]);
        const tags::BatchReport report =
            tags::saveBatch(m_files, {.artiste = QString("Autre")}, {{}, &cancel});
        QVERIFY(report.cancelled);
        QCOMPARE(report.failures.size(), m_files.size());
        QCOMPARE(readAll(m_files[0]), before);
    }

    // set --depuis-nom fills the tags from the name and folders, rename --format names the file
    // from them.
    void commandLine()
    {
        const QString cli = qEnvironmentVariable("TARVEX_CLI");
        const QString name = "Brel/1959/03 - Ne me quitte pas.mp3";
        QVERIFY(QDir(m_dir.path()).mkpath("Brel/1959"));
        QVERIFY(writeAll(m_dir.filePath(name), mpegFrames(8)));
        QVERIFY(!run(cli, {"set", "--depuis-nom=%artiste%/%annee%/%piste% - %titre%", name},
                     m_dir.path())
                     .isEmpty());
        const QJsonObject dump =
            QJsonDocument::fromJson(richtag({"dump", m_dir.filePath(name)})).object();
        QCOMPARE((QStringList{dump["TPE1"].toString(), dump["TDRC"].toString(),
                              dump["TRCK"].toString(), dump["TIT2"].toString()}),
                 (QStringList{"Brel", "1959", "3", "Ne me quitte pas"}));
        QVERIFY(!run(cli, {"rename", "--format=%annee%/%artiste% - %piste:2% %titre%", name},
                     m_dir.path())
                     .isEmpty());
        QVERIFY(QFile::exists(m_dir.filePath("Brel/1959/1959/Brel - 03 Ne me quitte pas.mp3")));
    }
};

QTEST_GUILESS_MAIN(TestTagBatch)
#include "tst_tagbatch.moc"
