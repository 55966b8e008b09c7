#include "cd/cdinfo.h"

#include "cddbserver.h"
#include "discimage.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using testsupport::CddbServer;

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QString err;
};

// Runs tarvex-cli while this process's event loop keeps serving the loopback server.
Run runCli(const QStringList &args)
{
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    process.start(qEnvironmentVariable("TARVEX_CLI"), args);
    loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestCddbCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void discid();
    void discidOfMissingImage();
    void exactMatch();
    void firstOfSeveralMatches();
    void entryWithoutTitles();
    void failures_data();
    void failures();
    void usage();

private:
    QTemporaryDir m_dir;
    QString m_cue;
    QString m_discId;
    std::unique_ptr<CddbServer> m_server;
};

void TestCddbCli::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("TARVEX_CLI"))
        QSKIP("TARVEX_CLI is not set: run through CTest");
    QVERIFY(m_dir.isValid());
    const testsupport::DiscImage image(m_dir.path(), QStringLiteral("disc"), {300, 450, 200});
    QVERIFY(image.isValid());
    m_cue = image.cuePath();
    clsCdInfo info;
    info.Init(m_cue);
    m_discId = info.DiscID();
    QCOMPARE(m_discId.size(), 8);
}

void TestCddbCli::init()
{
    m_server = std::make_unique<CddbServer>();
    QVERIFY(m_server->start());
}

void TestCddbCli::discid()
{
    // Tracks at sectors 0, 300 and 750, lead-out at 950: start seconds 2, 6 and 12,
    // lead-out at 14 seconds, 12 seconds long.
    const Run run = runCli({QStringLiteral("discid"), QStringLiteral("--cd-image=") + m_cue});
    QCOMPARE(run.status, 0);
    const QJsonObject out = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(out.value(u"discid").toString(), QStringLiteral("0b000c03"));
    QCOMPARE(out.value(u"query").toString(),
             QStringLiteral("cddb+query+0b000c03+3+150+450+900+14"));
}

void TestCddbCli::discidOfMissingImage()
{
    const Run run = runCli({QStringLiteral("discid"),
                            QStringLiteral("--cd-image=") + m_dir.filePath(QStringLiteral("absent.cue"))});
    QCOMPARE(run.status, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(QStringLiteral("Le lecteur n'est pas prêt. Essayez plus tard.")),
             qPrintable(run.err));
}

void TestCddbCli::exactMatch()
{
    m_server->addEntry(QStringLiteral("rock"), m_discId,
                       testsupport::xmcdEntry(m_discId, {QStringLiteral("DTITLE=AC/DC / Back in Black"),
                                                         QStringLiteral("DYEAR=1980"),
                                                         QStringLiteral("DGENRE=Hard Rock"),
                                                         QStringLiteral("TTITLE0=Hells/Bells"),
                                                         QStringLiteral("TTITLE1=1999"),
                                                         QStringLiteral("TTITLE2=A/B/C"),
                                                         QStringLiteral("EXTT1=live")}));
    const Run run = runCli({QStringLiteral("cddb"), QStringLiteral("--cd-image=") + m_cue,
                            QStringLiteral("--serveur=") + m_server->url(),
                            QStringLiteral("--email=jean@exemple.fr")});
    QCOMPARE(run.status, 0);
    const QJsonObject out = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(out.value(u"discid").toString(), m_discId);
    QCOMPARE(out.value(u"categorie").toString(), QStringLiteral("rock"));
    QCOMPARE(out.value(u"Artiste").toString(), QStringLiteral("AC"));
    QCOMPARE(out.value(u"Album").toString(), QStringLiteral("DC"));
    QCOMPARE(out.value(u"Annee").toString(), QStringLiteral("1980"));
    QCOMPARE(out.value(u"Genre").toString(), QStringLiteral("Hard Rock"));
    QCOMPARE(out.value(u"Pistes").toArray().toVariantList(),
             (QVariantList{"Hells-Bells", " 1999 (live)", "A-B/C"}));
    QCOMPARE(m_server->hellos().value(0), QStringLiteral("jean+exemple.fr+xmcd+v1.0PL0"));
}

