#include "app/cddbpanel.h"
#include "app/cdpage.h"
#include "cd/cdaudiocontrol.h"
#include "cd/cdinfo.h"
#include "cd/httpfetch.h"

#include "cddbserver.h"
#include "formfixture.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>

#include "app/optionspage.h"

using testsupport::CddbServer;

namespace {

QStringList rowsOf(const QTreeWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows.append(list->topLevelItem(i)->text(0));
    return rows;
}

// Calls action once condition holds, checking every 20 ms while the window's event loop runs.
void whenReady(QObject *context, std::function<bool()> condition, std::function<void()> action)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, condition, action] {
        if (!condition())
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start(20);
}

} // namespace

class TestCddbPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void exactMatchFillsThePage();
    void genreOutsideTheList();
    void severalMatchesAskForAChoice();
    void nothingFoundKeepsTheTrackList_data();
    void nothingFoundKeepsTheTrackList();
    void noServer();
    void driveNotReady();
    void serverChosenFromTheList();
    void hostileAnswers_data();
    void hostileAnswers();
    void serverThatNeverAnswers();
    void closingWhileChoosingEndsTheWait();
    void closingDuringAFetch();
    void emailNamesTheUser();
    void anonymousByDefault();

private:
    app::Form1 &startWindow();
    app::CddbPanel *panel() const { return m_fixture->form->findChild<app::CddbPanel *>(); }
    app::CdPage *page() const { return m_fixture->form->Frame6; }
    void addAmis(const QString &category = QStringLiteral("rock"));

    std::unique_ptr<FormFixture> m_fixture;
    std::unique_ptr<CddbServer> m_server;
    QString m_discId;
};

void TestCddbPanel::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_server = std::make_unique<CddbServer>();
    QVERIFY(m_server->start());
    m_server->setSites({QStringLiteral("127.0.0.1 http %1 /~cddb/cddb.cgi N000.00 W000.00 Ici")
                            .arg(m_server->port())});
}

void TestCddbPanel::cleanup()
{
    m_fixture.reset();
    m_server.reset();
}

app::Form1 &TestCddbPanel::startWindow()
{
    app::Form1 &w = m_fixture->start();
    w.cddbServerUrl = m_server->url();
    clsCdInfo info;
    info.Init(w.Frame6->cboLecteurCD->currentText());
    m_discId = info.DiscID();
    return w;
}

void TestCddbPanel::addAmis(const QString &category)
{
    m_server->addEntry(category, m_discId,
                       testsupport::xmcdEntry(m_discId, {QStringLiteral("DTITLE=Les Amis / Noël d'été"),
                                                         QStringLiteral("DYEAR=1999"),
                                                         QStringLiteral("DGENRE=Rock"),
                                                         QStringLiteral("TTITLE0=Tant qu'il "),
                                                         QStringLiteral("TTITLE0=continue"),
                                                         QStringLiteral("TTITLE1=1999"),
                                                         QStringLiteral("TTITLE2=AC/DC/Live"),
                                                         QStringLiteral("EXTT1=live")}));
}

void TestCddbPanel::exactMatchFillsThePage()
{
    app::Form1 &w = startWindow();
    QVERIFY(panel());
    addAmis();
    page()->txtGenre->clear();
    page()->txtGenre->addItems({QString(), QStringLiteral("Blues"), QStringLiteral("Rock"),
                                QStringLiteral("Rock & Roll")});
    w.run(QStringLiteral("demandecddb"));

    QCOMPARE(page()->txtArtiste->text(), QStringLiteral("Les Amis"));
    QCOMPARE(page()->txtAlbum->text(), QStringLiteral("Noël d'été"));
    QCOMPARE(page()->txtAnnee->text(), QStringLiteral("1999"));
    QCOMPARE(page()->txtGenre->currentText(), QStringLiteral("Rock"));
    QCOMPARE(w.Label23->text(), QStringLiteral("2"));
    QCOMPARE(rowsOf(page()->LV2),
             (QStringList{"Tant qu'il continue", " 1999 (live)", "AC-DC/Live"}));
    QVERIFY(page()->txtRecu->toPlainText().startsWith(QStringLiteral("210 rock ")));
    QCOMPARE(m_server->commands(), (QStringList{"sites", "cddb query " + m_discId + " 3 150 225 375 6",
                                                "cddb read rock " + m_discId}));
    QVERIFY(w.MMControl1->isOpen());
    QCOMPARE(w.MMControl1->deviceType(), QStringLiteral("CDAudio"));
    QVERIFY(w.Timer4->isActive());
    QCOMPARE(page()->btnChoisirSite->text(), QStringLiteral("Liste des &Sites"));
    QVERIFY(m_fixture->dialogs->shown.isEmpty());
}

