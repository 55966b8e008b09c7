#include "formfixture.h"

#include "app/cdpage.h"
#include "app/commandtable.h"
#include "app/extractioncontroller.h"
#include "app/optionspage.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "mp3frames.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QStringList rowTexts(const QTreeWidget *list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

void check(QTreeWidget *list, const QList<int> &rows)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setCheckState(0, rows.contains(i + 1) ? Qt::Checked : Qt::Unchecked);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestExtraction : public QObject
{
    Q_OBJECT
private slots:
    void trackListFollowsTheDrive();
    void wavJobMarksRows();
    void mp3JobTagsThroughTheEditor_data();
    void mp3JobTagsThroughTheEditor();
    void commandsDisabledWhileRunning();
    void closingDuringAJob_data();
    void closingDuringAJob();
    void convertCheckedWavFiles();
};

void TestExtraction::trackListFollowsTheDrive()
{
    FormFixture f;
    testsupport::DiscImage other(f.dir.path(), u"autre"_s, {40, 41, 42, 43}, 3);
    app::Form1 &w = f.start({f.discImage(), other.cuePath()});
    QTreeWidget *lv2 = w.Frame6->LV2;
    QCOMPARE(rowTexts(lv2, 0), (QStringList{u"Piste 1"_s, u"Piste 2"_s, u"Piste 3"_s}));
    QVERIFY(w.commands->button(u"CDDB"_s)->isEnabled());

    w.Frame6->txtArtiste->setText(u"Quelqu'un"_s);
    w.Frame6->txtAlbum->setText(u"Album"_s);
    lv2->topLevelItem(0)->setCheckState(0, Qt::Checked);
    // The second disc numbers its tracks from 3: rows still count from 1.
    w.Frame6->cboLecteurCD->setCurrentIndex(1);
    QCOMPARE(rowTexts(lv2, 0), (QStringList{u"Piste 1"_s, u"Piste 2"_s, u"Piste 3"_s, u"Piste 4"_s}));
    QVERIFY(w.Frame6->txtArtiste->text().isEmpty());
    QVERIFY(w.Frame6->txtAlbum->text().isEmpty());
    QCOMPARE(lv2->topLevelItem(0)->checkState(0), Qt::Unchecked);

    // A disc that can no longer be read leaves the list empty and disables "CDDB".
    QFile::resize(other.binPath(), 0);
    QFile::remove(other.cuePath());
    w.extraction->readCdToc(other.cuePath());
    QCOMPARE(lv2->topLevelItemCount(), 0);
}

void TestExtraction::wavJobMarksRows()
{
    FormFixture f;
    app::Form1 &w = f.start();
    QTreeWidget *lv2 = w.Frame6->LV2;
    const QString out = f.dir.filePath(u"sortie"_s);
    QVERIFY(QDir().mkpath(out));
    w.Frame7->Text3->setText(out);
    check(lv2, {1, 3});
    QList<int> maxima;
    connect(w.ProgressBar1, &QProgressBar::valueChanged, this, [&] { maxima << w.ProgressBar1->maximum(); });

    w.run(u"extwav"_s);
    QCOMPARE(rowTexts(lv2, 1), (QStringList{u"Ok"_s, u"(Pas selectionné)"_s, u"Ok"_s}));
    QCOMPARE(lv2->topLevelItem(0)->foreground(1).color(), QColor(Qt::blue));
    QCOMPARE(QFileInfo(out + u"/Piste 1.wav"_s).size(), 44 + 75 * 2352);
    QCOMPARE(QFileInfo(out + u"/Piste 3.wav"_s).size(), 44 + 100 * 2352);
    QVERIFY(!QFile::exists(out + u"/Piste 2.wav"_s));
    QVERIFY(maxima.contains(75) && maxima.contains(100));
    QCOMPARE(w.Label35->text(), u"100"_s);
    QCOMPARE(w.ProgressBar1->value(), 0);

    // A second job pushes the earlier marks to the right; a failed track is marked in red.
    w.Frame7->Text3->setText(f.dir.filePath(u"absent/dossier"_s));
    check(lv2, {2});
    w.run(u"extwav"_s);
    QCOMPARE(rowTexts(lv2, 1), (QStringList{u"(Pas selectionné)"_s, u"Erreur"_s, u"(Pas selectionné)"_s}));
    QCOMPARE(rowTexts(lv2, 2), (QStringList{u"Ok"_s, u"(Pas selectionné)"_s, u"Ok"_s}));
    QCOMPARE(lv2->topLevelItem(1)->foreground(1).color(), QColor(Qt::red));
    QVERIFY(f.dialogs->lastText().startsWith(u"Impossible d'écrire le fichier « Piste 2.wav »"_s));
}

