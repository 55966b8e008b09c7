#include "formfixture.h"

#include "cd/ripper.h"

class TestExtractionCancel : public QObject
{
    Q_OBJECT
private slots:
    // "Annuler" pressed once the first of three tracks is written, while the second is read
    // (WAV) or, all tracks read, encoded (MP3): the first file stays whole, nothing else is left
    // in the folder, the tracks not done are marked "(Annulé)", and the disc fields, read-only
    // during the job, can be typed in again.
    void cancelAfterTheFirstTrack_data()
    {
        QTest::addColumn<app::Procedure>("job");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("reading");
        QTest::newRow("WAV") << app::Procedure::extwav << u"Piste 1.wav"_s << u"Piste 2/3"_s;
        QTest::newRow("MP3, encoders at work")
            << app::Procedure::extmp3 << u"A - Piste 1.mp3"_s << u"Piste 3/3"_s;
    }
    void cancelAfterTheFirstTrack()
    {
        QFETCH(app::Procedure, job);
        QFETCH(QString, first);
        QFETCH(QString, reading);
        FormFixture f;
        testsupport::DiscImage image(f.dir.path(), u"long"_s, {75, 8000, 100});
        app::Form1 &w = f.start({image.cuePath()});
        const QString out = f.dir.filePath(u"sortie"_s);
        QVERIFY(QDir().mkpath(out));
        setFields(&w, u"Option10|txtArtiste=A|Text3="_s + out);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        app::CdPage *page = cdPage(w);
        checkRows(page->LV2, {1, 2, 3});

        QString readOnlyDuring;
        QTimer press;
        connect(&press, &QTimer::timeout, this, [&] {
            if (!QFileInfo::exists(QDir(out).filePath(first)) ||
                !page->lblProgression->text().startsWith(reading))
                return;
            press.stop();
            for (QLineEdit *field : {page->txtArtiste, page->txtAlbum, page->txtAnnee})
                readOnlyDuring += QString::number(field->isReadOnly());
            QTest::mouseClick(page->cmdAnnuler, Qt::LeftButton);
        });
        press.start(0);
        w.run(job);

        QCOMPARE(readOnlyDuring, u"111"_s);
        QCOMPARE(column(page->LV2, 1), u"Ok|(Annulé)|(Annulé)"_s);
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(u'|'),
                 first + u"|extraction.cue|extraction.log"_s);
        QFile file(QDir(out).filePath(first));
        QVERIFY(file.open(QIODevice::ReadOnly));
        // The bytes a rip of that track alone writes.
        const QString alone = f.dir.filePath(first);
        QVERIFY((job == app::Procedure::extwav ? cd::ripTrackToWav(image.cuePath(), 0, alone)
                                               : cd::ripTrackToMp3(image.cuePath(), 0, alone))
                    .ok());
        QFile expected(alone);
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected.readAll());
        QVERIFY(!page->cmdAnnuler->isVisible());
        QTest::keyClicks(page->txtAlbum, u"Autre"_s);
        QCOMPARE(page->txtAlbum->text(), u"Autre"_s);
    }
};

QTEST_MAIN(TestExtractionCancel)
#include "tst_extractioncancel.moc"