// A genre that is not in the list shows as typed and leaves the genre index alone.
void TestCddbPanel::genreOutsideTheList()
{
    app::Form1 &w = startWindow();
    m_server->addEntry(QStringLiteral("misc"), m_discId,
                       testsupport::xmcdEntry(m_discId, {QStringLiteral("DTITLE=A / B"),
                                                         QStringLiteral("DYEAR=2000"),
                                                         QStringLiteral("DGENRE=Chanson française"),
                                                         QStringLiteral("TTITLE0=t")}));
    page()->txtGenre->clear();
    page()->txtGenre->addItems({QString(), QStringLiteral("Rock")});
    w.Label23->setText(QStringLiteral("7"));
    w.run(QStringLiteral("demandecddb"));
    QCOMPARE(page()->txtGenre->currentText(), QStringLiteral("Chanson française"));
    QCOMPARE(w.Label23->text(), QStringLiteral("7"));
}

void TestCddbPanel::severalMatchesAskForAChoice()
{
    app::Form1 &w = startWindow();
    addAmis(QStringLiteral("rock"));
    m_server->addEntry(QStringLiteral("folk"), m_discId,
                       testsupport::xmcdEntry(m_discId, {QStringLiteral("DTITLE=Autres / Disque"),
                                                         QStringLiteral("DYEAR=2001"),
                                                         QStringLiteral("DGENRE=Folk"),
                                                         QStringLiteral("TTITLE0=Seul")}));
    bool frameShown = false;
    whenReady(this, [this] { return page()->fraCategorie->isVisible(); }, [&] {
        frameShown = true;
        QCOMPARE(page()->lstCategories->count(), 2);
        QCOMPARE(page()->lstCategories->currentRow(), 0);
        page()->lstCategories->setCurrentRow(1);
        QTest::mouseClick(page()->btnOkSelCategorie, Qt::LeftButton);
    });
    w.show();
    w.run(QStringLiteral("demandecddb"));

    QVERIFY(frameShown);
    QVERIFY(!page()->fraCategorie->isVisible());
    QCOMPARE(page()->txtArtiste->text(), QStringLiteral("Autres"));
    QCOMPARE(rowsOf(page()->LV2), QStringList{"Seul"});
    QCOMPARE(m_server->commands().last(), "cddb read folk " + m_discId);
}

void TestCddbPanel::nothingFoundKeepsTheTrackList_data()
{
    QTest::addColumn<int>("queryStatus");
    QTest::addColumn<int>("readStatus");
    QTest::addColumn<int>("requests");
    QTest::newRow("202 no match") << 202 << 0 << 2;
    QTest::newRow("403 corrupt entry") << 403 << 0 << 2;
    QTest::newRow("409 no handshake") << 409 << 0 << 2;
    QTest::newRow("500 server error") << 500 << 0 << 2;
    QTest::newRow("read 401 not found") << 0 << 401 << 3;
    QTest::newRow("read 402 server error") << 0 << 402 << 3;
}

void TestCddbPanel::nothingFoundKeepsTheTrackList()
{
    QFETCH(int, queryStatus);
    QFETCH(int, readStatus);
    QFETCH(int, requests);

    app::Form1 &w = startWindow();
    addAmis();
    m_server->setQueryStatus(queryStatus);
    m_server->setReadStatus(readStatus);
    // The track list as the table of contents gave it, whatever it holds.
    page()->LV2->clear();
    for (const QString &text : {QStringLiteral("Piste 1"), QStringLiteral("Piste 2")})
        new QTreeWidgetItem(page()->LV2, {text});
    w.run(QStringLiteral("demandecddb"));

    const int status = queryStatus ? queryStatus : readStatus;
    QVERIFY2(page()->txtRecu->toPlainText().startsWith(QString::number(status) + u' '),
             qPrintable(page()->txtRecu->toPlainText()));
    QCOMPARE(rowsOf(page()->LV2), (QStringList{"Piste 1", "Piste 2"}));
    QCOMPARE(page()->txtArtiste->text(), QString());
    QCOMPARE(m_server->commands().size(), requests);
    for (const QString &command : m_server->commands())
        QVERIFY2(!command.contains(QStringLiteral("Erreur")), qPrintable(command));
    QVERIFY(m_fixture->dialogs->shown.isEmpty());
    QVERIFY(w.MMControl1->isOpen());
}

