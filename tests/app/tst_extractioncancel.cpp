#include "formfixture.h"

class TestExtractionCancel : public QObject
{
    Q_OBJECT
private slots:
    // "Annuler" pressed while the second of three tracks is read: the first file stays whole,
    // nothing else is left in the folder, the tracks not done are marked "(Annulé)", and the
    // disc fields, read-only during the job, can be typed in again.
    void cancelDuringTheSecondTrack()
    {
        FormFixture f;
        testsupport::DiscImage image(f.dir.path(), u"long"_s, {75, 900, 100});
        app::Form1 &w = f.start({image.cuePath()});
        const QString out = f.dir.filePath(u"sortie"_s);
        QVERIFY(QDir().mkpath(out));
        setFields(&w, u"Text3="_s + out);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        app::CdPage *page = cdPage(w);
        checkRows(page->LV2, {1, 2, 3});

        QString readOnlyDuring;
        QTimer press;
        connect(&press, &QTimer::timeout, this, [&] {
            if (!page->lblProgression->text().startsWith(u"Piste 2/3"_s) ||
                w.findChild<QProgressBar *>()->value() <= 0)
                return;
            press.stop();
            for (QLineEdit *field : {page->txtArtiste, page->txtAlbum, page->txtAnnee})
                readOnlyDuring += QString::number(field->isReadOnly());
            QTest::mouseClick(page->cmdAnnuler, Qt::LeftButton);
        });
        press.start(0);
        w.run(app::Procedure::extwav);

        QCOMPARE(readOnlyDuring, u"111"_s);
        QCOMPARE(column(page->LV2, 1), u"Ok|(Annulé)|(Annulé)"_s);
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden).join(u'|'),
                 u"extraction.cue|extraction.log|Piste 1.wav"_s);
        QFile first(QDir(out).filePath(u"Piste 1.wav"_s));
        QVERIFY(first.open(QIODevice::ReadOnly));
        QCOMPARE(first.readAll(), testsupport::wavBytes(image.trackPcm(0), 2, 44100, 16));
        QVERIFY(!page->cmdAnnuler->isVisible());
        QTest::keyClicks(page->txtArtiste, u"Autre"_s);
        QCOMPARE(page->txtArtiste->text(), u"Autre"_s);
    }
};

QTEST_MAIN(TestExtractionCancel)
#include "tst_extractioncancel.moc"
