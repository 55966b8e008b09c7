#include "formfixture.h"

#include "app/commandtable.h"
#include "app/fileinfopanel.h"
#include "app/optionspage.h"
#include "app/renamepanel.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "mpegstream.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QPushButton>
#include <QTabBar>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Runs the mutagen helper beside this file; returns its standard output.
QByteArray id3peer(const QStringList &arguments)
{
    QProcess p;
    p.start(u"/usr/bin/python3"_s, QStringList{QFINDTESTDATA("id3peer.py")} + arguments);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qWarning("id3peer.py: %s", p.readAllStandardError().constData());
    return p.readAllStandardOutput();
}

bool haveMutagen()
{
    return QProcess::execute(u"/usr/bin/python3"_s, {u"-c"_s, u"import mutagen"_s}) == 0;
}

// Tags written by mutagen: ID3v2.3 with a full set of frames and an ID3v1.1 block beside it.
void tagWithMutagen(const QString &file)
{
    id3peer({u"write"_s, file});
}

// The ID3v2 frames of a file as mutagen reads them: {"TIT2": "text", ...}.
QJsonObject framesByMutagen(const QString &file)
{
    return QJsonDocument::fromJson(id3peer({u"read"_s, file})).object();
}

struct V1Block
{
    bool present = false;
    QString title, artist, album, year, comment;
    int track = 0;
    int genre = 0;
};

// Reads the last 128 bytes by their fixed layout, apart from the program's own codec.
V1Block v1Of(const QString &file)
{
    QFile f(file);
    V1Block b;
    if (!f.open(QIODevice::ReadOnly) || f.size() < 128)
        return b;
    f.seek(f.size() - 128);
    const QByteArray block = f.read(128);
    if (!block.startsWith("TAG"))
        return b;
    auto text = [&block](int at, int size) {
        QByteArray field = block.mid(at, size);
        const int nul = int(field.indexOf('\0'));
        if (nul >= 0)
            field.truncate(nul);
        return QString::fromLatin1(field).trimmed();
    };
    b.present = true;
    b.title = text(3, 30);
    b.artist = text(33, 30);
    b.album = text(63, 30);
    b.year = text(93, 4);
    b.comment = text(97, 28);
    b.track = block[125] == 0 ? quint8(block[126]) : 0;
    b.genre = quint8(block[127]);
    return b;
}

QByteArray bytesOf(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTagPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void openFolderListsMatchingFiles();
    void cancelledFolderShowsNothing();
    void fileTypeSwitch();
    void wavRowShowsInfoOnly();
    void mp3RowShowsBothVersions();
    void genrePositions_data();
    void genrePositions();
    void saveWritesFields();
    void cancelledSaveChangesNothing();
    void defaultsOverrideFields();
    void copyBetweenVersions_data();
    void copyBetweenVersions();
    void deleteEmptiesTags();
    void failedSaveIsReported();
    void deletionInProgressSkipsFile();
    void manualNameTakesCheckedRow();
    void extractionSavesThroughTheEditor();

private:
    // A window started with a folder of generated files, the tagging page shown.
    app::Form1 &openTagPage(FormFixture &f, const QStringList &files);
    void clickRow(app::Form1 &w, int row);
    QString m_folder;
};

void TestTagPage::initTestCase()
{
    if (!haveMutagen())
        QSKIP("python3-mutagen is needed to check tags independently");
}

app::Form1 &TestTagPage::openTagPage(FormFixture &f, const QStringList &files)
{
    m_folder = f.dir.filePath(u"musique"_s);
    QDir().mkpath(m_folder);
    const QByteArray audio = mpegstream::frames(mpegstream::FrameHeader{}, 40);
    for (const QString &name : files)
        mpegstream::writeFile(m_folder + u'/' + name, audio);
    f.store(u"repertCD"_s, m_folder);
    app::Form1 &w = f.start();
    w.TS2->setCurrentIndex(1);
    return w;
}

void TestTagPage::clickRow(app::Form1 &w, int row)
{
    if (!w.isVisible()) {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    QTreeWidget *list = w.Frame1->LV1;
    QTreeWidgetItem *item = list->topLevelItem(row);
    QVERIFY(item);
    const QRect rect = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center() + QPoint(20, 0));
    QCOMPARE(list->currentItem(), item);
}

