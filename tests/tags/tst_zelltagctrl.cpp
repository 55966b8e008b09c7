// The tag controller; its copy modes are tested through `tarvex-cli copy`.
#include "tags/id3v1.h"
#include "tags/zelltagctrl.h"

#include "tagtestutil.h"

#include <QTemporaryDir>

using namespace tagtest;

class TestZellTagCtrl : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath("piste.mp3");
    const tags::ZellTagCtrl m_ctrl;
    tags::TagType m_both;

private slots:
    void init()
    {
        m_both = {};
        m_both.TagV1.setValide(true);
        m_both.TagV1.setTitre("t1");
        m_both.TagV1.setPiste(4);
        m_both.TagV2 = fullRecord();
        QVERIFY(writeAll(m_path, mpegFrames(3)));
        QVERIFY(saved(m_ctrl.SetAllTags(m_path, m_both)));
    }

    void getOneTag_data()
    {
        QTest::addColumn<int>("info");
        QTest::addColumn<int>("version");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("v1 track is a number") << 3 << 0 << QVariant::fromValue(qint16(4));
        QTest::newRow("v2 track is a text") << 3 << 1 << QVariant(QStringLiteral("4/11"));
        QTest::newRow("any other version") << 10 << 5 << QVariant(QStringLiteral("Ravel"));
        QTest::newRow("version 2 for a common field is empty") << 1 << 2 << QVariant();
        QTest::newRow("code 13 is empty") << 13 << 0 << QVariant();
    }

    void getOneTag()
    {
        QFETCH(int, info);
        QFETCH(int, version);
        QFETCH(QVariant, expected);
        const tags::Result<QVariant> value = m_ctrl.GetOneTag(info, m_path, version);
        QVERIFY(value.ok());
        QCOMPARE(value->metaType(), expected.metaType());
        QCOMPARE(*value, expected);
    }

    void allTags()
    {
        const tags::TagType back = m_ctrl.GetAllTags(m_path).value();
        QCOMPARE(back.TagV1, m_both.TagV1);
        QCOMPARE(back.TagV2, m_both.TagV2);
        // Both tags change together or not at all: a track the ID3v1 block cannot hold stops the
        // ID3v2 change too.
        const QByteArray before = readAll(m_path);
        m_both.TagV1.setPiste(300);
        m_both.TagV2.setTitre("Nouveau");
        QVERIFY(!m_ctrl.SetAllTagsOld(m_path, m_both).ok());
        QCOMPARE(readAll(m_path), before);
        // Clearing the ID3v1 tag writes nothing; clearing all removes the ID3v2 tag alone.
        QVERIFY(m_ctrl.ClearTagV1(m_path));
        QVERIFY(saved(m_ctrl.ClearAllTags(m_path)));
        QCOMPARE(readAll(m_path), mpegFrames(3) + tags::renderId3v1(back.TagV1).value());
    }

    void ioFailures()
    {
        const QString missing = m_dir.filePath("absent.mp3");
        const tags::Result<tags::TagType> all = m_ctrl.GetAllTags(missing);
        QVERIFY2(!all.ok() && all.error().contains("absent.mp3"), qPrintable(all.error()));
        QVERIFY(!m_ctrl.SetTagV2(missing, m_both.TagV2).ok());
        QVERIFY(!m_ctrl.SetTagV1(missing, m_both.TagV1));
        // A picture file that cannot be read stops the write; the file is untouched.
        const QString jpeg = m_dir.filePath("p.jpg");
        QVERIFY(writeAll(jpeg, "jpeg"));
        m_both.TagV2.SetPicFromFile(jpeg);
        QVERIFY(QFile::remove(jpeg));
        const QByteArray before = readAll(m_path);
        const tags::Result<bool> written = m_ctrl.SetTagV2(m_path, m_both.TagV2);
        QVERIFY2(!written.ok() && written.error().contains("image"), qPrintable(written.error()));
        QCOMPARE(readAll(m_path), before);
    }

    void winampForm()
    {
        struct Editor : tags::TagEditor
        {
            QStringList opened;
            void showTagsOfFile(const QString &f) override { opened.append(f); }
        } editor;
        for (const QString &file :
             {m_path, QString("/x/CHANSON.MP3"), QString("/x/son.wav"), QString("/x/mp3")})
            m_ctrl.WinampForm(file, editor);
        QCOMPARE(editor.opened, (QStringList{m_path, "/x/CHANSON.MP3", "/x/mp3"}));
    }
};

QTEST_GUILESS_MAIN(TestZellTagCtrl)
#include "tst_zelltagctrl.moc"
