#include "formfixture.h"

#include "app/cdpage.h"
#include "app/optionspage.h"
#include "app/settingstable.h"
#include "cd/cdaudiocontrol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestStartUp : public QObject
{
    Q_OBJECT
private slots:
    void firstStartWritesDefaults();
    void existingValuesAreKept_data();
    void existingValuesAreKept();
    void storedValuesReachControls_data();
    void storedValuesReachControls();
    void optionClickWritesGroup_data();
    void optionClickWritesGroup();
    void textSavedOnlyByItsButton();
    void folderChoice();
    void unwritableSettingsFolder();
    void drivesInOrder();
    void brokenImageIsLeftOut();
    void noDriveEndsStartUp();
    void cdDeviceOpened();
};

void TestStartUp::firstStartWritesDefaults()
{
    FormFixture f;
    app::Form1 &w = f.start();
    const QString folder = app::defaultOutputFolder();
    const QList<QPair<QString, QString>> expected = {
        {u"repertCD"_s, folder},        {u"repertWAVMP3"_s, folder},   {u"Formatfichier"_s, u"0"_s},
        {u"ExtraireTagv1"_s, u"0"_s},    {u"ExtraireTagv2"_s, u"1"_s},   {u"ExtraireTagv1et2"_s, u"0"_s},
        {u"ExtraireTagrien"_s, u"0"_s},  {u"ImportationNom"_s, u"0"_s},  {u"Commentaire"_s, QString()},
        {u"Encodepar"_s, QString()}};
    for (const auto &[name, value] : expected) {
        QVERIFY2(f.isStored(name), qPrintable(name));
        QCOMPARE(f.stored(name), value);
    }
    QCOMPARE(w.Frame7->Text3->text(), folder);
    QCOMPARE(w.Frame7->Text5->text(), folder);
    QVERIFY(w.Frame7->Option8->isChecked());
    QVERIFY(!w.Frame7->Option7->isChecked() && !w.Frame7->Option9->isChecked() && !w.Frame7->Option10->isChecked());
    QCOMPARE(w.Frame7->Combo8->currentIndex(), 0);
    QCOMPARE(w.Frame7->Combo8->currentText(), u"Artiste - Titre"_s);
    QCOMPARE(w.replogiciel->text(), u"Tarvex"_s);
    QCOMPARE(w.windowTitle(), u"Tarvex"_s);
}

void TestStartUp::existingValuesAreKept_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("empty folder stays empty") << u"repertCD"_s << QString();
    QTest::newRow("chosen folder") << u"repertWAVMP3"_s << u"/srv/musique"_s;
    QTest::newRow("comment") << u"Commentaire"_s << u"Rippé par moi"_s;
    QTest::newRow("v2 flag off") << u"ExtraireTagv2"_s << u"0"_s;
    QTest::newRow("nonsense format") << u"Formatfichier"_s << u"abc"_s;
}

void TestStartUp::existingValuesAreKept()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    FormFixture f;
    f.store(name, value);
    f.start();
    QCOMPARE(f.stored(name), value);
    // The values that were missing got their defaults.
    QCOMPARE(f.stored(u"Formatfichier"_s), name == u"Formatfichier"_s ? value : u"0"_s);
    QVERIFY(f.isStored(u"Encodepar"_s));
}

void TestStartUp::storedValuesReachControls_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("formatIndex");
    QTest::addColumn<QString>("v1");
    QTest::addColumn<QString>("v1et2");
    QTest::addColumn<QString>("import");
    QTest::addColumn<bool>("option7");
    QTest::addColumn<bool>("option9");
    QTest::addColumn<bool>("check2");
    QTest::newRow("format 3, v1 only") << u"3"_s << 3 << u"1"_s << u"0"_s << u"1"_s << true << false << true;
    QTest::newRow("format 2 with blanks") << u" 2 "_s << 2 << u"0"_s << u"1"_s << u"0"_s << false << true << false;
    QTest::newRow("format out of range") << u"9"_s << 0 << u"True"_s << u"False"_s << u"-1"_s << true << false << true;
    QTest::newRow("negative format") << u"-1"_s << 0 << u"0"_s << u"0"_s << u"0"_s << false << false << false;
    QTest::newRow("format not a number") << u"abc"_s << 0 << u"yes"_s << u"oui"_s << u""_s << false << false << false;
    QTest::newRow("empty format") << QString() << 0 << u"0"_s << u"0"_s << u"0"_s << false << false << false;
}

