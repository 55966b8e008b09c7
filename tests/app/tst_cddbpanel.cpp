#include "formfixture.h"

#include "app/cddbpanel.h"
#include "cd/cdinfo.h"
#include "cddbserver.h"
#include "httpserver.h"
#include "mpegstream.h"

#include <QTcpServer>

using testsupport::CddbServer;

// The CD page's lookup against a CDDB server on loopback.
class TestCddbPanel : public QObject
{
    Q_OBJECT
    std::unique_ptr<FormFixture> f;
    std::unique_ptr<CddbServer> server;
    QString discId;

    app::CdPage *page() const { return f->cdPage(); }
    app::CddbPanel *panel() const { return f->form->findChild<app::CddbPanel *>(); }
    // A started window that looks its disc up on the server, which knows it in "rock".
    app::Form1 &startWindow(const QString &genre = u"Rock"_s)
    {
        app::Form1 &w = f->start();
        w.findChild<app::CddbPanel *>()->setServerUrl(server->url());
        clsCdInfo info;
        info.Init(f->cdPage()->cboLecteurCD->currentText());
        discId = info.DiscID();
        addEntry(u"rock"_s, u"DTITLE=Les Amis / Noël d'été|DYEAR=1999|DGENRE=%1|"
                            u"TTITLE0=Tant qu'il |TTITLE0=continue|TTITLE1=1999|"
                            u"TTITLE2=AC/DC/Live=E|EXTT1=live|TTITLE5=Bonus"_s.arg(genre));
        return w;
    }
    void addEntry(const QString &category, const QString &lines)
    {
        server->addEntry(category, discId, testsupport::xmcdEntry(discId, listOf(lines)));
    }

private slots:
    void init()
    {
        f = std::make_unique<FormFixture>();
        server = std::make_unique<CddbServer>();
        QVERIFY(server->start());
        server->setSites(
            {u"127.0.0.1 http %1 /~cddb/cddb.cgi N000.00 W000.00 Ici"_s.arg(server->port())});
    }
    void cleanup()
    {
        f.reset();
        server.reset();
    }

    // A genre of the list is chosen with its index; another one shows as typed and leaves no
    // index, nor does the next disc. A server list without an HTTP server does not stop the
    // lookup.
    void exactMatchFillsThePage_data()
    {
        QTest::addColumn<QString>("genre");
        QTest::addColumn<QString>("sites");
        QTest::addColumn<int>("position");
        QTest::newRow("genre in the list") << u"Rock"_s << QString() << 2;
        QTest::newRow("genre outside the list") << u"Chanson française"_s << QString() << -1;
        QTest::newRow("no HTTP server listed")
            << u"Rock"_s << u"127.0.0.1 cddbp 8880 - N0 W0 Sans HTTP"_s << 2;
    }
    void exactMatchFillsThePage()
    {
        QFETCH(QString, genre);
        QFETCH(QString, sites);
        app::Form1 &w = startWindow(genre);
        if (!sites.isEmpty())
            server->setSites({sites});
        page()->txtGenre->clear();
        page()->txtGenre->addItems({QString(), u"Blues"_s, u"Rock"_s, u"Rock & Roll"_s});
        page()->txtGenre->setCurrentIndex(3);
        w.run(app::Procedure::demandecddb);
        app::CdPage *p = page();
        QCOMPARE(p->txtArtiste->text() + u'|' + p->txtAlbum->text() + u'|' + p->txtAnnee->text() +
                     u'|' + p->txtGenre->currentText(),
                 u"Les Amis|Noël d'été|1999|"_s + genre);
        QTEST(page()->genreListPosition(), "position");
        // Split titles joined and kept as given ("/" included); no row beyond the disc.
        QCOMPARE(column(page()->LV2, 0), u"Tant qu'il continue| 1999 (live)|AC/DC/Live=E"_s);
        QVERIFY(page()->txtRecu->toPlainText().startsWith(u"210 rock "_s));
        QCOMPARE(server->commands(),
                 (QStringList{u"sites"_s, u"cddb query "_s + discId + u" 3 150 225 375 6"_s,
                              u"cddb read rock "_s + discId}));
        QVERIFY(f->cdControl->isOpen() && f->timer(u"Timer4"_s)->isActive() &&
                f->dialogs->shown.isEmpty());
        page()->cboLecteurCD->addItem(f->discImage(u"autre"_s));
        page()->cboLecteurCD->setCurrentIndex(1);
        QCOMPARE(page()->genreListPosition(), 0); // the empty genre
    }