void TestCddbPanel::noServer()
{
    app::Form1 &w = startWindow();
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    w.cddbServerUrl = QStringLiteral("http://127.0.0.1:%1/~cddb/cddb.cgi").arg(port);
    page()->txtRecu->setPlainText(QStringLiteral("ancien texte"));
    const QStringList before = rowsOf(page()->LV2);
    w.run(QStringLiteral("demandecddb"));

    QCOMPARE(m_fixture->dialogs->shown.size(), 1);
    QCOMPARE(m_fixture->dialogs->lastText(), QStringLiteral("Pas de connection internet"));
    QCOMPARE(m_fixture->dialogs->shown.last().icon, app::Dialogs::Icon::Warning);
    QCOMPARE(m_fixture->dialogs->shown.last().title, QStringLiteral("Tarvex"));
    QCOMPARE(page()->txtRecu->toPlainText(), QString());
    QCOMPARE(rowsOf(page()->LV2), before);
    QVERIFY(w.MMControl1->isOpen());
}

void TestCddbPanel::driveNotReady()
{
    app::Form1 &w = startWindow();
    page()->cboLecteurCD->addItem(m_fixture->dir.filePath(QStringLiteral("absent.cue")));
    page()->cboLecteurCD->setCurrentIndex(page()->cboLecteurCD->count() - 1);
    w.run(QStringLiteral("demandecddb"));

    QCOMPARE(m_fixture->dialogs->lastText(),
             QStringLiteral("Le lecteur n'est pas prêt. Essayez plus tard."));
    QCOMPARE(m_server->commands(), QStringList{"sites"});
}

void TestCddbPanel::serverChosenFromTheList()
{
    app::Form1 &w = startWindow();
    m_server->setSites({QStringLiteral("miroir.example http 8080 /cgi-bin/cddb.cgi N0 W0 Miroir"),
                        QStringLiteral("127.0.0.1 cddbp 8880 - N0 W0 Sans HTTP"),
                        QStringLiteral("127.0.0.1 http %1 /autre/cddb.cgi N0 W0 Autre chemin")
                            .arg(m_server->port())});
    QTest::mouseClick(page()->btnChoisirSite, Qt::LeftButton);
    QCOMPARE(page()->btnChoisirSite->text(), QStringLiteral("Choisir ce &Site"));
    const QStringList shown = page()->txtRecu->toPlainText().split(u'\n');
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0), QStringLiteral("Miroir\thttp://miroir.example:8080/cgi-bin/cddb.cgi"));

    QTextCursor cursor = page()->txtRecu->textCursor();
    cursor.setPosition(page()->txtRecu->document()->findBlockByNumber(1).position() + 3);
    page()->txtRecu->setTextCursor(cursor);
    QTest::mouseClick(page()->btnChoisirSite, Qt::LeftButton);
    QCOMPARE(page()->btnChoisirSite->text(), QStringLiteral("Liste des &Sites"));
    QCOMPARE(w.cddbServerUrl,
             QStringLiteral("http://127.0.0.1:%1/autre/cddb.cgi").arg(m_server->port()));
}

void TestCddbPanel::hostileAnswers_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("message");
    QTest::newRow("huge track number") << int(CddbServer::Mode::HugeIndex)
                                       << QStringList{"Tant qu'il continue", " 1999 (live)", "AC-DC/Live"}
                                       << "";
    QTest::newRow("no end line") << int(CddbServer::Mode::NoEndLine)
                                 << QStringList{"Tant qu'il continue", " 1999 (live)", "AC-DC/Live"}
                                 << "";
    QTest::newRow("5 MB body") << int(CddbServer::Mode::HugeBody) << QStringList{}
                               << "Pas de connection internet";
    QTest::newRow("5 MB body without length") << int(CddbServer::Mode::HugeBodyStream)
                                              << QStringList{} << "Pas de connection internet";
}

