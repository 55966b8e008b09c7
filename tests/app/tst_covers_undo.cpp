#include "formfixture.h"

#include "app/coverpanel.h"
#include "mpegstream.h"

#include "../tags/tagtestutil.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Every frame of a file as mutagen reads it, pictures as "mime:type:sha1" (see richtag.py).
QJsonObject frames(const QStringList &args)
{
    return QJsonDocument::fromJson(tagtest::richtag(args)).object();
}

// A shown window on a.mp3 and b.mp3, b.mp3 with mutagen's rich tag (a front cover "recto" of
// 303 bytes that is no image, a PNG back cover), chosen on the page "Tag ID3 v2".
app::Form1 &openRichFile(FormFixture &f)
{
    app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3"_s, mpegstream::frames({}, 40));
    frames({u"write"_s, f.music + u"/b.mp3"_s, u"3"_s});
    f.choose(u"b.mp3"_s);
    tagPage(w)->TS1->setCurrentIndex(app::TagPage::TagV2);
    return w;
}

} // namespace

class TestCoversUndo : public QObject
{
    Q_OBJECT
private slots:
    // Cover chosen, saved, dropped, removed, every other frame kept; then all three undone.
    void coverThenUndo()
    {
        FormFixture f;
        app::CoverPanel *cover = openRichFile(f).findChild<app::CoverPanel *>();
        const QString file = f.music + u"/b.mp3"_s, png = f.dir.filePath(u"i.png"_s),
                      jpeg = f.dir.filePath(u"i.jpeg"_s), copy = f.dir.filePath(u"copie"_s);
        const QByteArray original = mpegstream::readFile(file);
        QJsonObject others = frames({u"dump"_s, file});
        others.remove(u"APIC:recto"_s);
        const auto front = [&] { // the front cover, once every other frame was found unchanged
            QJsonObject now = frames({u"dump"_s, file});
            const QString recto = now.take(u"APIC:recto"_s).toString();
            return now == others ? recto : u"autres cadres changés"_s;
        };
        const auto picture = [](const QString &mime, const QString &path) {
            return u"image/%1:PictureType.COVER_FRONT:%2"_s.arg(
                mime, QCryptographicHash::hash(mpegstream::readFile(path), QCryptographicHash::Sha1)
                          .toHex());
        };
        const QString shown = u"303 octets\ncouverture (recto), image/jpeg"_s;
        QCOMPARE(cover->lblPochetteInfo->text(), shown);
        for (const QString &path : {png, jpeg})
            QVERIFY(QImage(16, 8, QImage::Format_RGB32).save(path));
        f.dialogs->files = {png, copy};
        cover->cmdAjouterPochette->click();
        QCOMPARE(front(), picture(u"png"_s, png));
        cover->cmdEnregistrerPochette->click();
        QCOMPARE(mpegstream::readFile(copy), mpegstream::readFile(png));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(jpeg)});
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(cover->lblPochette, &enter);
        QVERIFY(enter.isAccepted());
        QApplication::sendEvent(cover->lblPochette, &drop);
        QCOMPARE(front(), picture(u"jpeg"_s, jpeg));
        cover->cmdSupprimerPochette->click();
        QCOMPARE(front(), QString());
        QCOMPARE(cover->lblPochetteInfo->text(), u"204 octets\ncouverture (verso), image/png"_s);
        QAction *undo = commands(*f.form)->item(u"annuler"_s);
        for (int i = 0; i < 3; ++i)
            undo->trigger();
        QCOMPARE(mpegstream::readFile(file), original);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(cover->lblPochetteInfo->text(), shown);
    }

    // Renaming and move undone, last first; a tag save not undone over a file changed since.
    void undoCommands()
    {
        FormFixture f;
        app::Form1 &w = openRichFile(f);
        const QString b = f.music + u"/b.mp3"_s;
        tagPage(w)->editor->txtv2Titre->setText(u"Nouveau"_s);
        commands(w)->button(u"enreID"_s)->trigger();
        f.write(u"b.mp3"_s, mpegstream::readFile(b) + "ajout d'un autre programme");
        const QByteArray changed = mpegstream::readFile(b);
        setFields(&w, u"TS1=3|Option5|Text2=c.mp3"_s);
        f.check(u"a.mp3"_s);
        w.toolbarClick(u"voir"_s);
        w.toolbarClick(u"renom"_s);
        f.check(u"c.mp3"_s);
        f.dialogs->folders = {f.dir.path()};
        commands(w)->item(u"deplacer2"_s)->trigger();
        QAction *undo = commands(w)->item(u"annuler"_s);
        for (const QString &step : {u"Déplacement=b.mp3|c.mp3"_s, u"Renommage=a.mp3|b.mp3"_s}) {
            QCOMPARE(undo->text(), u"&Annuler : "_s + step.section(u'=', 0, 0));
            undo->trigger();
            QCOMPARE(column(f.list(), 0), step.section(u'=', 1));
        }
        QCOMPARE(undo->text(), u"&Annuler : Enregistrement du tag"_s);
        undo->trigger();
        QCOMPARE(mpegstream::readFile(b), changed);
        QVERIFY2(f.dialogs->lastText().contains(u"b.mp3"_s), qPrintable(f.dialogs->lastText()));
    }

    // To the trash, or for good from another entry, each after a question naming the files.
    void deletion()
    {
        FormFixture f;
        qputenv("XDG_DATA_HOME", QFile::encodeName(f.dir.path()));
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3|c.mp3|d.mp3|e.mp3"_s);
        f.check(u"a.mp3|b.mp3|c.mp3|d.mp3"_s);
        commands(w)->item(u"supprimer2"_s)->trigger();
        QCOMPARE(f.dialogs->lastText(),
                 u"Mettre 4 fichiers à la corbeille : a.mp3, b.mp3, c.mp3 et 1 autre(s) ?"_s);
        f.check(u"e.mp3"_s);
        commands(w)->item(u"supprimerdef"_s)->trigger();
        QCOMPARE(f.dialogs->lastText(), u"Supprimer définitivement 1 fichier : e.mp3 ? Cette "
                                        u"suppression ne peut pas être annulée."_s);
        QCOMPARE(QDir(f.music).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(f.dir.filePath(u"Trash/files"_s)).entryList(QDir::Files).join(u'|'),
                 u"a.mp3|b.mp3|c.mp3|d.mp3"_s);
    }
};

QTEST_MAIN(TestCoversUndo)
#include "tst_covers_undo.moc"
