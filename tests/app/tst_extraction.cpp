#include "formfixture.h"

#include "cd/ripper.h"
#include "mp3frames.h"
#include "mpegstream.h"

#include <QBuffer>
#include <QImage>

class TestExtraction : public QObject
{
    Q_OBJECT
private slots:
    // The track list follows the drive chosen and the CD device: a click on a track sets its
    // track, Timer4 follows the device, and the end of the disc clears the page.
    void trackListFollowsTheDrive()
    {
        FormFixture f;
        testsupport::DiscImage other(f.dir.path(), u"autre"_s, {40, 41, 42, 43}, 3);
        app::Form1 &w = f.start({f.discImage(), other.cuePath()});
        QTreeWidget *lv2 = f.cdPage()->LV2;
        QCOMPARE(column(lv2, 0), u"Piste 1|Piste 2|Piste 3"_s);
        QVERIFY(f.commands()->button(u"CDDB"_s)->isEnabled());
        lv2->setCurrentItem(lv2->topLevelItem(2));
        emit lv2->itemClicked(lv2->topLevelItem(2), 0);
        QCOMPARE(f.cdControl->track(), 3);
        f.cdControl->setTrack(2);
        f.timer(u"Timer4"_s)->start(10);
        QTRY_COMPARE(lv2->currentItem(), lv2->topLevelItem(1));
        f.timer(u"Timer4"_s)->stop();
        setFields(&w, u"txtArtiste=Quelqu'un"_s);
        checkRows(lv2, {1});
        // The second disc numbers its tracks from 3: rows still count from 1.
        f.cdPage()->cboLecteurCD->setCurrentIndex(1);
        QCOMPARE(column(lv2, 0), u"Piste 1|Piste 2|Piste 3|Piste 4"_s);
        QVERIFY(f.cdPage()->txtArtiste->text().isEmpty() && !lv2->topLevelItem(0)->checkState(0));
        // The end of the disc takes its cover and MusicBrainz release with it.
        setFields(&w, u"txtArtiste=Quelqu'un"_s);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        QVERIFY(buffer.open(QIODevice::WriteOnly) &&
                QImage(8, 8, QImage::Format_RGB32).save(&buffer, "JPEG"));
        f.cdPage()->setCover(jpeg);
        f.cdPage()->musicBrainzReleaseId = u"f0e1d2c3"_s;
        QVERIFY(!f.cdPage()->coverFile().isEmpty());
        emit f.cdControl->done(1);
        QCOMPARE(lv2->topLevelItemCount() + f.cdPage()->txtArtiste->text().size() +
                     f.cdPage()->coverFile().size() + f.cdPage()->musicBrainzReleaseId.size(),
                 0);
    }