void TestTagPage::openFolderListsMatchingFiles()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"b.mp3"_s, u"A.MP3"_s, u"c.wav"_s, u".cache.mp3"_s, u"notes.txt"_s,
                                    u"Zèbre.Mp3"_s});
    QDir(m_folder).mkdir(u"dossier.mp3"_s);
    f.dialogs->folders = {m_folder};
    w.commands->button(u"ouvrir"_s)->trigger();
    QTreeWidget *list = w.Frame1->LV1;
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        names << list->topLevelItem(i)->text(0);
        QCOMPARE(list->topLevelItem(i)->text(1), QString());
        QCOMPARE(list->topLevelItem(i)->checkState(0), Qt::Unchecked);
    }
    QCOMPARE(names, (QStringList{u"A.MP3"_s, u"b.mp3"_s, u"Zèbre.Mp3"_s}));
    QCOMPARE(w.statusPanel(2), u"3 pistes"_s);
    w.Frame1->Command1->click();
    QCOMPARE(list->topLevelItem(2)->checkState(0), Qt::Checked);
    w.Frame1->Command2->click();
    QCOMPARE(list->topLevelItem(0)->checkState(0), Qt::Unchecked);
}

void TestTagPage::cancelledFolderShowsNothing()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"a.mp3"_s});
    QCOMPARE(w.Frame1->LV1->topLevelItemCount(), 1);
    f.dialogs->folders.clear();
    w.ouvre();
    QCOMPARE(w.Frame1->LV1->topLevelItemCount(), 0);
    QCOMPARE(w.statusPanel(2), u"0 pistes"_s);
}

void TestTagPage::fileTypeSwitch()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"a.mp3"_s, u"z.wav"_s, u"b.WAV"_s});
    w.Frame1->TS1->setCurrentIndex(app::TagPage::TagV1);
    QVERIFY(w.commands->button(u"enreID"_s)->isEnabled());
    w.Frame1->Combo7->setCurrentIndex(1);
    emit w.Frame1->Combo7->activated(1);
    QTreeWidget *list = w.Frame1->LV1;
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(0), u"b.WAV"_s);
    QCOMPARE(list->topLevelItem(1)->text(0), u"z.wav"_s);
    QVERIFY(list->topLevelItem(0)->isSelected());
    QVERIFY(!w.commands->button(u"enreID"_s)->isEnabled());
    // While WAV files are listed, the tag pages leave the tag commands off.
    w.Frame1->TS1->setCurrentIndex(app::TagPage::InfoFichier);
    w.Frame1->TS1->setCurrentIndex(app::TagPage::TagV2);
    QVERIFY(!w.commands->button(u"copieID"_s)->isEnabled());
    w.Frame1->Combo7->setCurrentIndex(0);
    emit w.Frame1->Combo7->activated(0);
    QCOMPARE(list->topLevelItemCount(), 1);
    QVERIFY(w.commands->button(u"copieID"_s)->isEnabled());
}

void TestTagPage::wavRowShowsInfoOnly()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"son.wav"_s});
    w.Frame1->Combo7->setCurrentIndex(1);
    emit w.Frame1->Combo7->activated(1);
    clickRow(w, 0);
    QCOMPARE(w.Txt_Chemin->text(), m_folder + u"/son.wav"_s);
    QVERIFY(!w.Frame1->Frame3->Mpeg_Taille_Fichier->text().isEmpty());
    QCOMPARE(w.Frame1->Frame3->Mpeg_BitRate->text(), u"128 Kbt"_s);
    QCOMPARE(w.Frame1->Frame3->Mpeg_Frequence->text(), u"44100 Hz"_s);
    app::TagEditorPanel *e = w.Frame1->editor;
    QVERIFY(!e->chkv1->isChecked() && !e->chkv2->isChecked());
    QCOMPARE(e->txtv1Titre->text(), QString());
    QVERIFY(!e->txtv1Titre->isEnabled());
    QCOMPARE(e->cmbv2Genre->count(), 0);
}