void TestExtraction::mp3JobTagsThroughTheEditor_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("v1");
    QTest::addColumn<bool>("v2");
    QTest::newRow("v1 only") << u"Option7"_s << true << false;
    QTest::newRow("v2 only") << u"Option8"_s << false << true;
    QTest::newRow("both") << u"Option9"_s << true << true;
    QTest::newRow("no tag") << u"Option10"_s << false << false;
}

void TestExtraction::mp3JobTagsThroughTheEditor()
{
    QFETCH(QString, option);
    QFETCH(bool, v1);
    QFETCH(bool, v2);
    FormFixture f;
    app::Form1 &w = f.start();
    w.Frame7->findChild<QRadioButton *>(option)->setChecked(true);
    w.Frame7->Text3->setText(f.dir.path());
    w.Frame7->Combo8->setCurrentIndex(0);
    w.Frame7->Check2->setChecked(true);
    w.Frame6->txtArtiste->setText(u"Disque"_s);
    w.Frame6->txtAlbum->setText(u"Album"_s);
    w.Frame6->txtAnnee->setText(u"2001"_s);
    QTreeWidget *lv2 = w.Frame6->LV2;
    lv2->topLevelItem(0)->setText(0, u"Les Amis - Le Vent"_s);
    lv2->topLevelItem(2)->setText(0, u"AC/DC"_s);
    check(lv2, {1, 3});

    // What the tag editor holds each time it is asked to save.
    struct Save
    {
        QString path, status, v1Artist, v1Title, v1Track, v2Artist, v2Title, v2Track;
        bool chk1, chk2;
    };
    QList<Save> saves;
    app::TagEditorPanel *e = w.Frame1->editor;
    w.setProcedure(u"BtnUpdate"_s, [&] {
        saves.append({w.Txt_Chemin->text(), w.statusPanel(1), e->txtv1Artiste->text(), e->txtv1Titre->text(),
                      e->txtv1Piste->text(), e->txtv2Artiste->text(), e->txtv2Titre->text(), e->txtv2Piste->text(),
                      e->chkv1->isChecked(), e->chkv2->isChecked()});
    });
    w.run(u"extmp3"_s);

    QCOMPARE(rowTexts(lv2, 1), (QStringList{u"Ok"_s, u"(Pas selectionné)"_s, u"Ok"_s}));
    const QString first = f.dir.filePath(u"Disque - Les Amis - Le Vent.mp3"_s);
    const QString third = f.dir.filePath(u"Disque - AC-DC.mp3"_s);
    QVERIFY(QFile::exists(first));
    QVERIFY(QFile::exists(third));
    if (!v1 && !v2) {
        QVERIFY(saves.isEmpty());
        return;
    }
    QCOMPARE(saves.size(), 2);
    QCOMPARE(saves[0].path, first);
    QCOMPARE(saves[1].path, third);
    QCOMPARE(saves[1].status, u"Extraction de : Disque - AC-DC.mp3"_s);
    QCOMPARE(saves[0].chk1, v1);
    QCOMPARE(saves[0].chk2, v2);
    if (v1) {
        QCOMPARE(saves[0].v1Artist, u"Les Amis"_s);
        QCOMPARE(saves[0].v1Title, u"Le Vent"_s);
        QCOMPARE(saves[1].v1Title, u"AC/DC"_s);
        QCOMPARE(saves[1].v1Track, u"3"_s);
    }
    if (v2) {
        QCOMPARE(saves[0].v2Artist, u"Les Amis"_s);
        QCOMPARE(saves[1].v2Artist, u"Disque"_s);
        QCOMPARE(saves[1].v2Track, u"3"_s);
        QCOMPARE(e->txtv2Album->text(), u"Album"_s);
        QCOMPARE(e->txtv2Annee->text(), u"2001"_s);
    }
}

void TestExtraction::commandsDisabledWhileRunning()
{
    FormFixture f;
    app::Form1 &w = f.start();
    w.Frame7->Text3->setText(f.dir.path());
    check(w.Frame6->LV2, {1, 2, 3});
    QList<bool> enabledDuring;
    QTimer::singleShot(0, this, [&] {
        for (QWidget *widget : {static_cast<QWidget *>(w.commands->Toolbar1), static_cast<QWidget *>(w.TS2),
                                static_cast<QWidget *>(w.Frame6->cboLecteurCD), static_cast<QWidget *>(w.Frame1->TS1)})
            enabledDuring << widget->isEnabled();
    });
    w.run(u"extmp3"_s);
    QCOMPARE(enabledDuring, (QList<bool>{false, false, false, false}));
    QVERIFY(w.commands->Toolbar1->isEnabled());
    QVERIFY(w.TS2->isEnabled());
    QVERIFY(w.Frame6->cboLecteurCD->isEnabled());
}

