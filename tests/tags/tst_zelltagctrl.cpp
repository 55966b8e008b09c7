#include "tags/id3v1.h"
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"
#include "tags/zelltagctrl.h"

#include "tagtestutil.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tagtest;

namespace {

tags::TypeTagV1 v1Record(const QString &titre, const QString &artiste, int piste, int genre)
{
    tags::TypeTagV1 t;
    t.setValide(true);
    t.setTitre(titre);
    t.setArtiste(artiste);
    t.setPiste(qint16(piste));
    t.setGenre(genre);
    return t;
}

tags::TypeTagV2 v2Record()
{
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setTitre("Titre v2");
    t.setArtiste("Artiste v2");
    t.setAlbum("Album v2");
    t.setPiste("7/12");
    t.setGenre(9);
    t.setCompositeur("Compositeur v2");
    t.setUrl("http://v2");
    return t;
}

} // namespace

class TestZellTagCtrl : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void copyV1ToV2_data();
    void copyV1ToV2();
    void copyV1ToV2Refused();
    void copyV2ToV1_data();
    void copyV2ToV1();
    void getOneTag_data();
    void getOneTag();
    void allTags();
    void clearAll();
    void ioFailurePasses();
    void genreList();
    void winampForm();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestZellTagCtrl::init()
{
    m_path = m_dir.filePath("piste.mp3");
    QVERIFY(writeAll(m_path, mpegFrames(3)));
}

void TestZellTagCtrl::copyV1ToV2_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("titre");   // after the copy (the ID3v1 title is empty)
    QTest::addColumn<QString>("artiste"); // the ID3v1 artist is "A1"
    QTest::addColumn<QString>("compositeur");
    QTest::addColumn<int>("genre"); // the ID3v1 genre is 255
    QTest::newRow("mode 0: new tag from every field") << 0 << ""
                                                      << "A1"
                                                      << "" << 255;
    QTest::newRow("mode 1: non-empty fields over the tag") << 1 << "Titre v2"
                                                           << "A1"
                                                           << "" << 9;
    QTest::newRow("mode 2: every field, v2-only kept") << 2 << ""
                                                       << "A1"
                                                       << "Compositeur v2" << 255;
    QTest::newRow("mode 3: non-empty fields, v2-only kept") << 3 << "Titre v2"
                                                            << "A1"
                                                            << "Compositeur v2" << 9;
    QTest::newRow("mode 7 counts as 3") << 7 << "Titre v2"
                                        << "A1"
                                        << "Compositeur v2" << 9;
    QTest::newRow("mode -1 starts empty, copies non-empty") << -1 << ""
                                                            << "A1"
                                                            << "" << 0;
}

void TestZellTagCtrl::copyV1ToV2()
{
    QFETCH(int, mode);
    QFETCH(QString, titre);
    QFETCH(QString, artiste);
    QFETCH(QString, compositeur);
    QFETCH(int, genre);
    QVERIFY(*tags::writeTagV2(m_path, v2Record()));
    QVERIFY(tags::writeTagV1(m_path, v1Record("", "A1", 4, 255)));
    const tags::ZellTagCtrl ctrl;
    const tags::Result<bool> copied = ctrl.CopyV1ToV2(m_path, mode);
    QVERIFY(copied.ok() && *copied);
    const tags::TypeTagV2 after = *tags::readTagV2(m_path);
    QCOMPARE(after.Titre(), titre);
    QCOMPARE(after.Artiste(), artiste);
    QCOMPARE(after.Piste(), QStringLiteral("4"));
    QCOMPARE(after.Compositeur(), compositeur);
    QCOMPARE(after.Url(), compositeur.isEmpty() ? QString() : QStringLiteral("http://v2"));
    QCOMPARE(after.Genre(), genre);
    QCOMPARE(after.Album(), mode >= 1 && mode % 2 == 1 ? QStringLiteral("Album v2") : QString());
}

void TestZellTagCtrl::copyV1ToV2Refused()
{
    const tags::ZellTagCtrl ctrl;
    const QString wav = m_dir.filePath("son.wav");
    QVERIFY(writeAll(wav, mpegFrames(1)));
    QVERIFY(tags::writeTagV1(wav, v1Record("t", "a", 1, 1)));
    QVERIFY(!*ctrl.CopyV1ToV2(wav));
    QVERIFY(!*ctrl.CopyV2ToV1(wav));
    // No ID3v1 block: nothing is written.
    const QByteArray before = readAll(m_path);
    QVERIFY(!*ctrl.CopyV1ToV2(m_path));
    QCOMPARE(readAll(m_path), before);
    // No ID3v2 tag: nothing is written.
    QVERIFY(!*ctrl.CopyV2ToV1(m_path));
    QCOMPARE(readAll(m_path), before);
}