void TestTagPage::mp3RowShowsBothVersions()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"chanson.mp3"_s, u"nue.mp3"_s});
    tagWithMutagen(m_folder + u"/chanson.mp3"_s);
    clickRow(w, 0);
    app::TagEditorPanel *e = w.Frame1->editor;
    QVERIFY(e->chkv1->isChecked());
    QVERIFY(e->chkv2->isChecked());
    QVERIFY(e->txtv1Titre->isEnabled());
    QCOMPARE(e->txtv1Titre->text(), u"Été indien"_s);
    QCOMPARE(e->txtv1Artiste->text(), u"Joe Dassin"_s);
    QCOMPARE(e->txtv1Piste->text(), u"5"_s);
    QCOMPARE(e->txtv1Annee->text(), u"1975"_s);
    QCOMPARE(e->cmbv1Genre->currentIndex(), 18);
    QCOMPARE(e->txtv2Titre->text(), u"Été indien"_s);
    QCOMPARE(e->txtv2Piste->text(), u"5/12"_s);
    QCOMPARE(e->cmbv2Genre->currentIndex(), 18);
    QCOMPARE(e->cmbv2Genre->currentText(), e->cmbv2Genre->itemText(18));
    QCOMPARE(e->txtv2Commentaire->toPlainText(), u"Très connu"_s);
    QCOMPARE(e->txtv2Compositeur->text(), u"Toto Cutugno"_s);
    QCOMPARE(e->txtv2Original->text(), u"Albatros"_s);
    QCOMPARE(e->txtv2Copyright->text(), u"CBS"_s);
    QCOMPARE(e->txtv2Url->text(), u"http://exemple.fr"_s);
    QCOMPARE(e->txtv2Encode->text(), u"LAME"_s);
    QCOMPARE(w.Frame1->Frame3->Mpeg_Mpeg->text().isEmpty(), false);

    // The next file has no tag: everything is cleared and disabled again.
    clickRow(w, 1);
    QVERIFY(!e->chkv1->isChecked() && !e->chkv2->isChecked());
    QCOMPARE(e->txtv2Titre->text(), QString());
    QVERIFY(!e->txtv1Titre->isEnabled() && !e->txtv2Titre->isEnabled());
    QCOMPARE(e->txtv1Titre->palette().color(QPalette::Base),
             e->txtv1Titre->style()->standardPalette().color(QPalette::Button));
}

void TestTagPage::genrePositions_data()
{
    QTest::addColumn<QString>("tcon");
    QTest::addColumn<int>("v1Genre");
    QTest::addColumn<int>("v1Position");
    QTest::addColumn<int>("v2Position");
    QTest::newRow("genre 0") << u"(0)"_s << 0 << 1 << 1;
    QTest::newRow("last genre") << u"(147)"_s << 147 << 148 << 148;
    QTest::newRow("no genre") << QString() << 255 << 0 << 0;
    QTest::newRow("v2 number without a name") << u"(200)"_s << 255 << 0 << 0;
}

void TestTagPage::genrePositions()
{
    QFETCH(QString, tcon);
    QFETCH(int, v1Genre);
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"g.mp3"_s});
    const QString file = m_folder + u"/g.mp3"_s;
    id3peer({u"genre"_s, file, tcon});
    QFile out(file);
    QVERIFY(out.open(QIODevice::Append));
    out.write(mpegstream::id3v1Block(u"x"_s, QString(), QString(), QString(), QString(), 1, v1Genre));
    out.close();
    clickRow(w, 0);
    app::TagEditorPanel *e = w.Frame1->editor;
    QCOMPARE(e->cmbv1Genre->count(), 149);
    QTEST(e->cmbv1Genre->currentIndex(), "v1Position");
    QTEST(e->cmbv2Genre->currentIndex(), "v2Position");

    // Saving gives back the genre shown: 255 for the empty entry.
    f.dialogs->answer = true;
    w.Frame1->TS1->setCurrentIndex(app::TagPage::TagV1);
    w.commands->button(u"enreID"_s)->trigger();
    QCOMPARE(v1Of(file).genre, v1Genre);
}