void TestStartUp::storedValuesReachControls()
{
    QFETCH(QString, format);
    QFETCH(int, formatIndex);
    QFETCH(QString, v1);
    QFETCH(QString, v1et2);
    QFETCH(QString, import);
    FormFixture f;
    f.store(u"Formatfichier"_s, format);
    f.store(u"ExtraireTagv1"_s, v1);
    f.store(u"ExtraireTagv2"_s, u"0"_s);
    f.store(u"ExtraireTagv1et2"_s, v1et2);
    f.store(u"ImportationNom"_s, import);
    f.store(u"Commentaire"_s, u"Mon commentaire, avec virgule"_s);
    app::Form1 &w = f.start();
    QCOMPARE(w.Frame7->Combo8->currentIndex(), formatIndex);
    QTEST(w.Frame7->Option7->isChecked(), "option7");
    QTEST(w.Frame7->Option9->isChecked(), "option9");
    QTEST(w.Frame7->Check2->isChecked(), "check2");
    QCOMPARE(w.Frame7->Text8->text(), u"Mon commentaire, avec virgule"_s);
}

void TestStartUp::optionClickWritesGroup_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("Option7") << u"Option7"_s << QStringList{u"1"_s, u"0"_s, u"0"_s, u"0"_s};
    QTest::newRow("Option9") << u"Option9"_s << QStringList{u"0"_s, u"0"_s, u"1"_s, u"0"_s};
    QTest::newRow("Option10") << u"Option10"_s << QStringList{u"0"_s, u"0"_s, u"0"_s, u"1"_s};
}

void TestStartUp::optionClickWritesGroup()
{
    QFETCH(QString, option);
    QFETCH(QStringList, values);
    FormFixture f;
    app::Form1 &w = f.start();
    auto *button = w.findChild<QRadioButton *>(option);
    QVERIFY(button);
    button->click();
    const QStringList names = {u"ExtraireTagv1"_s, u"ExtraireTagv2"_s, u"ExtraireTagv1et2"_s, u"ExtraireTagrien"_s};
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(f.stored(names[i]), values[i]);
    // Written values read back as the same state at the next start.
    f.form.reset();
    app::Form1 &again = f.start();
    QVERIFY(again.findChild<QRadioButton *>(option)->isChecked());
}

void TestStartUp::textSavedOnlyByItsButton()
{
    FormFixture f;
    f.store(u"Commentaire"_s, u"ancien"_s);
    app::Form1 &w = f.start();
    QTest::keyClicks(w.Frame7->Text8, u" nouveau"_s);
    QCOMPARE(f.stored(u"Commentaire"_s), u"ancien"_s);
    f.form.reset();
    app::Form1 &again = f.start();
    QCOMPARE(again.Frame7->Text8->text(), u"ancien"_s);
    again.Frame7->Text8->setText(u"nouveau"_s);
    again.Frame7->Text9->setText(u"LAME"_s);
    again.Frame7->Command7->click();
    QCOMPARE(f.stored(u"Commentaire"_s), u"nouveau"_s);
    QCOMPARE(f.stored(u"Encodepar"_s), QString());
    again.Frame7->Command8->click();
    QCOMPARE(f.stored(u"Encodepar"_s), u"LAME"_s);
    again.Frame7->Combo8->setCurrentIndex(2);
    emit again.Frame7->Combo8->activated(2);
    QCOMPARE(f.stored(u"Formatfichier"_s), u"2"_s);
    again.Frame7->Check2->click();
    QCOMPARE(f.stored(u"ImportationNom"_s), u"1"_s);
}

void TestStartUp::folderChoice()
{
    FormFixture f;
    app::Form1 &w = f.start();
    const QString before = f.stored(u"repertCD"_s);
    f.dialogs->folders.clear();
    w.Frame7->Command5->click();
    QCOMPARE(f.dialogs->folderDialogs, 1);
    QCOMPARE(f.stored(u"repertCD"_s), before);
    QCOMPARE(w.Frame7->Text3->text(), before);

    f.dialogs->folders = {f.dir.path() + u"/Mes CD"_s};
    w.Frame7->Command5->click();
    QCOMPARE(w.Frame7->Text3->text(), f.dir.path() + u"/Mes CD"_s);
    QCOMPARE(f.stored(u"repertCD"_s), f.dir.path() + u"/Mes CD"_s);

    f.dialogs->folders = {u"/tmp/conversions"_s};
    w.Frame7->Command6->click();
    QCOMPARE(f.stored(u"repertWAVMP3"_s), u"/tmp/conversions"_s);
    QCOMPARE(w.Frame7->Text5->text(), u"/tmp/conversions"_s);
}