    // The disc's CD-Text names it when the server does not know it, or alone when the options
    // say so; the year typed stays.
    void cdTextNamesTheDisc_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<int>("sent"); // requests the server received
        QTest::newRow("server finds nothing") << u"1"_s << 2;
        QTest::newRow("CD-Text alone") << u"3"_s << 0;
    }
    void cdTextNamesTheDisc()
    {
        QFETCH(QString, service);
        const QByteArray packs =
            testsupport::cdTextPacks({{0x0F,
                                       {u"Le Vent"_s, u"Un"_s, u"Deux"_s, u""_s},
                                       {u"Les Amis"_s, u"Les Amis"_s, u"Jean"_s}}});
        const auto image = testsupport::DiscImage::withContents(f->dir.path(), u"texte"_s,
                                                                {{75}, {150}, {100}}, {{}, packs});
        f->store(u"ServiceDisque"_s, service);
        app::Form1 &w = f->start({image.cuePath()});
        panel()->setServerUrl(server->url());
        page()->txtAnnee->setText(u"1999"_s);
        w.run(app::Procedure::demandecddb);
        QCOMPARE(page()->txtArtiste->text() + u'|' + page()->txtAlbum->text() + u'|' +
                     page()->txtAnnee->text(),
                 u"Les Amis|Le Vent|1999"_s);
        QCOMPARE(column(page()->LV2, 0), u"Un|Jean / Deux|Piste 3"_s);
        QTEST(int(server->commands().size()), "sent");
        QVERIFY2(page()->lblEtatRecherche->text().endsWith(u"CD-Text : Les Amis / Le Vent"_s),
                 qPrintable(page()->lblEtatRecherche->text()));
    }

    // Lookups that fill nothing keep the track list and the page empty: a query that finds
    // nothing reads nothing more, a disc that cannot be read sends no query.
    void nothingFilled_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("sent");         // requests the server received
        QTest::addColumn<QString>("received"); // first word of txtRecu: a status, or the sites
        QTest::addColumn<QString>("tracks");
        QTest::addColumn<QString>("message");
        const QString tracks = u"Piste 1|Piste 2|Piste 3"_s;
        for (const QString &failure :
             listOf(u"query 202|query 403|query 409|query 500|read 401|read 402"_s))
            QTest::addRow("%s", qPrintable(failure))
                << failure << (failure.startsWith(u'r') ? 3 : 2) << failure.section(u' ', 1)
                << tracks << QString();
        QTest::newRow("no server")
            << u"no server"_s << 0 << QString() << tracks << u"Pas de connection internet"_s;
        QTest::newRow("disc not readable") << u"no disc"_s << 1 << u"Ici"_s << QString()
                                           << u"Le lecteur n'est pas prêt. Essayez plus tard."_s;
    }
    void nothingFilled()
    {
        QFETCH(QString, failure);
        app::Form1 &w = startWindow();
        const int status = failure.section(u' ', 1).toInt();
        if (failure.startsWith(u"query"_s))
            server->setQueryStatus(status);
        if (failure.startsWith(u"read"_s))
            server->setReadStatus(status);
        if (failure == u"no server"_s) {
            QTcpServer closed; // its port is free again once it is gone
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            w.findChild<app::CddbPanel *>()->setServerUrl(
                u"http://127.0.0.1:%1/~cddb/cddb.cgi"_s.arg(closed.serverPort()));
        }
        if (failure == u"no disc"_s) {
            page()->cboLecteurCD->addItem(f->dir.filePath(u"absent.cue"_s));
            page()->cboLecteurCD->setCurrentIndex(1);
        }
        page()->txtRecu->setPlainText(u"ancien texte"_s);
        w.run(app::Procedure::demandecddb);
        QTEST(page()->txtRecu->toPlainText().section(u' ', 0, 0).section(u'\t', 0, 0), "received");
        QTEST(column(page()->LV2, 0) + page()->txtArtiste->text(), "tracks"); // no artist
        QTEST(int(server->commands().size()), "sent");
        QTEST(f->dialogs->lastText(), "message");
    }

    // "Annuler" leaves the list without changing the server.
    void serverChosenFromTheList_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("server chosen") << false;
        QTest::newRow("choice cancelled") << true;
    }
    void serverChosenFromTheList()
    {
        QFETCH(bool, cancel);
        app::Form1 &w = startWindow();
        const QString noHttp = u"127.0.0.1 cddbp 8880 - N0 W0 Sans HTTP"_s;
        server->setSites({noHttp});
        QTest::mouseClick(page()->btnChoisirSite, Qt::LeftButton);
        QCOMPARE(page()->txtRecu->toPlainText(), u"Aucun serveur HTTP dans la liste des sites"_s);
        QTest::mouseClick(page()->btnChoisirSite, Qt::LeftButton);
        server->setSites({u"miroir.example http 8080 /cgi-bin/cddb.cgi N0 W0 Miroir"_s, noHttp,
                          u"127.0.0.1 http %1 /autre/cddb.cgi N0 W0 Autre"_s.arg(server->port())});
        QTest::mouseClick(page()->btnChoisirSite, Qt::LeftButton);
        // The site without HTTP is left out.
        const QString autre = u"http://127.0.0.1:%1/autre/cddb.cgi"_s.arg(server->port());
        QCOMPARE(page()->txtRecu->toPlainText(),
                 u"Miroir\thttp://miroir.example:8080/cgi-bin/cddb.cgi\nAutre\t"_s + autre);
        QVERIFY(!page()->btnAnnulerSite->isHidden());
        page()->txtRecu->moveCursor(QTextCursor::End); // on the line of "Autre"
        QTest::mouseClick(cancel ? page()->btnAnnulerSite : page()->btnChoisirSite, Qt::LeftButton);
        QCOMPARE(w.findChild<app::CddbPanel *>()->serverUrl(), cancel ? server->url() : autre);
        QCOMPARE(page()->btnChoisirSite->text(), u"Liste des &Sites"_s);
        QVERIFY(page()->btnAnnulerSite->isHidden());
    }

    // Several matches: the one chosen fills the page, "Annuler" reads nothing and leaves the page
    // as it was; closing the window while the user chooses, or during a fetch, ends the wait at
    // once and reads nothing more.
    void severalMatchesAskForAChoice_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shown"); // artist, then the track list
        QTest::addColumn<int>("requests");
        const QString untouched = u"|Piste 1|Piste 2|Piste 3"_s;
        // An entry with one title keeps the disc's other tracks.
        QTest::newRow("second match chosen") << u"OK"_s << u"Autres|Seul|Piste 2|Piste 3"_s << 3;
        QTest::newRow("choice cancelled") << u"Annuler"_s << untouched << 2;
        QTest::newRow("closed while choosing") << u"close"_s << untouched << 2; // no read
        QTest::newRow("closed during a fetch") << u"close in a fetch"_s << untouched << 1;
    }
    void severalMatchesAskForAChoice()
    {
        QFETCH(QString, action);
        app::Form1 &w = startWindow();
        addEntry(u"folk"_s, u"DTITLE=Autres / Disque|DYEAR=2001|DGENRE=Folk|TTITLE0=Seul"_s);
        const bool fetching = action == u"close in a fetch"_s,
                   closing = action.startsWith(u"close");
        if (fetching)
            server->setMode(CddbServer::Mode::NeverAnswers);
        int offered = 0;
        QTimer poll; // acts once the matches are offered, or once the server holds the fetch
        connect(&poll, &QTimer::timeout, this, [&] {
            if (fetching ? server->commands().isEmpty() : !page()->fraCategorie->isVisible())
                return;
            poll.stop();
            offered = page()->lstCategories->count();
            page()->lstCategories->setCurrentRow(1);
            if (closing)
                w.close();
            else
                QTest::mouseClick(action == u"OK"_s ? page()->btnOkSelCategorie
                                                    : page()->btnAnnulerCategorie,
                                  Qt::LeftButton);
        });
        poll.start(20);
        w.show();
        QElapsedTimer clock;
        clock.start();
        w.run(app::Procedure::demandecddb);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(offered, fetching ? 0 : 2);
        QVERIFY(!page()->fraCategorie->isVisible() && !panel()->isBusy() &&
                !panel()->isWaitingForChoice());
        QTEST(page()->txtArtiste->text() + u'|' + column(page()->LV2, 0), "shown");
        QTEST(int(server->commands().size()), "requests");
        QCOMPARE(w.isVisible(), !closing);
        QCOMPARE(f->dialogs->lastText(), closing ? u"Voulez-vous quitter ?"_s : QString());
        QVERIFY(closing || (f->cdControl->isOpen() && f->timer(u"Timer4"_s)->isActive()));
    }

    // With MusicBrainz chosen, the release picked among several fills the page as a CDDB
    // answer does, its front cover shows, and CDDB is not asked; a FLAC rip then carries the
    // disc artist as album artist, the disc's number and the release's, artist's and recording's
    // ids.
    void musicBrainzReleasePicked()
    {
        testsupport::HttpServer musicBrainz;
        QVERIFY(musicBrainz.start());
        const auto release = [](const char *id, const char *title) {
            return QByteArray("{\"id\": \"") + id + "\", \"title\": \"" + title +
                   "\", \"date\": \"2001-05-02\", \"artist-credit\": [{\"name\": \"Les "
                   "Amis\", \"artist\": {\"id\": \"a-amis\"}}], \"media\": [{\"position\": 2, "
                   "\"tracks\": "
                   "[{\"title\": \"Un\"}, {\"title\": \"Deux\", \"recording\": {\"id\": "
                   "\"rec-" +
                   id + "\"}}, {\"title\": \"Trois\"}]}]}";
        };
        musicBrainz.queue("/ws/2/discid/", {200, "{\"releases\": [" + release("r1", "Premier") +
                                                     "," + release("r2", "Réédition") + "]}"});
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        QImage(8, 8, QImage::Format_RGB32).save(&buffer, "JPEG");
        musicBrainz.queue("/release/r2/front", {200, jpeg});
        f->store(u"ServiceDisque"_s, u"0"_s);
        f->store(u"ServeurMusicBrainz"_s, musicBrainz.url());
        f->store(u"ServeurPochettes"_s, musicBrainz.url());
        app::Form1 &w = startWindow();
        f->dialogs->choices = {1};
        w.run(app::Procedure::demandecddb);
        QTRY_VERIFY(!panel()->isBusy());
        app::CdPage *p = page();
        QCOMPARE(p->txtArtiste->text() + u'|' + p->txtAlbum->text() + u'|' + p->txtAnnee->text() +
                     u'|' + column(p->LV2, 0),
                 u"Les Amis|Réédition|2001|Un|Deux|Trois"_s);
        QCOMPARE(p->cover(), jpeg);
        QVERIFY(server->commands().isEmpty());

        setFields(&w, u"Text3="_s + f->dir.path());
        checkRows(p->LV2, {2});
        w.run(app::Procedure::extflac);
        const QStringList flacs = QDir(f->dir.path()).entryList({u"*.flac"_s});
        QCOMPARE(flacs.size(), 1);
        const QByteArray bytes = mpegstream::readFile(f->dir.filePath(flacs.first()));
        for (const char *comment :
             {"ALBUMARTIST=Les Amis", "DISCNUMBER=2", "MUSICBRAINZ_ALBUMID=r2",
              "MUSICBRAINZ_ARTISTID=a-amis", "MUSICBRAINZ_TRACKID=rec-r2"})
            QVERIFY2(bytes.contains(comment), comment);
    }

    // tarvex-cli rip --cddb tags a track as the MP3 job does after the window's lookup.
    void ripTaggedFromTheLookup()
    {
        app::Form1 &w = startWindow();
        w.run(app::Procedure::demandecddb);
        setFields(&w, u"Option9|Text8=Souvenir|Text9=Tarvex|Text3="_s + f->dir.path());
        checkRows(page()->LV2, {1});
        w.run(app::Procedure::extmp3);
        const QString line = f->dir.filePath(u"ligne.mp3"_s);
        QProcess cli;
        cli.start(qEnvironmentVariable("TARVEX_CLI"),
                  {u"rip"_s, u"--cd-image="_s + page()->cboLecteurCD->currentText(), u"--piste=1"_s,
                   u"--mp3"_s, u"--tags=les-deux"_s, u"--cddb=1"_s, u"--serveur="_s + server->url(),
                   u"--commentaire=Souvenir"_s, u"--encode=Tarvex"_s, line});
        QTRY_VERIFY_WITH_TIMEOUT(cli.state() == QProcess::NotRunning,
                                 60000); // the server answers meanwhile
        QCOMPARE(cli.exitCode(), 0);
        const QString window = storedTags(f->dir.filePath(u"Les Amis - Tant qu'il continue.mp3"_s));
        QVERIFY2(window.contains(u"Tant qu'il continue|Les Amis|Noël d'été|1999|17"_s),
                 qPrintable(window));
        QCOMPARE(storedTags(line), window);
    }
};

QTEST_MAIN(TestCddbPanel)
#include "tst_cddbpanel.moc"