void TestTagPage::saveWritesFields()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"t.mp3"_s});
    const QString file = m_folder + u"/t.mp3"_s;
    clickRow(w, 0);
    app::TagEditorPanel *e = w.Frame1->editor;
    e->chkv1->click();
    e->chkv2->click();
    QVERIFY(e->txtv1Titre->isEnabled() && e->txtv2Url->isEnabled());
    QCOMPARE(e->cmbv1Genre->count(), 149);
    e->txtv1Piste->setText(u"7/12"_s);
    e->txtv1Titre->setText(u"Titre v1"_s);
    e->txtv1Artiste->setText(u"Artiste v1"_s);
    e->txtv1Album->setText(u"Album v1"_s);
    e->txtv1Annee->setText(u"2001"_s);
    e->cmbv1Genre->setCurrentIndex(1);
    e->txtv1Commentaire->setText(u"note v1"_s);
    e->txtv2Piste->setText(u"7/12"_s);
    e->txtv2Titre->setText(u"Titre à accents"_s);
    e->txtv2Artiste->setText(u"Artiste v2"_s);
    e->txtv2Album->setText(u"Album v2"_s);
    e->txtv2Annee->setText(u"2002"_s);
    e->cmbv2Genre->setCurrentIndex(18);
    e->txtv2Commentaire->setPlainText(u"note v2"_s);
    e->txtv2Compositeur->setText(u"Compositeur"_s);
    e->txtv2Original->setText(u"Original"_s);
    e->txtv2Copyright->setText(u"(c) 2002"_s);
    e->txtv2Url->setText(u"http://exemple.org"_s);
    e->txtv2Encode->setText(u"Tarvex"_s);
    w.Frame1->TS1->setCurrentIndex(app::TagPage::TagV2);
    f.dialogs->answer = true;
    w.commands->button(u"enreID"_s)->trigger();
    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->lastText(), u"Voulez vous enregistrer le Tag ?"_s);
    QCOMPARE(f.dialogs->shown.last().title, u"Tarvex"_s);
    QCOMPARE(f.dialogs->shown.last().icon, app::Dialogs::Icon::Question);

    const V1Block v1 = v1Of(file);
    QVERIFY(v1.present);
    QCOMPARE(v1.title, u"Titre v1"_s);
    QCOMPARE(v1.artist, u"Artiste v1"_s);
    QCOMPARE(v1.album, u"Album v1"_s);
    QCOMPARE(v1.year, u"2001"_s);
    QCOMPARE(v1.comment, u"note v1"_s);
    QCOMPARE(v1.track, 7);
    QCOMPARE(v1.genre, 0);
    const QJsonObject v2 = framesByMutagen(file);
    QCOMPARE(v2[u"TRCK"_s].toString(), u"7"_s);
    QCOMPARE(v2[u"TIT2"_s].toString(), u"Titre à accents"_s);
    QCOMPARE(v2[u"TPE1"_s].toString(), u"Artiste v2"_s);
    QCOMPARE(v2[u"TALB"_s].toString(), u"Album v2"_s);
    QCOMPARE(v2[u"TYER"_s].toString(), u"2002"_s);
    QCOMPARE(v2[u"TCON"_s].toString(), u"Rock"_s);
    QCOMPARE(v2[u"COMM"_s].toString(), u"note v2"_s);
    QCOMPARE(v2[u"TCOM"_s].toString(), u"Compositeur"_s);
    QCOMPARE(v2[u"TOPE"_s].toString(), u"Original"_s);
    QCOMPARE(v2[u"TCOP"_s].toString(), u"(c) 2002"_s);
    QCOMPARE(v2[u"TENC"_s].toString(), u"Tarvex"_s);
    QVERIFY(QJsonDocument(v2).toJson().contains("http://exemple.org"));
}

void TestTagPage::cancelledSaveChangesNothing()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"t.mp3"_s});
    const QString file = m_folder + u"/t.mp3"_s;
    tagWithMutagen(file);
    const QByteArray before = bytesOf(file);
    clickRow(w, 0);
    w.Frame1->editor->txtv2Titre->setText(u"autre"_s);
    w.Frame1->TS1->setCurrentIndex(app::TagPage::TagV2);
    f.dialogs->answer = false;
    for (const char *key : {"enreID", "suppID", "copieID"})
        w.commands->button(QString::fromLatin1(key))->trigger();
    QCOMPARE(f.dialogs->shown.size(), 3);
    QCOMPARE(bytesOf(file), before);
}