    // Titles typed in the track list (F2, or a double click, even with the editor still open)
    // name the files; a file that exists is replaced only when the user says so.
    void wavJobMarksRows()
    {
        FormFixture f;
        app::Form1 &w = f.start();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTreeWidget *lv2 = f.cdPage()->LV2;
        setFields(&w, u"chkListeLecture|Text3="_s + f.dir.path()); // no playlist
        checkRows(lv2, {1, 3});
        lv2->setFocus();
        lv2->setCurrentItem(lv2->topLevelItem(2));
        QTest::keyClick(lv2, Qt::Key_F2);
        QTest::keyClicks(QApplication::focusWidget(), u"Finale"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        const QRect first = lv2->visualItemRect(lv2->topLevelItem(0));
        QTest::mouseClick(lv2->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(lv2->viewport(), Qt::LeftButton, {}, first.center());
        QTest::keyClicks(QApplication::focusWidget(), u"Ouverture"_s);
        w.run(app::Procedure::extwav);
        QCOMPARE(column(lv2, 1), u"Ok|(Pas selectionné)|Ok"_s);
        QCOMPARE(column(lv2, 2), u"AccurateRip : non vérifié||AccurateRip : non vérifié"_s);
        QCOMPARE(QDir(f.dir.path()).entryList({u"*.wav"_s}).join(u'|'),
                 u"Finale.wav|Ouverture.wav"_s);
        QCOMPARE(QFileInfo(f.dir.filePath(u"Finale.wav"_s)).size(), 44 + 100 * 2352);
        static const QRegularExpression number(u"^\\s*\\d+\\s*$"_s); // a bare sector count
        for (const QLabel *label : w.statusBar()->findChildren<QLabel *>())
            QVERIFY2(!label->isVisibleTo(&w) || !number.match(label->text()).hasMatch(),
                     qPrintable(label->objectName() + u": "_s + label->text()));
        // Again: the first file is replaced, the second kept.
        QFile::resize(f.dir.filePath(u"Finale.wav"_s), 10);
        f.dialogs->replaceAnswers = {app::Dialogs::Replace::Replace};
        w.run(app::Procedure::extwav);
        QCOMPARE(column(lv2, 1), u"Ok|(Pas selectionné)|Non remplacé"_s);
        QCOMPARE(f.dialogs->lastText(),
                 u"Le fichier « %1 » existe déjà. Voulez-vous le remplacer ?"_s.arg(
                     f.dir.filePath(u"Finale.wav"_s)));
        QCOMPARE(QFileInfo(f.dir.filePath(u"Finale.wav"_s)).size(), 10);
        // Each job starts its status columns afresh, under their titles.
        setFields(&w, u"Text3="_s + f.dir.filePath(u"absent/dossier"_s));
        checkRows(lv2, {2});
        w.run(app::Procedure::extwav);
        QCOMPARE(column(lv2, 1), u"(Pas selectionné)|Erreur|(Pas selectionné)"_s);
        QCOMPARE(column(lv2, 2), u"||"_s);
        QCOMPARE(lv2->columnCount(), 3);
        QStringList titles;
        for (int c = 0; c < lv2->columnCount(); ++c)
            titles << lv2->headerItem()->text(c);
        QCOMPARE(titles.join(u'|'), u"Pistes|État|AccurateRip"_s);
        QCOMPARE(
            f.dialogs->lastText(),
            u"Impossible de créer le fichier « %1/Piste 2.wav » : le dossier « %1 » n'existe pas."_s
                .arg(f.dir.filePath(u"absent/dossier"_s)));
    }

    // The MP3 job writes the same tags as tarvex-cli rip given the same disc and settings:
    // the tag option, the fields of the CD page, the row titles split by "Importer les noms"
    // and the defaults of the options.
    void mp3JobTagsAsTheCommandLine_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("tags");
        QTest::newRow("both") << u"Option9"_s << u"les-deux"_s;
        QTest::newRow("no tag") << u"Option10"_s << u"aucun"_s;
    }
    void mp3JobTagsAsTheCommandLine()
    {
        QFETCH(QString, option);
        QFETCH(QString, tags);
        FormFixture f;
        app::Form1 &w = f.start();
        setFields(&w, option +
                          u"|Check2|txtArtiste=Disque|txtAlbum=Album|txtAnnée=2001|"
                          u"txtGenre=Reggae|Text8=Souvenir|Text9=Tarvex|Text3="_s +
                          f.dir.path());
        QTreeWidget *lv2 = f.cdPage()->LV2;
        lv2->topLevelItem(0)->setText(0, u"Les Amis - Le Vent"_s);
        lv2->topLevelItem(2)->setText(0, u"AC/DC"_s);
        checkRows(lv2, {1, 3});
        w.run(app::Procedure::extmp3);
        QCOMPARE(column(lv2, 1), u"Ok|(Pas selectionné)|Ok"_s);
        QCOMPARE(QDir(f.dir.path()).entryList({u"*.mp3"_s}).join(u'|'),
                 u"Disque - AC-DC.mp3|Disque - Les Amis - Le Vent.mp3"_s);
        const QList<QStringList> tracks = {
            {u"1"_s, u"Les Amis"_s, u"Le Vent"_s, u"Les Amis - Le Vent"_s},
            {u"3"_s, u"Disque"_s, u"AC/DC"_s, u"AC-DC"_s}};
        for (const QStringList &track : tracks) {
            const QString line = f.dir.filePath(u"ligne %1.mp3"_s.arg(track[0]));
            QCOMPARE(runCli({u"rip"_s, u"--cd-image="_s + f.cdPage()->cboLecteurCD->currentText(),
                             u"--piste="_s + track[0], u"--mp3"_s, u"--tags="_s + tags,
                             u"--artiste="_s + track[1], u"--titre="_s + track[2],
                             u"--album=Album"_s, u"--annee=2001"_s, u"--genre=Reggae"_s,
                             u"--commentaire=Souvenir"_s, u"--encode=Tarvex"_s, line}),
                     0);
            const QString window = storedTags(f.dir.filePath(u"Disque - %1.mp3"_s.arg(track[3])));
            QCOMPARE(window.contains(track[2]), tags != u"aucun"_s);
            QCOMPARE(window, storedTags(line));
        }
    }

    // During a job the commands, tab strips and drive list are off; closing the window asks
    // first, and stopping leaves no file at all, not even a temporary one.
    void duringAJob_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::addColumn<QString>("written");
        QTest::newRow("stop and quit") << true << QString();
        QTest::newRow("go on")
            << false << u"extraction.cue|extraction.log|extraction.m3u8|Piste 1.wav|Piste 2.wav"_s;
    }
    void duringAJob()
    {
        QFETCH(bool, quit);
        FormFixture f;
        app::Form1 &w = f.start();
        const QString out = f.dir.filePath(u"sortie"_s);
        QVERIFY(QDir().mkpath(out));
        setFields(&w, u"Text3="_s + out);
        w.show();
        checkRows(f.cdPage()->LV2, {1, 2});
        const QList<QWidget *> controls = {f.commands()->Toolbar1, f.pageTabs(),
                                           f.cdPage()->cboLecteurCD, f.tagPage()->TS1};
        auto enabled = [&] {
            QString states;
            for (QWidget *control : controls)
                states += QString::number(control->isEnabled());
            return states;
        };
        QString during, closed;
        QTimer::singleShot(0, this, [&] {
            during = enabled();
            f.dialogs->answer = quit;
            closed = QString::number(w.close());
        });
        w.run(app::Procedure::extwav);
        QCOMPARE(during + u'|' + closed, u"0000|"_s + QString::number(quit));
        QCOMPARE(f.dialogs->shown.size(), 1);
        QTEST(QDir(out).entryList(QDir::Files | QDir::Hidden).join(u'|'), "written");
        QVERIFY(quit || enabled() == u"1111"_s);
    }