void TestStartUp::unwritableSettingsFolder()
{
    FormFixture f;
    const QString image = f.discImage();
    app::Form1 &w = f.make({image}, u"/proc/tarvex-absent/Tarvex.ini"_s);
    QVERIFY(w.startUp());
    QCOMPARE(w.Frame7->Combo8->currentIndex(), 0);
    w.Frame7->Option9->click();
    w.Frame7->Command7->click();
    QVERIFY(w.Frame7->Option9->isChecked());
}

void TestStartUp::drivesInOrder()
{
    FormFixture f;
    const QString second = f.discImage(u"b"_s);
    const QString first = f.discImage(u"a"_s);
    int selections = 0;
    app::Form1 &w = f.make({first, second});
    QObject::connect(w.Frame6->cboLecteurCD, &QComboBox::currentIndexChanged, [&selections] { ++selections; });
    QVERIFY(w.startUp());
    QCOMPARE(w.Frame6->cboLecteurCD->count(), 2);
    QCOMPARE(w.Frame6->cboLecteurCD->itemText(0), first);
    QCOMPARE(w.Frame6->cboLecteurCD->itemText(1), second);
    QCOMPARE(w.Frame6->cboLecteurCD->currentIndex(), 0);
    QCOMPARE(selections, 1);
}

void TestStartUp::brokenImageIsLeftOut()
{
    FormFixture f;
    const QString good = f.discImage();
    QFile broken(f.dir.filePath(u"casse.cue"_s));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("ceci n'est pas une image\n");
    broken.close();
    app::Form1 &w = f.make({f.dir.filePath(u"absente.cue"_s), broken.fileName(), good});
    QVERIFY(w.startUp());
    QCOMPARE(w.Frame6->cboLecteurCD->count(), 1);
    QCOMPARE(w.Frame6->cboLecteurCD->currentText(), good);
    QVERIFY(f.dialogs->shown.isEmpty());
}

void TestStartUp::noDriveEndsStartUp()
{
    FormFixture f;
    app::Form1 &w = f.make({f.dir.filePath(u"absente.cue"_s)});
    QVERIFY(!w.startUp());
    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->lastText(), u"Désolé, je n'ai pas détecté de lecteur de CD sur cette machine."_s);
    QCOMPARE(f.dialogs->shown.last().icon, app::Dialogs::Icon::Error);
    QCOMPARE(f.dialogs->shown.last().buttons, app::Dialogs::Buttons::Ok);
    QVERIFY(!w.isVisible());
}

void TestStartUp::cdDeviceOpened()
{
    FormFixture f;
    app::Form1 &w = f.start();
    QVERIFY(w.MMControl1->isOpen());
    QCOMPARE(w.MMControl1->deviceType(), u"CDAudio"_s);
    QVERIFY(!w.MMControl1->notify());
    QVERIFY(w.MMControl1->wait());
    QVERIFY(!w.MMControl1->shareable());
    QCOMPARE(w.MMControl1->device(), w.Frame6->cboLecteurCD->currentText());
    QCOMPARE(w.MMControl1->track(), 1);
    w.MMControl1->setTrack(3);
    QCOMPARE(w.MMControl1->track(), 3);
    QVERIFY(w.MMControl1->sendCommand(u"stop"_s));
    QVERIFY(w.MMControl1->sendCommand(u"Close"_s));
    QCOMPARE(w.MMControl1->track(), 0);
    QVERIFY(!w.MMControl1->sendCommand(u"Stop"_s));
    QVERIFY(!w.cddbServerUrl.isEmpty());
    QVERIFY(w.cddbHelloSuffix.startsWith(u"&hello=me+"_s));
    QVERIFY(w.cddbHelloSuffix.endsWith(u"+xmcd+v1.0PL0&proto=5"_s));
}

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