void TestZellTagCtrl::copyV2ToV1_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("piste2");
    QTest::addColumn<int>("piste");
    QTest::addColumn<QString>("annee"); // the ID3v1 year is "1999", the ID3v2 one empty
    QTest::newRow("mode 0 copies every field") << 0 << "7/12" << 7 << "";
    QTest::newRow("mode 0 track without digits") << 0 << "x" << 0 << "";
    QTest::newRow("mode 1 keeps the empty fields' values") << 1 << "7/12" << 7 << "1999";
    QTest::newRow("mode 1 empty track keeps the block's") << 1 << "" << 4 << "1999";
    QTest::newRow("mode 2 copies only non-empty fields") << 2 << "" << 4 << "1999";
}

void TestZellTagCtrl::copyV2ToV1()
{
    QFETCH(int, mode);
    QFETCH(QString, piste2);
    QFETCH(int, piste);
    QFETCH(QString, annee);
    tags::TypeTagV2 v2 = v2Record();
    v2.setPiste(piste2);
    QVERIFY(*tags::writeTagV2(m_path, v2));
    tags::TypeTagV1 v1 = v1Record("Ancien", "A1", 4, 1);
    v1.setAnnee("1999");
    QVERIFY(tags::writeTagV1(m_path, v1));
    const tags::ZellTagCtrl ctrl;
    QVERIFY(*ctrl.CopyV2ToV1(m_path, mode));
    const tags::TypeTagV1 after = tags::readTagV1(m_path);
    QCOMPARE(after.Titre(), QStringLiteral("Titre v2"));
    QCOMPARE(int(after.Piste()), piste);
    QCOMPARE(after.Annee(), annee);
    QCOMPARE(after.Genre(), 9);
}

void TestZellTagCtrl::getOneTag_data()
{
    QTest::addColumn<int>("info");
    QTest::addColumn<int>("version");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("v1 valid") << 0 << 0 << QVariant(true);
    QTest::newRow("v1 track is a number") << 3 << 0 << QVariant::fromValue(qint16(4));
    QTest::newRow("v2 track is a text") << 3 << 1 << QVariant(QStringLiteral("7/12"));
    QTest::newRow("v1 genre") << 5 << 0 << QVariant(2);
    QTest::newRow("v2 title") << 4 << 1 << QVariant(QStringLiteral("Titre v2"));
    QTest::newRow("composer whatever the version")
        << 10 << 5 << QVariant(QStringLiteral("Compositeur v2"));
    QTest::newRow("url") << 11 << 0 << QVariant(QStringLiteral("http://v2"));
    QTest::newRow("original with version 2 is empty") << 8 << 2 << QVariant();
    QTest::newRow("copyright with version -1") << 9 << -1 << QVariant(QString());
    QTest::newRow("version 2 for a common field is empty") << 1 << 2 << QVariant();
    QTest::newRow("code 13 is empty") << 13 << 0 << QVariant();
    QTest::newRow("negative code is empty") << -1 << 0 << QVariant();
}

void TestZellTagCtrl::getOneTag()
{
    QFETCH(int, info);
    QFETCH(int, version);
    QFETCH(QVariant, expected);
    QVERIFY(*tags::writeTagV2(m_path, v2Record()));
    QVERIFY(tags::writeTagV1(m_path, v1Record("t1", "A1", 4, 2)));
    const tags::Result<QVariant> value = tags::ZellTagCtrl().GetOneTag(info, m_path, version);
    QVERIFY(value.ok());
    QCOMPARE(value->isValid(), expected.isValid());
    QCOMPARE(value->metaType(), expected.metaType());
    QCOMPARE(*value, expected);
}