void TestTagPage::defaultsOverrideFields()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"t.mp3"_s});
    const QString file = m_folder + u"/t.mp3"_s;
    tagWithMutagen(file);
    w.Frame7->Text8->setText(u"Commentaire par défaut"_s);
    w.Frame7->Text9->setText(u"Encodeur maison"_s);
    clickRow(w, 0);
    w.Frame1->TS1->setCurrentIndex(app::TagPage::TagV1);
    w.commands->button(u"enreID"_s)->trigger();
    QCOMPARE(v1Of(file).comment, u"Commentaire par défaut"_s);
    const QJsonObject v2 = framesByMutagen(file);
    QCOMPARE(v2[u"COMM"_s].toString(), u"Commentaire par défaut"_s);
    QCOMPARE(v2[u"TENC"_s].toString(), u"Encodeur maison"_s);
    QCOMPARE(v2[u"TIT2"_s].toString(), u"Été indien"_s);
}

void TestTagPage::copyBetweenVersions_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("v1Title");
    QTest::addColumn<QString>("v2Title");
    QTest::newRow("from the v1 page") << int(app::TagPage::TagV1) << u"Titre un"_s << u"Titre un"_s;
    QTest::newRow("from the v2 page") << int(app::TagPage::TagV2) << u"Titre deux"_s << u"Titre deux"_s;
}

void TestTagPage::copyBetweenVersions()
{
    QFETCH(int, page);
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"t.mp3"_s});
    const QString file = m_folder + u"/t.mp3"_s;
    clickRow(w, 0);
    app::TagEditorPanel *e = w.Frame1->editor;
    e->fillGenreLists();
    if (page == app::TagPage::TagV1) {
        e->chkv1->click();
        e->txtv1Titre->setText(u"Titre un"_s);
        e->txtv1Piste->setText(u"3"_s);
        e->cmbv1Genre->setCurrentIndex(9);
    } else {
        e->chkv2->click();
        e->txtv2Titre->setText(u"Titre deux"_s);
        e->txtv2Piste->setText(u"3"_s);
        e->cmbv2Genre->setCurrentIndex(9);
    }
    w.Frame1->TS1->setCurrentIndex(page);
    w.commands->button(u"copieID"_s)->trigger();
    QCOMPARE(f.dialogs->lastText(), u"Voulez vous copier le Tag ?"_s);
    QVERIFY(e->chkv1->isChecked() && e->chkv2->isChecked());
    const V1Block v1 = v1Of(file);
    QTEST(v1.title, "v1Title");
    QCOMPARE(v1.track, 3);
    QCOMPARE(v1.genre, 8);
    const QJsonObject v2 = framesByMutagen(file);
    QTEST(v2[u"TIT2"_s].toString(), "v2Title");
    QCOMPARE(v2[u"TRCK"_s].toString(), u"3"_s);
    QCOMPARE(v2[u"TCON"_s].toString(), u"Jazz"_s);
}

void TestTagPage::deleteEmptiesTags()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"t.mp3"_s});
    const QString file = m_folder + u"/t.mp3"_s;
    tagWithMutagen(file);
    clickRow(w, 0);
    w.Frame1->TS1->setCurrentIndex(app::TagPage::TagV1);
    w.commands->button(u"suppID"_s)->trigger();
    QCOMPARE(f.dialogs->lastText(), u"Voulez vous supprimer le Tag ?"_s);
    const V1Block v1 = v1Of(file);
    QVERIFY(v1.present);
    QCOMPARE(v1.title, QString());
    QCOMPARE(v1.artist, QString());
    QCOMPARE(v1.genre, 255);
    QCOMPARE(v1.track, 0);
    const QJsonObject v2 = framesByMutagen(file);
    for (const QString &key : v2.keys())
        QVERIFY2(v2[key].toString().isEmpty(), qPrintable(key + u" = "_s + v2[key].toString()));
    // The audio is still all there.
    QVERIFY(bytesOf(file).contains(mpegstream::frames(mpegstream::FrameHeader{}, 40)));
}