    // The command under the WAV list converts the ticked files into "Dossier des fichiers
    // convertis", made when missing; says so when none is ticked; asks before replacing an MP3
    // there; and ends with one report naming the file it could not convert.
    void convertCheckedWavFiles()
    {
        FormFixture f;
        const QByteArray tone = testsupport::tonePcm16(22050, 2, 44100);
        f.write(u"a.wav"_s, testsupport::wavBytes(tone, 3, 44100, 16));
        f.write(u"d.mp3"_s, "older take");
        app::Form1 &w =
            f.startOnFiles(u"b.wav|c.wav|d.wav"_s, testsupport::wavBytes(tone, 2, 44100, 16));
        const QString output = f.dir.filePath(u"convertis/neuf"_s);
        setFields(&w, u"Text5="_s + output);
        app::TagPage *page = f.tagPage();
        auto *convert = page->findChild<QPushButton *>(u"cmdConvertir"_s);
        QVERIFY(convert && !convert->isVisible()); // the list shows MP3 files
        setFields(&w, u"Combo7=*.wav"_s);
        QVERIFY(convert->isVisible() && convert->isEnabled());
        convert->click();
        QCOMPARE(f.dialogs->lastText(),
                 u"Aucun fichier WAV n'est coché : cochez les fichiers à convertir, "
                 u"puis cliquez sur « Convertir en MP3 »."_s);
        f.dialogs->shown.clear();
        checkRows(page->LV1, {1, 3, 4});
        convert->click();
        QCOMPARE(column(page->LV1, app::FileListModel::NewName),
                 u"Erreur|(Pas selectionné)|Ok|Ok"_s);
        QCOMPARE(page->files->index(0, 1).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(Qt::red));
        QCOMPARE(QDir(output).entryList({u"*.mp3"_s}).join(u'|'), u"c.mp3|d.mp3"_s);
        QCOMPARE(QDir(f.music).entryList({u"*.mp3"_s}).join(u'|'), u"d.mp3"_s);
        QCOMPARE(mpegstream::readFile(f.music + u"/d.mp3"_s), QByteArray("older take"));
        QVERIFY(testsupport::mp3Frames(mpegstream::readFile(output + u"/c.mp3"_s)).size() >= 19);
        const QString failed = u"Le fichier « %1/a.wav » a 3 canaux : seuls les fichiers mono et "
                               u"stéréo peuvent être convertis."_s.arg(f.music);
        QStringList shown;
        for (const auto &message : f.dialogs->shown)
            shown << message.text;
        QCOMPARE(shown,
                 QStringList{u"Fichiers convertis : 2, dans « %1 ».\nÉchecs :\n"_s.arg(output) +
                             failed});
        // The gauge reached its end.
        QCOMPARE(w.findChild<QFrame *>(u"Shape2"_s)->width(),
                 w.findChild<QFrame *>(u"Shape1"_s)->width());

        // Again: the MP3 files are there now; the first is replaced, the second kept.
        f.dialogs->shown.clear();
        QFile::resize(output + u"/d.mp3"_s, 10);
        f.dialogs->replaceAnswers = {app::Dialogs::Replace::Replace};
        convert->click();
        QCOMPARE(column(page->LV1, app::FileListModel::NewName),
                 u"Erreur|(Pas selectionné)|Ok|Non remplacé"_s);
        QCOMPARE(QFileInfo(output + u"/d.mp3"_s).size(), 10);
        shown.clear();
        for (const auto &message : f.dialogs->shown)
            shown << message.text;
        QCOMPARE(
            shown,
            (QStringList{
                u"Le fichier « %1/c.mp3 » existe déjà. Voulez-vous le remplacer ?"_s.arg(output),
                u"Le fichier « %1/d.mp3 » existe déjà. Voulez-vous le remplacer ?"_s.arg(output),
                u"Fichiers convertis : 1, dans « %1 ».\nFichiers MP3 existants gardés : "
                u"1.\nÉchecs :\n"_s.arg(output) +
                    failed}));
    }

