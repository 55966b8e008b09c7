// tarvex-cli cddb: looks a disc image or a drive up on a CDDB server and prints what the
// extraction page would show: the disc fields and the track list rows. When several discs
// match, it lists them and reads only the one --choix names.
#include "cddblookup.h"
#include "command.h"

#include "cd/cddb.h"
#include "cd/cddbclient.h"
#include "cd/cddevice.h"
#include "cd/cdinfo.h"
#include "cd/discdetails.h"
#include "cd/httpfetch.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <optional>

namespace {

const char usageText[] = QT_TRANSLATE_NOOP(
    "cli", "cddb (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) [--serveur=URL] "
           "[--email=ADRESSE] [--choix=N] [--protocole=5|6] [--cd-text]  (sans réponse du "
           "serveur, ou avec --cd-text, les noms viennent du CD-Text du disque)");

QString firstLineOf(const QString &answer)
{
    return cd::answerLines(answer).value(0);
}

// The matches of a several-match answer, numbered from 1 as --choix counts them.
QJsonArray matchList(const QStringList &matches)
{
    QJsonArray list;
    for (qsizetype i = 0; i < matches.size(); ++i) {
        const QString &line = matches.at(i);
        list.append(QJsonObject{{QStringLiteral("choix"), int(i + 1)},
                                {QStringLiteral("categorie"), line.section(u' ', 0, 0)},
                                {QStringLiteral("discid"), line.section(u' ', 1, 1)},
                                {QStringLiteral("titre"), line.section(u' ', 2)}});
    }
    return list;
}

// The disc's CD-Text as a lookup; nothing when the disc has none.
std::optional<cli::DiscLookup> cdTextLookup(const QString &drive)
{
    const std::optional<cd::CdDevice> device = cd::CdDevice::open(drive);
    const std::optional<cd::CdToc> toc = device ? device->readToc() : std::nullopt;
    if (!toc)
        return std::nullopt;
    const cd::CdText text = device->readDetails(*toc).text;
    if (text.isEmpty())
        return std::nullopt;
    const cd::CddbDisc disc = cd::cdTextDisc(text, toc->audioTrackCount());
    cli::DiscLookup lookup;
    lookup.artist = disc.artist;
    lookup.album = disc.album;
    lookup.rows = disc.rows;
    lookup.source = QStringLiteral("CD-Text");
    return lookup;
}

} // namespace

namespace cli {

namespace {

// The disc of `drive` as the CDDB server knows it.
DiscLookup lookUpCddb(const QString &drive, const QString &server, const QString &email, int choice,
                      int protocolLevel)
{
    DiscLookup lookup;
    clsCdInfo info;
    info.Init(drive);
    QString message;
    const QString query = info.QueryString(&message);
    if (query.isEmpty()) {
        lookup.failure = message + QStringLiteral(" (") + drive + u')';
        return lookup;
    }

    const QString hello = cd::cddbHelloSuffix(email, protocolLevel);
    cd::HttpFetch fetch;
    const cd::CddbReply queried = cd::cddbSend(fetch, server, query, hello);
    if (!queried.failure.isEmpty()) {
        lookup.failure = queried.failure;
        return lookup;
    }
    const QString &queryAnswer = queried.answer;
    const cd::CddbQueryAnswer found = cd::parseQueryAnswer(queryAnswer, query);
    const QString notFound =
        QCoreApplication::translate("cli", "Disque introuvable sur le serveur CDDB : ") +
        firstLineOf(queryAnswer);
    if (found.kind == cd::CddbQueryAnswer::NotFound) {
        lookup.failure = notFound;
        return lookup;
    }
    // One exact match counts as a list of one.
    const qsizetype matchCount =
        found.kind == cd::CddbQueryAnswer::Choice ? found.matches.size() : 1;
    if (choice > matchCount) {
        lookup.failure = QCoreApplication::translate(
                             "cli", "Choix %1 impossible : le serveur CDDB donne %2 disque(s)")
                             .arg(choice)
                             .arg(matchCount);
        return lookup;
    }
    if (choice == 0 && matchCount > 1) {
        lookup.discId = info.DiscID();
        lookup.matches = matchList(found.matches);
        lookup.failure = QCoreApplication::translate(
            "cli", "Plusieurs disques correspondent : choisissez-en un avec "
                   "--choix=N");
        return lookup;
    }
    const QString result = found.kind == cd::CddbQueryAnswer::Choice
                               ? cd::choiceResult(found.matches.at(std::max(choice, 1) - 1))
                               : found.result;
    if (result == u"Erreur|Erreur") {
        lookup.failure = notFound;
        return lookup;
    }

    lookup.category = cd::getField(result, 1, u"|");
    lookup.discId = cd::getField(result, 2, u"|");
    const cd::CddbReply read =
        cd::cddbSend(fetch, server, cd::cddbReadCommand(lookup.category, lookup.discId), hello);
    if (!read.failure.isEmpty()) {
        lookup.failure = read.failure;
        return lookup;
    }
    const int trackCount = cd::queryTrackCount(query);
    const cd::CddbDisc disc = cd::parseReadAnswer(read.answer, trackCount);
    if (disc.code != u"210") {
        lookup.failure =
            QCoreApplication::translate("cli", "Lecture de la fiche CDDB impossible : ") +
            firstLineOf(read.answer);
        return lookup;
    }
    lookup.artist = disc.artist;
    lookup.album = disc.album;
    lookup.year = disc.year;
    lookup.genre = disc.genre;
    // The titles stay as the entry gives them: only file names replace their "/".
    lookup.rows = cd::cddbTrackRows(disc, trackCount);
    lookup.source = QStringLiteral("CDDB");
    return lookup;
}

} // namespace

DiscLookup lookUpDisc(const QString &drive, const QString &server, const QString &email, int choice,
                      int protocolLevel, NameSource source)
{
    if (source == NameSource::CdText) {
        if (std::optional<DiscLookup> text = cdTextLookup(drive))
            return *text;
        DiscLookup none;
        none.failure =
            QCoreApplication::translate("cli", "Le disque n'a pas de CD-Text (%1)").arg(drive);
        return none;
    }
    DiscLookup lookup = lookUpCddb(drive, server, email, choice, protocolLevel);
    // A choice among several discs is the user's to make; any other failure leaves the disc's
    // own names.
    if (!lookup.failure.isEmpty() && lookup.matches.isEmpty()) {
        if (std::optional<DiscLookup> text = cdTextLookup(drive))
            return *text;
    }
    return lookup;
}

} // namespace cli