void TestCddbCli::firstOfSeveralMatches()
{
    for (const QString &category : {QStringLiteral("folk"), QStringLiteral("jazz")}) {
        m_server->addEntry(category, m_discId,
                           testsupport::xmcdEntry(m_discId, {QStringLiteral("DTITLE=X / ") + category,
                                                             QStringLiteral("DYEAR="),
                                                             QStringLiteral("DGENRE="),
                                                             QStringLiteral("TTITLE0=t")}));
    }
    const Run run = runCli({QStringLiteral("cddb"), QStringLiteral("--cd-image=") + m_cue,
                            QStringLiteral("--serveur=") + m_server->url()});
    QCOMPARE(run.status, 0);
    const QJsonObject out = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(out.value(u"categorie").toString(), QStringLiteral("folk"));
    QCOMPARE(out.value(u"Album").toString(), QStringLiteral("folk"));
}

void TestCddbCli::entryWithoutTitles()
{
    m_server->addEntry(QStringLiteral("misc"), m_discId,
                       testsupport::xmcdEntry(m_discId, {QStringLiteral("DTITLE=Seul"),
                                                         QStringLiteral("DYEAR=2000"),
                                                         QStringLiteral("DGENRE=Divers")}));
    const Run run = runCli({QStringLiteral("cddb"), QStringLiteral("--cd-image=") + m_cue,
                            QStringLiteral("--serveur=") + m_server->url()});
    QCOMPARE(run.status, 0);
    const QJsonObject out = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(out.value(u"Artiste").toString(), QStringLiteral("Seul"));
    QCOMPARE(out.value(u"Pistes").toArray().toVariantList(),
             (QVariantList{"Piste 1", "Piste 2", "Piste 3"}));
}

void TestCddbCli::failures_data()
{
    QTest::addColumn<int>("queryStatus");
    QTest::addColumn<int>("readStatus");
    QTest::addColumn<bool>("serverUp");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("requests");

    QTest::newRow("no match") << 202 << 0 << true << "Disque introuvable sur le serveur CDDB : 202"
                              << 1;
    QTest::newRow("server error") << 500 << 0 << true
                                  << "Disque introuvable sur le serveur CDDB : 500" << 1;
    QTest::newRow("entry not found on read")
        << 0 << 401 << true << "Lecture de la fiche CDDB impossible : 401" << 2;
    QTest::newRow("no server") << 0 << 0 << false << "Pas de connection internet" << 0;
}

void TestCddbCli::failures()
{
    QFETCH(int, queryStatus);
    QFETCH(int, readStatus);
    QFETCH(bool, serverUp);
    QFETCH(QString, message);
    QFETCH(int, requests);

    m_server->addEntry(QStringLiteral("rock"), m_discId,
                       testsupport::xmcdEntry(m_discId, {QStringLiteral("DTITLE=A / B")}));
    m_server->setQueryStatus(queryStatus);
    m_server->setReadStatus(readStatus);
    QString url = m_server->url();
    if (!serverUp)
        m_server.reset();
    const Run run = runCli({QStringLiteral("cddb"), QStringLiteral("--cd-image=") + m_cue,
                            QStringLiteral("--serveur=") + url});
    QCOMPARE(run.status, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.startsWith(message), qPrintable(run.err));
    if (m_server) {
        QCOMPARE(m_server->commands().size(), requests);
        for (const QString &command : m_server->commands())
            QVERIFY2(!command.contains(QStringLiteral("Erreur")), qPrintable(command));
    }
}

void TestCddbCli::usage()
{
    QCOMPARE(runCli({QStringLiteral("cddb")}).status, 2);
    QCOMPARE(runCli({QStringLiteral("discid"), QStringLiteral("--inconnue")}).status, 2);
}

QTEST_GUILESS_MAIN(TestCddbCli)
#include "tst_cddbcli.moc"