    // With "Extraire la piste cachée", the sound before track 1 is ripped first, and the log
    // tells it; with "Éjecter le disque à la fin", the disc leaves the drive once the job is done.
    void hiddenTrackAndEject()
    {
        FormFixture f;
        const auto image = testsupport::DiscImage::withContents(
            f.dir.path(), u"cache"_s,
            {{75, testsupport::DiscImage::Content::Tone, 150, true}, {60}});
        app::Form1 &w = f.start({image.cuePath()});
        setFields(&w, u"chkPisteCachee|chkEjecter|Text3="_s + f.dir.path());
        checkRows(f.cdPage()->LV2, {1});
        w.run(app::Procedure::extwav);
        QVERIFY(mpegstream::readFile(f.dir.filePath(u"Piste cachée.wav"_s)).mid(44) ==
                image.trackPcm(-1));
        QVERIFY(mpegstream::readFile(f.dir.filePath(u"extraction.log"_s))
                    .contains("\nPiste cachée avant la piste 1 : 00:02:00 (extraite)\n"));
        QCOMPARE(f.cdControl->ejects, 1);
        QVERIFY(f.dialogs->shown.isEmpty());
    }

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
        setFields(&w, u"Option10|chkEjecter|txtArtiste=A|Text3="_s + out);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        app::CdPage *page = f.cdPage();
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
        QCOMPARE(f.cdControl->ejects, 0); // a job stopped leaves the disc in
        QCOMPARE(column(page->LV2, 1), u"Ok|(Annulé)|(Annulé)"_s);
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(u'|'),
                 first + u"|extraction.cue|extraction.log"_s);
        // The bytes a rip of that track alone writes.
        const QString alone = f.dir.filePath(first);
        QVERIFY((job == app::Procedure::extwav ? cd::ripTrackToWav(image.cuePath(), 0, alone)
                                               : cd::ripTrackToMp3(image.cuePath(), 0, alone))
                    .ok());
        QCOMPARE(mpegstream::readFile(QDir(out).filePath(first)), mpegstream::readFile(alone));
        QVERIFY(!page->cmdAnnuler->isVisible());
        for (const QLabel *label : w.statusBar()->findChildren<QLabel *>())
            QVERIFY2(!label->text().startsWith(u"Extraction de"_s), qPrintable(label->text()));
        QTest::keyClicks(page->txtAlbum, u"Autre"_s);
        QCOMPARE(page->txtAlbum->text(), u"Autre"_s);

        // The log says the job was cancelled. Run again, the job takes back its own log and cue
        // sheet and starts its status columns afresh; a later run is another rip, whose log
        // does not replace the first.
        page->txtAlbum->clear();
        const auto text = [&](const QString &name) {
            return QString::fromUtf8(mpegstream::readFile(QDir(out).filePath(name)));
        };
        QVERIFY(text(u"extraction.log"_s).contains(u"\nExtraction annulée avant la fin\n"_s));
        w.run(job);
        QCOMPARE(column(page->LV2, 1), u"Non remplacé|Ok|Ok"_s);
        QCOMPARE(f.cdControl->ejects, 1);
        QCOMPARE(column(page->LV2, 2).count(u"AccurateRip"_s), 2);
        const QStringList reports{u"*.log"_s, u"*.cue"_s};
        QCOMPARE(QDir(out).entryList(reports, QDir::Files, QDir::Name).join(u'|'),
                 u"extraction.cue|extraction.log"_s);
        QVERIFY(!text(u"extraction.log"_s).contains(u"annulée"_s));
        QCOMPARE(text(u"extraction.cue"_s).count(u"TRACK"_s), 2);
        f.dialogs->replaceAnswers = {app::Dialogs::Replace::Replace};
        w.run(job);
        QCOMPARE(QDir(out).entryList(reports, QDir::Files, QDir::Name).join(u'|'),
                 u"extraction (2).cue|extraction (2).log|extraction.cue|extraction.log"_s);
        QCOMPARE(text(u"extraction.cue"_s).count(u"TRACK"_s), 2);
    }

    // "Extraction FLAC et MP3" makes both from one job, each format into the folder the Options
    // page gives it, with its playlist; the log and cue sheet, beside the FLAC files they name,
    // give both encoders.
    // Each job of several formats reads the disc once into the folder of each of its formats;
    // the log and cue sheet go beside the files of the first, a format not asked for gets no
    // folder, and the MP3 file is the one that got the tags.
    void severalFormatsJob_data()
    {
        QTest::addColumn<app::Procedure>("job");
        QTest::addColumn<QString>("wav");
        QTest::addColumn<QString>("flac");
        QTest::addColumn<QString>("mp3");
        QTest::addColumn<QString>("format");
        const QString withLog = u"Album.cue|Album.log|"_s;
        const QString wav = u"Album.m3u8|Piste 1.wav|Piste 3.wav"_s;
        const QString flac = u"Album.m3u8|Disque - Piste 1.flac|Disque - Piste 3.flac"_s;
        const QString mp3 = u"Album.m3u8|Disque - Piste 1.mp3|Disque - Piste 3.mp3"_s;
        QTest::newRow("FLAC et MP3") << app::Procedure::extflacmp3 << QString() << withLog + flac
                                     << mp3 << u"FLAC niveau 8, MP3 CBR 128 kbit/s"_s;
        QTest::newRow("WAV et MP3") << app::Procedure::extwavmp3 << withLog + wav << QString()
                                    << mp3 << u"WAV, MP3 CBR 128 kbit/s"_s;
        QTest::newRow("WAV et FLAC") << app::Procedure::extwavflac << withLog + wav << flac
                                     << QString() << u"WAV, FLAC niveau 8"_s;
        QTest::newRow("WAV, FLAC et MP3") << app::Procedure::extwavflacmp3 << withLog + wav << flac
                                          << mp3 << u"WAV, FLAC niveau 8, MP3 CBR 128 kbit/s"_s;
    }
    void severalFormatsJob()
    {
        QFETCH(app::Procedure, job);
        FormFixture f;
        app::Form1 &w = f.start();
        setFields(&w, u"Option8|txtArtiste=Disque|txtAlbum=Album|txtDossierFlac=FLAC/%album%|"
                      u"txtDossierMp3=MP3|txtDossierWav=WAV|Text3="_s +
                          f.dir.path());
        f.optionsPage()->spnNiveauFlac->setValue(8);
        checkRows(f.cdPage()->LV2, {1, 3});
        w.run(job);
        QCOMPARE(column(f.cdPage()->LV2, 1), u"Ok|(Pas selectionné)|Ok"_s);
        const auto files = [&f](const QString &folder) {
            return QDir(f.dir.filePath(folder)).entryList(QDir::Files).join(u'|');
        };
        QFETCH(QString, wav);
        QCOMPARE(files(u"WAV"_s), wav);
        QTEST(files(u"FLAC/Album"_s), "flac");
        QFETCH(QString, mp3);
        QCOMPARE(files(u"MP3"_s), mp3);
        // The job's file is the MP3 file that got the tags, whichever format comes first.
        QCOMPARE(w.chosenFile(),
                 mp3.isEmpty() ? QString() : f.dir.filePath(u"MP3/Disque - Piste 3.mp3"_s));
        QFETCH(QString, format);
        const QString logFolder = wav.isEmpty() ? u"FLAC/Album"_s : u"WAV"_s;
        QVERIFY(mpegstream::readFile(f.dir.filePath(logFolder + u"/Album.log"_s))
                    .contains("Format : " + format.toUtf8() + '\n'));
    }
};

QTEST_MAIN(TestExtraction)
#include "tst_extraction.moc"
