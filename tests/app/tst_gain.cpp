// "Calculer le ReplayGain" and "Effacer le ReplayGain" on the tag page: the measures shown
// before anything is written, the texts (and RVA2 frames when the options ask) written on OK as
// one step to undo, nothing on "Annuler".
#include "formfixture.h"
#include "peers.h"
#include "tonefiles.h"

#include "tags/usertexts.h"

namespace {

QByteArray toneFile(const QString &path, const tonefiles::Tone &tone)
{
    if (!tonefiles::writeMp3(path, tone, {"-b", "128"}))
        return {};
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Each file's ReplayGain texts, "a.mp3:NAME=value,...|b.mp3:...".
QString gainTexts(const QString &folder, const QStringList &names)
{
    QStringList files;
    for (const QString &name : names) {
        QStringList texts;
        const tags::Result<QList<tags::UserText>> read = tags::readUserTexts(folder + u'/' + name);
        for (const tags::UserText &t : read.value())
            texts.append(t.description + u'=' + t.value);
        files.append(name + u':' + texts.join(u','));
    }
    return files.join(u'|');
}

bool hasRva2(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll().contains("RVA2");
}

} // namespace

class TestGain : public QObject
{
    Q_OBJECT

private slots:
    void reviewedThenWritten_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("rva2");
        QTest::newRow("OK writes, one step to undo") << true << false;
        QTest::newRow("OK with the RVA2 box writes RVA2 frames too") << true << true;
        QTest::newRow("Annuler writes nothing") << false << true;
    }
    void reviewedThenWritten()
    {
        QFETCH(bool, ok);
        QFETCH(bool, rva2);
        if (QStandardPaths::findExecutable(u"lame"_s).isEmpty())
            TARVEX_PEER_MISSING("lame is needed");
        FormFixture f;
        const QByteArray loud = toneFile(f.dir.filePath(u"loud.mp3"_s), {44100, 2, 2, 440, 0.8, 1});
        const QByteArray quiet =
            toneFile(f.dir.filePath(u"quiet.mp3"_s), {44100, 2, 2, 440, 0.4, 1});
        QVERIFY(!loud.isEmpty() && !quiet.isEmpty());
        f.startOnFiles(u"a.mp3|b.mp3"_s, loud);
        f.write(u"b.mp3"_s, quiet);
        f.click(0);
        f.click(1, Qt::ShiftModifier);
        QCoreApplication::processEvents();
        const QString before = FormFixture::state(f.music);

        f.form->findChild<QCheckBox *>(u"chkRva2"_s)->setChecked(rva2);
        f.dialogs->answer = ok;
        f.commands()->item(u"calculgain"_s)->trigger();
        QCOMPARE(f.dialogs->tables.size(), 1);
        const QList<QStringList> rows = f.dialogs->tables.first();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0][0], u"a.mp3"_s);
        // The quiet file needs about 6 dB more than the loud one; the album is measured whole.
        const double a = rows[0][2].section(u' ', 0, 0).toDouble();
        const double b = rows[1][2].section(u' ', 0, 0).toDouble();
        QVERIFY2(qAbs(b - a - 6.02) < 0.1, qPrintable(rows[0][2] + u" / "_s + rows[1][2]));
        QCOMPARE(rows[0][4], rows[1][4]);
        QVERIFY(rows[0][4] != rows[0][2] && rows[0][4] != rows[1][2]);
        if (!ok) {
            QCOMPARE(FormFixture::state(f.music), before);
            return;
        }
        QCOMPARE(gainTexts(f.music, {u"a.mp3"_s, u"b.mp3"_s}),
                 u"a.mp3:REPLAYGAIN_TRACK_GAIN=%1,REPLAYGAIN_TRACK_PEAK=%2,"
                 "REPLAYGAIN_ALBUM_GAIN=%3,REPLAYGAIN_ALBUM_PEAK=%4|"
                 "b.mp3:REPLAYGAIN_TRACK_GAIN=%5,REPLAYGAIN_TRACK_PEAK=%6,"
                 "REPLAYGAIN_ALBUM_GAIN=%3,REPLAYGAIN_ALBUM_PEAK=%4"_s.arg(
                     rows[0][2], rows[0][3], rows[0][4], rows[0][3], rows[1][2], rows[1][3]));
        QCOMPARE(hasRva2(f.music + u"/b.mp3"_s), rva2);

        QAction *undo = f.commands()->item(u"annuler"_s);
        QCOMPARE(undo->text(), u"&Annuler : ReplayGain de 2 fichiers"_s);
        f.commands()->item(u"effacegain"_s)->trigger();
        QCOMPARE(gainTexts(f.music, {u"a.mp3"_s, u"b.mp3"_s}), u"a.mp3:|b.mp3:"_s);
        QVERIFY(!hasRva2(f.music + u"/b.mp3"_s));
        undo->trigger();
        undo->trigger();
        QCOMPARE(FormFixture::state(f.music), before);
    }

    // A measure's stop button reads "Annuler", the next job's "Arrêter" again; both stop it.
    void stopButtonSaysWhatItDoes()
    {
        FormFixture f;
        app::Form1 &w = f.start();
        auto *button = w.findChild<QPushButton *>(u"cmdArreterTache"_s);
        QStringList shown;
        int stopped = 0;
        const auto untilStopped = [&](const tags::BatchControl &control) {
            QElapsedTimer waited;
            waited.start();
            while (!*control.cancel && waited.elapsed() < 10000)
                QThread::msleep(1);
            stopped += *control.cancel;
        };
        for (const auto stop : {app::TagWindow::Stop::Cancel, app::TagWindow::Stop::AfterCurrent}) {
            QTimer::singleShot(0, &w, [&] {
                shown << button->text();
                button->click();
            });
            w.runJob(1, true, untilStopped, true, stop);
        }
        QCOMPARE(shown, (QStringList{u"&Annuler"_s, u"&Arrêter"_s}));
        QCOMPARE(stopped, 2);
        QVERIFY(button->isHidden());
    }
};

QTEST_MAIN(TestGain)
#include "tst_gain.moc"
