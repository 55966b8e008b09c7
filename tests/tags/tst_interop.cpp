// Agreement with mutagen on the outside corpus: what each reads, and saves that keep the audio.
#include "tags/genres.h"
#include "tags/id3v1.h"
#include "tags/id3v2frames.h"
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"

#include "tagtestutil.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace tagtest;

namespace {

QJsonArray dump(const QStringList &files)
{
    return QJsonDocument::fromJson(richtag(QStringList{"fields"} + files)).array();
}

// The PCM that mpg123 decodes from MPEG bytes.
QByteArray decoded(const QByteArray &mp3)
{
    QProcess mpg123;
    mpg123.start("mpg123", {"-q", "-s", "-"});
    mpg123.write(mp3);
    mpg123.closeWriteChannel();
    mpg123.waitForFinished(60000);
    return mpg123.readAllStandardOutput();
}

} // namespace

class TestInterop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (richtag({"fields"}) != "[]\n")
            QSKIP("mutagen (python3-mutagen) n'est pas installé");
    }

    void corpus()
    {
        const QString root = qEnvironmentVariable("TARVEX_CORPUS");
        QStringList files;
        for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
             !root.isEmpty() && it.hasNext();)
            files.append(it.next());
        if (files.isEmpty())
            QSKIP("corpus extérieur absent (TARVEX_CORPUS)");
        const QJsonArray peer = dump(files);
        QCOMPARE(peer.size(), files.size());
        QTemporaryDir dir;
        int compared = 0, saved = 0;
        for (qsizetype i = 0; i < files.size(); ++i) {
            const QString name = QFileInfo(files[i]).fileName();
            const QByteArray before = readAll(files[i]), tail128 = before.right(128);
            const bool v1 = tail128.size() == 128 && tail128.left(3).toUpper() == "TAG";
            QVERIFY2(tags::readTagV1(files[i]).Valide() == v1, qPrintable(name));
            const tags::Result<tags::TypeTagV2> read = tags::readTagV2(files[i]);
            QVERIFY2(read.ok(), qPrintable(name));
            tags::TypeTagV2 ours = *read;
            const QJsonObject theirs = peer.at(i).toObject();
            if (!theirs.contains("erreur")) {
                QVERIFY2(ours.Valide(), qPrintable(name));
                ++compared;
                // Genres are compared when mutagen gives a listed name ("80s" is read by number).
                const QString genre = theirs["TCON"].toString();
                const bool listed = tags::genreChoices().contains(genre, Qt::CaseInsensitive);
                const QStringList mine{ours.Titre(), ours.Artiste(), ours.Album(), ours.Piste(),
                                       listed ? tags::genreName(ours.Genre()) : genre};
                const QStringList peers{theirs["TIT2"].toString(), theirs["TPE1"].toString(),
                                        theirs["TALB"].toString(), theirs["TRCK"].toString(),
                                        genre};
                QVERIFY2(mine == peers,
                         qPrintable(name + ": " + mine.join('|') + " / " + peers.join('|')));
            }
            if (!name.endsWith(".mp3"))
                continue;
            // Saving into a copy keeps the audio byte for byte, but for the byte count of a Xing
            // or VBRI header, which now holds the new file's length.
            const QString copy = dir.filePath(QString::number(i) + name);
            QVERIFY(writeAll(copy, before));
            ours.setValide(true);
            ours.setTitre("Titre de test");
            const tags::Result<bool> written = tags::writeTagV2(copy, ours);
            const QByteArray after = readAll(copy);
            if (!written.ok()) {
                // Refused (not MPEG audio, or a tag it could not walk to its end): untouched.
                QVERIFY2(written.error().contains("rien n'a été écrit"),
                         qPrintable(written.error()));
                QCOMPARE(after, before);
                continue;
            }
            ++saved;
            QCOMPARE(tags::readTagV2(copy)->Titre(), QStringLiteral("Titre de test"));
            const QByteArray tail = after.mid(qsizetype(tags::id3v2DeclaredSize(after)));
            QByteArray expected = before.right(tail.size());
            const QByteArray length = bigEndian(quint32(after.size()));
            const qsizetype field = tail.indexOf(length);
            if (tail != expected && field >= 0)
                expected.replace(field, 4, length);
            QVERIFY2(tail == expected, qPrintable(name));
            // What went with the old tag holds no audio: mpg123 decodes the same samples.
            QVERIFY2(decoded(before) == decoded(tail), qPrintable(name));
        }
        QVERIFY(compared > 5 && saved > 5);
        const tags::TypeTagV1 known = tags::readTagV1(root + "/mutagen/silence-44-s-v1.mp3");
        QCOMPARE((QStringList{known.Titre(), known.Artiste()}), (QStringList{"Silence", "piman"}));
        QCOMPARE((QList<int>{known.Piste(), known.Genre()}), (QList<int>{2, 50}));
    }
};

QTEST_GUILESS_MAIN(TestInterop)
#include "tst_interop.moc"