void TestCddbPanel::hostileAnswers()
{
    QFETCH(int, mode);
    QFETCH(QStringList, rows);
    QFETCH(QString, message);

    app::Form1 &w = startWindow();
    addAmis();
    m_server->setMode(CddbServer::Mode(mode));
    const QStringList before = rowsOf(page()->LV2);
    w.run(QStringLiteral("demandecddb"));
    QCOMPARE(rowsOf(page()->LV2), rows.isEmpty() ? before : rows);
    QCOMPARE(m_fixture->dialogs->lastText(), message);
}

void TestCddbPanel::serverThatNeverAnswers()
{
    app::Form1 &w = startWindow();
    m_server->setMode(CddbServer::Mode::NeverAnswers);
    QElapsedTimer clock;
    clock.start();
    w.run(QStringLiteral("demandecddb"));
    QVERIFY(clock.elapsed() < cd::HttpFetch::defaultTimeoutMs + 5000);
    QCOMPARE(m_fixture->dialogs->lastText(), QStringLiteral("Pas de connection internet"));
}

void TestCddbPanel::closingWhileChoosingEndsTheWait()
{
    app::Form1 &w = startWindow();
    addAmis(QStringLiteral("rock"));
    addAmis(QStringLiteral("folk"));
    m_fixture->dialogs->answer = true; // "Voulez-vous quitter ?"
    whenReady(this, [this] { return panel()->isWaitingForChoice(); }, [&w] { w.close(); });
    w.show();
    w.run(QStringLiteral("demandecddb"));

    QVERIFY(!panel()->isWaitingForChoice());
    QVERIFY(!panel()->isBusy());
    QVERIFY(!w.isVisible());
    QCOMPARE(m_server->commands().size(), 2); // sites, query: no read
    m_fixture->form.reset();
}

void TestCddbPanel::closingDuringAFetch()
{
    app::Form1 &w = startWindow();
    m_server->setMode(CddbServer::Mode::NeverAnswers);
    m_fixture->dialogs->answer = true;
    whenReady(this, [this] { return panel()->inetConnexion->isRunning(); }, [&w] { w.close(); });
    w.show();
    QElapsedTimer clock;
    clock.start();
    w.run(QStringLiteral("demandecddb"));
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(!panel()->isBusy());
    // The window closed: no message about the connection.
    QVERIFY(m_fixture->dialogs->lastText() != QStringLiteral("Pas de connection internet"));
    m_fixture->form.reset();
}

void TestCddbPanel::emailNamesTheUser()
{
    app::Form1 &w = startWindow();
    QLineEdit *email = w.Frame7->txtEmailCddb;
    email->setText(QStringLiteral("jean.dupont@exemple.fr"));
    emit email->editingFinished();
    QCOMPARE(m_fixture->stored(QStringLiteral("EmailCDDB")), QStringLiteral("jean.dupont@exemple.fr"));
    addAmis();
    w.run(QStringLiteral("demandecddb"));
    QCOMPARE(m_server->hellos().value(0), QStringLiteral("jean.dupont+exemple.fr+xmcd+v1.0PL0"));
    QCOMPARE(page()->txtArtiste->text(), QStringLiteral("Les Amis"));

    // The next start reads the stored address back into the field and the requests.
    m_fixture->form.reset();
    app::Form1 &again = m_fixture->start();
    QCOMPARE(again.Frame7->txtEmailCddb->text(), QStringLiteral("jean.dupont@exemple.fr"));
    QCOMPARE(again.cddbHelloSuffix, QStringLiteral("&hello=jean.dupont+exemple.fr+xmcd+v1.0PL0&proto=5"));
}

void TestCddbPanel::anonymousByDefault()
{
    app::Form1 &w = startWindow();
    QCOMPARE(w.Frame7->txtEmailCddb->text(), QString());
    w.run(QStringLiteral("demandecddb"));
    QCOMPARE(m_server->hellos().value(0), QStringLiteral("me+tarvex+xmcd+v1.0PL0"));
}

QTEST_MAIN(TestCddbPanel)
#include "tst_cddbpanel.moc"
