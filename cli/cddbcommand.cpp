// tarvex-cli cddb: looks a disc image or a drive up on a CDDB server and prints what the
// extraction page would show: the disc fields and the track list rows. When several discs
// match, it lists them and reads only the one --choix names.
#include "command.h"

#include "cd/cddb.h"
#include "cd/cddbclient.h"
#include "cd/cdinfo.h"
#include "cd/httpfetch.h"
#include "rename/renamebatch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>

namespace {

const char usageText[] = "cddb (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) [--serveur=URL] "
                         "[--email=ADRESSE] [--choix=N]";

int fail(const QString &message)
{
    QTextStream(stderr) << message << "\n";
    return cli::SomeFailed;
}

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

int run(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(
        args, {"--cd-image=", "--lecteur=", "--serveur=", "--email=", "--choix="});
    QString error;
    const QString drive = cli::driveOption(arguments, &error);
    int choice = 0;
    if (error.isEmpty() && arguments.has(QStringLiteral("--choix="))) {
        const QString given = arguments.value(QStringLiteral("--choix="));
        choice = given.toInt();
        if (choice < 1)
            error = QStringLiteral("Choix invalide : %1 (un numéro à partir de 1)").arg(given);
    }
    if (!error.isEmpty() || drive.isEmpty())
        return cli::usageError(error, usageText);
    const QString server = arguments.has(QStringLiteral("--serveur="))
                               ? arguments.value(QStringLiteral("--serveur="))
                               : cd::cddbDefaultServerUrl();
    const QString email = arguments.value(QStringLiteral("--email="));

    clsCdInfo info;
    info.Init(drive);
    QString message;
    const QString query = info.QueryString(&message);
    if (query.isEmpty())
        return fail(message + QStringLiteral(" (") + drive + u')');

    const QString hello = cd::cddbHelloSuffix(email);
    cd::HttpFetch fetch;
    const cd::CddbReply queried = cd::cddbSend(fetch, server, query, hello);
    if (!queried.failure.isEmpty())
        return fail(queried.failure);
    const QString &queryAnswer = queried.answer;
    const cd::CddbQueryAnswer found = cd::parseQueryAnswer(queryAnswer, query);
    if (found.kind == cd::CddbQueryAnswer::NotFound) {
        return fail(QStringLiteral("Disque introuvable sur le serveur CDDB : ") +
                    firstLineOf(queryAnswer));
    }
    // One exact match counts as a list of one.
    const qsizetype matchCount =
        found.kind == cd::CddbQueryAnswer::Choice ? found.matches.size() : 1;
    if (choice > matchCount) {
        return fail(QStringLiteral("Choix %1 impossible : le serveur CDDB donne %2 disque(s)")
                        .arg(choice)
                        .arg(matchCount));
    }
    if (choice == 0 && matchCount > 1) {
        cli::printJson(QJsonDocument(
            QJsonObject{{QStringLiteral("discid"), info.DiscID()},
                        {QStringLiteral("correspondances"), matchList(found.matches)}}));
        return fail(QStringLiteral("Plusieurs disques correspondent : choisissez-en un avec "
                                   "--choix=N"));
    }
    const QString result = found.kind == cd::CddbQueryAnswer::Choice
                               ? cd::choiceResult(found.matches.at(std::max(choice, 1) - 1))
                               : found.result;
    if (result == u"Erreur|Erreur") {
        return fail(QStringLiteral("Disque introuvable sur le serveur CDDB : ") +
                    firstLineOf(queryAnswer));
    }

    const QString category = cd::getField(result, 1, u"|");
    const QString discId = cd::getField(result, 2, u"|");
    const cd::CddbReply read =
        cd::cddbSend(fetch, server, cd::cddbReadCommand(category, discId), hello);
    if (!read.failure.isEmpty())
        return fail(read.failure);
    const QString &readAnswer = read.answer;
    const int trackCount = cd::queryTrackCount(query);
    const cd::CddbDisc disc = cd::parseReadAnswer(readAnswer, trackCount);
    if (disc.code != u"210")
        return fail(QStringLiteral("Lecture de la fiche CDDB impossible : ") +
                    firstLineOf(readAnswer));

    // An entry without titles leaves the track list as the disc gave it.
    QJsonArray rows;
    for (const QString &row : disc.rows)
        rows.append(renaming::firstSlashToDash(row));
    if (rows.isEmpty()) {
        for (int k = 1; k <= trackCount; ++k)
            rows.append(QStringLiteral("Piste %1").arg(k));
    }
    const QJsonObject out{
        {QStringLiteral("discid"), discId},       {QStringLiteral("categorie"), category},
        {QStringLiteral("Artiste"), disc.artist}, {QStringLiteral("Album"), disc.album},
        {QStringLiteral("Annee"), disc.year},     {QStringLiteral("Genre"), disc.genre},
        {QStringLiteral("Pistes"), rows}};
    cli::printJson(QJsonDocument(out));
    return cli::AllSucceeded;
}

const cli::Registration registration({"cddb", usageText, run});

} // namespace