void TestExtraction::closingDuringAJob_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("stop and quit") << true;
    QTest::newRow("go on") << false;
}

void TestExtraction::closingDuringAJob()
{
    QFETCH(bool, answer);
    FormFixture f;
    app::Form1 &w = f.start();
    const QString out = f.dir.filePath(u"sortie"_s);
    QVERIFY(QDir().mkpath(out));
    w.Frame7->Text3->setText(out);
    w.show();
    check(w.Frame6->LV2, {1, 2});
    bool closed = false;
    QTimer::singleShot(0, this, [&] {
        f.dialogs->answer = answer;
        closed = w.close();
    });
    w.run(u"extwav"_s);
    QCOMPARE(closed, answer);
    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown.first().title, u"Confirmation"_s);
    const QStringList written = QDir(out).entryList(QDir::Files);
    if (answer) {
        // Stopped after the first batch: no file at all, not even a temporary one.
        QCOMPARE(written, QStringList());
        QVERIFY(w.Frame6->LV2->topLevelItem(0)->text(1).isEmpty());
    } else {
        QCOMPARE(written, (QStringList{u"Piste 1.wav"_s, u"Piste 2.wav"_s}));
        QVERIFY(w.isVisible());
    }
}

void TestExtraction::convertCheckedWavFiles()
{
    FormFixture f;
    app::Form1 &w = f.start();
    const QString folder = f.dir.filePath(u"wav"_s);
    QVERIFY(QDir().mkpath(folder));
    const QByteArray tone = testsupport::tonePcm16(22050, 2, 44100);
    QVERIFY(writeFile(folder + u"/a.wav"_s, testsupport::wavBytes(tone, 2, 44100, 16)));
    QVERIFY(writeFile(folder + u"/b.wav"_s, testsupport::wavBytes(tone, 2, 44100, 16)));
    QVERIFY(writeFile(folder + u"/c.wav"_s, testsupport::wavBytes(tone, 3, 44100, 16)));

    auto *convert = w.Frame7->Frame11->findChild<QPushButton *>(u"cmdConvertir"_s);
    QVERIFY(convert);
    QCOMPARE(convert->text(), u"Convertir en MP3"_s);
    app::TagPage *page = w.Frame1;
    page->File1.setPath(folder);
    page->File1.setPattern(u"*.wav"_s);
    page->refillList();
    QVERIFY(!convert->isEnabled()); // the list type still says "*.mp3"
    page->Combo7->setCurrentIndex(1);
    QVERIFY(convert->isEnabled());

    check(page->LV1, {1, 3});
    convert->click();

    QCOMPARE(rowTexts(page->LV1, app::TagPage::NewNameColumn),
             (QStringList{u"Ok"_s, u"(Pas selectionné)"_s, u"Erreur"_s}));
    QCOMPARE(page->LV1->topLevelItem(2)->foreground(1).color(), QColor(Qt::red));
    QVERIFY(testsupport::mp3Frames([&] {
                QFile mp3(folder + u"/a.mp3"_s);
                return mp3.open(QIODevice::ReadOnly) ? mp3.readAll() : QByteArray();
            }()).size() >= 19);
    QVERIFY(!QFile::exists(folder + u"/b.mp3"_s));
    QVERIFY(!QFile::exists(folder + u"/c.mp3"_s));
    QCOMPARE(f.dialogs->shown.size(), 2);
    QCOMPARE(f.dialogs->shown[0].text, u"Enregistrement terminé"_s);
    QCOMPARE(f.dialogs->shown[1].text,
             u"Le fichier « c.wav » a 3 canaux : seuls les fichiers mono et stéréo peuvent être convertis."_s);

    // The gauge ends full after a file converted whole.
    check(page->LV1, {2});
    convert->click();
    QCOMPARE(w.Frame7->Frame11->findChild<QFrame *>(u"Shape2"_s)->width(), 300);
    QVERIFY(QFile::exists(folder + u"/b.mp3"_s));
}

QTEST_MAIN(TestExtraction)
#include "tst_extraction.moc"