namespace {

int run(const QStringList &args)
{
    const cli::Arguments arguments =
        cli::parseArguments(args, {"--cd-image=", "--lecteur=", "--serveur=", "--email=",
                                   "--choix=", "--protocole=", "--cd-text"});
    QString error;
    const QString drive = cli::driveOption(arguments, &error);
    int choice = 0;
    int protocol = cd::cddbDefaultProtocol;
    if (arguments.has(QStringLiteral("--protocole="))) {
        const QString given = arguments.value(QStringLiteral("--protocole="));
        protocol = given.toInt();
        if (protocol != 5 && protocol != 6)
            error = QCoreApplication::translate("cli",
                                                "Niveau de protocole CDDB invalide : %1 (5 ou 6)")
                        .arg(given);
    }
    if (error.isEmpty())
        choice = cli::choiceOption(arguments, &error);
    if (!error.isEmpty() || drive.isEmpty())
        return cli::usageError(error, usageText);
    const QString server = arguments.has(QStringLiteral("--serveur="))
                               ? arguments.value(QStringLiteral("--serveur="))
                               : cd::cddbDefaultServerUrl();
    const cli::DiscLookup lookup = cli::lookUpDisc(
        drive, server, arguments.value(QStringLiteral("--email=")), choice, protocol,
        arguments.has(QStringLiteral("--cd-text")) ? cli::NameSource::CdText
                                                   : cli::NameSource::CddbThenCdText);
    if (!lookup.matches.isEmpty()) {
        cli::printJson(
            QJsonDocument(QJsonObject{{QStringLiteral("discid"), lookup.discId},
                                      {QStringLiteral("correspondances"), lookup.matches}}));
    }
    if (!lookup.failure.isEmpty())
        return cli::failure(lookup.failure);
    const QJsonObject out{{QStringLiteral("discid"), lookup.discId},
                          {QStringLiteral("categorie"), lookup.category},
                          {QStringLiteral("Artiste"), lookup.artist},
                          {QStringLiteral("Album"), lookup.album},
                          {QStringLiteral("Annee"), lookup.year},
                          {QStringLiteral("Genre"), lookup.genre},
                          {QStringLiteral("Pistes"), QJsonArray::fromStringList(lookup.rows)},
                          {QStringLiteral("source"), lookup.source}};
    cli::printJson(QJsonDocument(out));
    return cli::AllSucceeded;
}

const cli::Registration registration({"cddb", usageText, run});

} // namespace