void TestTagPage::failedSaveIsReported()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"verrou.mp3"_s, u"parti.mp3"_s});
    const QString locked = m_folder + u"/verrou.mp3"_s;
    tagWithMutagen(locked);
    const bool root = geteuid() == 0;
    if (root) {
        if (QProcess::execute(u"chattr"_s, {u"+i"_s, locked}) != 0)
            QSKIP("running as root without chattr +i: a read-only file cannot be made");
    } else {
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }
    const QByteArray before = bytesOf(locked);
    clickRow(w, 1);
    w.Frame1->editor->txtv2Titre->setText(u"jamais écrit"_s);
    w.Frame1->editor->txtv1Titre->setText(u"jamais écrit"_s);
    w.Frame1->TS1->setCurrentIndex(app::TagPage::TagV2);
    w.commands->button(u"enreID"_s)->trigger();
    const QByteArray after = bytesOf(locked);
    if (root)
        QProcess::execute(u"chattr"_s, {u"-i"_s, locked});
    QCOMPARE(after, before);
    QCOMPARE(f.dialogs->shown.size(), 2);
    QCOMPARE(f.dialogs->shown.last().icon, app::Dialogs::Icon::Error);
    QVERIFY2(f.dialogs->lastText().startsWith(u"Le tag de « verrou.mp3 » n'a pas pu être enregistré : "_s),
             qPrintable(f.dialogs->lastText()));

    // A file removed behind the window's back is not created again by the save.
    const QString gone = m_folder + u"/parti.mp3"_s;
    clickRow(w, 0);
    w.Frame1->editor->chkv2->click();
    w.Frame1->editor->txtv2Titre->setText(u"perdu"_s);
    QVERIFY(QFile::remove(gone));
    w.commands->button(u"enreID"_s)->trigger();
    QVERIFY(!QFile::exists(gone));
    QCOMPARE(f.dialogs->shown.last().icon, app::Dialogs::Icon::Error);
    QVERIFY(f.dialogs->lastText().startsWith(u"Le tag de « parti.mp3 »"_s));
    // The window is still usable: the other file can be chosen and shown.
    clickRow(w, 1);
    QCOMPARE(w.Frame1->editor->txtv2Titre->text(), u"Été indien"_s);
}

void TestTagPage::deletionInProgressSkipsFile()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"t.mp3"_s});
    tagWithMutagen(m_folder + u"/t.mp3"_s);
    w.Check1->setChecked(true);
    clickRow(w, 0);
    QCOMPARE(w.Txt_Chemin->text(), m_folder + u"/t.mp3"_s);
    QCOMPARE(w.Frame1->Frame3->Mpeg_Taille_Fichier->text(), QString());
    QVERIFY(!w.Frame1->editor->chkv1->isChecked());
    QCOMPARE(w.Frame1->editor->txtv2Titre->text(), QString());
}

void TestTagPage::manualNameTakesCheckedRow()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"a.mp3"_s, u"b.mp3"_s});
    w.renamePanel->Option5->setChecked(true);
    w.renamePanel->Text2->setText(u"saisi"_s);
    clickRow(w, 0);
    QCOMPARE(w.renamePanel->Text2->text(), u"saisi"_s);
    w.Frame1->LV1->topLevelItem(1)->setCheckState(0, Qt::Checked);
    clickRow(w, 1);
    QCOMPARE(w.renamePanel->Text2->text(), u"b.mp3"_s);
}

void TestTagPage::extractionSavesThroughTheEditor()
{
    FormFixture f;
    app::Form1 &w = openTagPage(f, {u"piste.mp3"_s});
    const QString file = m_folder + u"/piste.mp3"_s;
    w.run(u"fillGenreLists"_s);
    app::TagEditorPanel *e = w.Frame1->editor;
    QCOMPARE(e->cmbv1Genre->count(), 149);
    e->chkv1->setChecked(true);
    e->txtv1Titre->setText(u"Piste extraite"_s);
    e->cmbv1Genre->setCurrentIndex(13);
    w.Txt_Chemin->setText(file);
    w.run(u"BtnUpdate"_s);
    QCOMPARE(v1Of(file).title, u"Piste extraite"_s);
    QCOMPARE(v1Of(file).genre, 12);
    QVERIFY(f.dialogs->shown.isEmpty());
}

QTEST_MAIN(TestTagPage)
#include "tst_tagpage.moc"
