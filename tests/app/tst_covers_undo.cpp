#include "formfixture.h"

#include "app/coverpanel.h"
#include "mpegstream.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QByteArray audio = mpegstream::frames(mpegstream::FrameHeader{}, 40);

// Every frame of a file as mutagen reads it, pictures as "mime:type:sha1" (see richtag.py).
QJsonObject frames(const QStringList &args)
{
    QProcess p;
    p.start(u"/usr/bin/python3"_s, QStringList{QFINDTESTDATA("../tags/richtag.py")} + args);
    p.waitForFinished(60000);
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QByteArray bytesOf(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCoversUndo : public QObject
{
    Q_OBJECT

    // A shown window on riche.mp3 (mutagen's rich tag: a front cover "recto" of 303 bytes that
    // is no image, a PNG back cover), the file chosen and the page "Tag ID3 v2" shown.
    app::CoverPanel *openRichFile(FormFixture &f)
    {
        app::Form1 &w = f.startOnFiles(u"riche.mp3"_s, audio);
        frames({u"write"_s, f.music + u"/riche.mp3"_s, u"3"_s});
        f.list()->setCurrentItem(f.row(u"riche.mp3"_s));
        emit f.list()->itemClicked(f.row(u"riche.mp3"_s), 0);
        tagPage(w)->TS1->setCurrentIndex(app::TagPage::TagV2);
        return w.findChild<app::CoverPanel *>();
    }

private slots:
    void initTestCase()
    {
        if (QProcess::execute(u"/usr/bin/python3"_s, {u"-c"_s, u"import mutagen"_s}) != 0)
            QFAIL("python3-mutagen is needed to check tags independently");
    }

    // The front cover replaced (file dialog or drop) or removed, every other frame kept; then
    // "Annuler" gives the file back byte for byte.
    void coverThenUndo_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("format"); // of the image added
        QTest::addColumn<QString>("info");   // the thumbnail's text afterwards
        QTest::newRow("PNG chosen")
            << u"dialog"_s << u"PNG"_s << u", 16 × 8 pixels\ncouverture (recto), image/png"_s;
        QTest::newRow("JPEG dropped")
            << u"drop"_s << u"JPG"_s << u", 16 × 8 pixels\ncouverture (recto), image/jpeg"_s;
        QTest::newRow("removed") << u"remove"_s << u""_s
                                 << u"204 octets\ncouverture (verso), image/png"_s;
    }
    void coverThenUndo()
    {
        QFETCH(QString, action);
        QFETCH(QString, format);
        QFETCH(QString, info);
        FormFixture f;
        app::CoverPanel *cover = openRichFile(f);
        const QString file = f.music + u"/riche.mp3"_s;
        const QByteArray original = bytesOf(file);
        QJsonObject before = frames({u"dump"_s, file});
        QCOMPARE(cover->lblPochetteInfo->text(), u"303 octets\ncouverture (recto), image/jpeg"_s);

        const QString image = f.dir.filePath(u"image."_s + format.toLower());
        QImage picture(16, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(action == u"remove"_s || picture.save(image, qPrintable(format)));
        if (action == u"dialog"_s) {
            f.dialogs->files = {image};
            cover->cmdAjouterPochette->click();
        } else if (action == u"drop"_s) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(image)});
            QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(cover->lblPochette, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(cover->lblPochette, &drop);
        } else {
            cover->cmdSupprimerPochette->click();
        }
        QJsonObject after = frames({u"dump"_s, file});
        const QString recto = after.take(u"APIC:recto"_s).toString();
        before.remove(u"APIC:recto"_s);
        QCOMPARE(after, before);
        QVERIFY2(cover->lblPochetteInfo->text().endsWith(info),
                 qPrintable(cover->lblPochetteInfo->text()));
        if (action != u"remove"_s) {
            const QByteArray added = bytesOf(image);
            QCOMPARE(recto, u"image/%1:PictureType.COVER_FRONT:%2"_s.arg(
                                format == u"PNG"_s ? u"png"_s : u"jpeg"_s,
                                QCryptographicHash::hash(added, QCryptographicHash::Sha1).toHex()));
            f.dialogs->files = {f.dir.filePath(u"copie"_s)};
            cover->cmdEnregistrerPochette->click();
            QCOMPARE(bytesOf(f.dir.filePath(u"copie"_s)), added);
        } else {
            QVERIFY(recto.isEmpty());
        }

        QAction *undo = commands(*f.form)->item(u"annuler"_s);
        QVERIFY(undo->text().startsWith(u"&Annuler : "_s));
        undo->trigger();
        QCOMPARE(bytesOf(file), original);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(cover->lblPochetteInfo->text(), u"303 octets\ncouverture (recto), image/jpeg"_s);
    }

    // A renaming and a move are undone; a tag save is not undone over a file another program
    // changed since, and the message names the file.
    void undoCommands()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3"_s, audio);
        const QString b = f.music + u"/b.mp3"_s;
        frames({u"write"_s, b, u"3"_s});
        f.list()->setCurrentItem(f.row(u"b.mp3"_s));
        emit f.list()->itemClicked(f.row(u"b.mp3"_s), 0);
        tagPage(w)->TS1->setCurrentIndex(app::TagPage::TagV2);
        tagPage(w)->editor->txtv2Titre->setText(u"Nouveau"_s);
        commands(w)->button(u"enreID"_s)->trigger();
        f.write(u"b.mp3"_s, bytesOf(b) + "ajout d'un autre programme");
        const QByteArray changed = bytesOf(b);

        setFields(&w, u"TS1=3|Option5|Text2=c.mp3"_s);
        f.check(u"a.mp3"_s);
        w.toolbarClick(u"voir"_s);
        w.toolbarClick(u"renom"_s);
        f.check(u"c.mp3"_s);
        f.dialogs->folders = {f.dir.path()};
        commands(w)->item(u"deplacer2"_s)->trigger();
        QCOMPARE(column(f.list(), 0), u"b.mp3"_s);

        QAction *undo = commands(w)->item(u"annuler"_s);
        QCOMPARE(undo->text(), u"&Annuler : Déplacement"_s);
        undo->trigger();
        QCOMPARE(column(f.list(), 0), u"b.mp3|c.mp3"_s);
        QCOMPARE(undo->text(), u"&Annuler : Renommage"_s);
        undo->trigger();
        QCOMPARE(column(f.list(), 0), u"a.mp3|b.mp3"_s);
        QCOMPARE(undo->text(), u"&Annuler : Enregistrement du tag"_s);
        const qsizetype shown = f.dialogs->shown.size();
        undo->trigger();
        QCOMPARE(bytesOf(b), changed);
        QCOMPARE(f.dialogs->shown.size(), shown + 1);
        QVERIFY2(f.dialogs->lastText().contains(u"b.mp3"_s), qPrintable(f.dialogs->lastText()));
        QVERIFY(!undo->isEnabled());
    }

    // "Supprimer" puts the checked files in the trash after a question that names them;
    // deleting for good is another entry with its own question.
    void deletion_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("trashed");
        QTest::addColumn<QString>("left");
        QTest::newRow("one to the trash")
            << u"supprimer2"_s << u"b.mp3"_s << u"Mettre 1 fichier à la corbeille : b.mp3 ?"_s
            << u"b.mp3"_s << u"a.mp3|c.mp3|d.mp3"_s;
        QTest::newRow("four to the trash")
            << u"supprimer2"_s << u"a.mp3|b.mp3|c.mp3|d.mp3"_s
            << u"Mettre 4 fichiers à la corbeille : a.mp3, b.mp3, c.mp3 et 1 autre(s) ?"_s
            << u"a.mp3|b.mp3|c.mp3|d.mp3"_s << u""_s;
        QTest::newRow("for good") << u"supprimerdef"_s << u"a.mp3|c.mp3"_s
                                  << u"Supprimer définitivement 2 fichiers : a.mp3, c.mp3 ? "
                                     u"Cette suppression ne peut pas être annulée."_s
                                  << u""_s << u"b.mp3|d.mp3"_s;
    }
    void deletion()
    {
        QFETCH(QString, item);
        QFETCH(QString, checked);
        QFETCH(QString, trashed);
        FormFixture f;
        QVERIFY(QDir(f.dir.path()).mkdir(u"donnees"_s));
        qputenv("XDG_DATA_HOME", QFile::encodeName(f.dir.filePath(u"donnees"_s)));
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3|c.mp3|d.mp3"_s);
        f.check(checked);
        commands(w)->item(item)->trigger();
        QTEST(f.dialogs->lastText(), "question");
        QTEST(QDir(f.music).entryList(QDir::Files).join(u'|'), "left");
        QCOMPARE(QDir(f.dir.filePath(u"donnees/Trash/files"_s)).entryList(QDir::Files).join(u'|'),
                 trashed);
    }
};

QTEST_MAIN(TestCoversUndo)
#include "tst_covers_undo.moc"