void TestZellTagCtrl::allTags()
{
    const tags::ZellTagCtrl ctrl;
    tags::TagType both;
    both.TagV1 = v1Record("Un", "Deux", 3, 17);
    both.TagV2 = v2Record();
    QVERIFY(*ctrl.SetAllTags(m_path, both));
    const tags::TagType back = *ctrl.GetAllTags(m_path);
    QCOMPARE(back.TagV1, both.TagV1);
    QCOMPARE(back.TagV2.Titre(), both.TagV2.Titre());
    QCOMPARE(back.TagV2.Piste(), both.TagV2.Piste());
    // A failing ID3v1 write (track 300) still lets the ID3v2 one happen, and the result is false.
    both.TagV1.setPiste(300);
    both.TagV2.setTitre("Nouveau");
    QVERIFY(!*ctrl.SetAllTagsOld(m_path, both));
    QCOMPARE(ctrl.GetAllTags(m_path)->TagV2.Titre(), QStringLiteral("Nouveau"));
    QCOMPARE(ctrl.GetAllTags(m_path)->TagV1.Piste(), qint16(3));
}

void TestZellTagCtrl::clearAll()
{
    const tags::ZellTagCtrl ctrl;
    tags::TagType both;
    both.TagV1 = v1Record("Un", "Deux", 3, 17);
    both.TagV2 = v2Record();
    QVERIFY(*ctrl.SetAllTags(m_path, both));
    QVERIFY(ctrl.ClearTagV1(m_path));
    QVERIFY(ctrl.GetTagV1(m_path).Valide());
    QVERIFY(*ctrl.ClearAllTags(m_path));
    const tags::TagType after = *ctrl.GetAllTags(m_path);
    QVERIFY(after.TagV1.Valide());
    QVERIFY(!after.TagV2.Valide());
    QCOMPARE(readAll(m_path), mpegFrames(3) + tags::renderId3v1(both.TagV1).value());
}

void TestZellTagCtrl::ioFailurePasses()
{
    const tags::ZellTagCtrl ctrl;
    const QString missing = m_dir.filePath("absent.mp3");
    const tags::Result<tags::TagType> all = ctrl.GetAllTags(missing);
    QVERIFY(!all.ok());
    QVERIFY(all.error().contains(QStringLiteral("absent.mp3")));
    QVERIFY(!ctrl.GetOneTag(1, missing).ok());
    QVERIFY(!ctrl.SetTagV2(missing, v2Record()).ok());
    QVERIFY(!ctrl.GetTagV1(missing).Valide());
    QVERIFY(!ctrl.SetTagV1(missing, v1Record("a", "b", 1, 1)));
    // A picture file that cannot be read stops the write; the file is untouched.
    tags::TypeTagV2 withPicture = v2Record();
    const QString jpeg = m_dir.filePath("p.jpg");
    QVERIFY(writeAll(jpeg, "jpeg"));
    withPicture.SetPicFromFile(jpeg);
    QVERIFY(QFile::remove(jpeg));
    const QByteArray before = readAll(m_path);
    const tags::Result<bool> written = ctrl.SetTagV2(m_path, withPicture);
    QVERIFY(!written.ok());
    QVERIFY2(written.error().contains(QStringLiteral("image")), qPrintable(written.error()));
    QCOMPARE(readAll(m_path), before);
}

void TestZellTagCtrl::genreList()
{
    QStringList list{"vieux"};
    tags::ZellTagCtrl().GetGenreListe(list);
    QCOMPARE(list.size(), 149);
    QCOMPARE(list.first(), QString());
    QCOMPARE(list.at(1), QStringLiteral("Blues"));
    QCOMPARE(list.last(), QStringLiteral("SynthPop"));
}

void TestZellTagCtrl::winampForm()
{
    const tags::ZellTagCtrl ctrl;
    ctrl.WinampForm(m_path); // nothing registered: nothing happens
    QStringList opened;
    tags::ZellTagCtrl::setTagEditorLoader([&](const QString &f) { opened.append(f); });
    ctrl.WinampForm(m_path);
    ctrl.WinampForm(QStringLiteral("/x/CHANSON.MP3"));
    ctrl.WinampForm(QStringLiteral("/x/son.wav"));
    ctrl.WinampForm(QStringLiteral("/x/mp3"));
    tags::ZellTagCtrl::setTagEditorLoader({});
    ctrl.WinampForm(m_path);
    QCOMPARE(opened, (QStringList{m_path, "/x/CHANSON.MP3", "/x/mp3"}));
}

QTEST_GUILESS_MAIN(TestZellTagCtrl)
#include "tst_zelltagctrl.moc"
