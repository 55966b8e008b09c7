// tarvex-cli cddb: looks a disc image or a drive up on a CDDB server and prints what the
// extraction page would show: the disc fields and the track list rows.
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

namespace {

const char usageText[] = "cddb (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) [--serveur=URL] "
                         "[--email=ADRESSE]";

int fail(const QString &message)
{
    QTextStream(stderr) << message << "\n";
    return cli::SomeFailed;
}

QString firstLineOf(const QString &answer)
{
    return cd::answerLines(answer).value(0);
}

int run(const QStringList &args)
{
    const cli::Arguments arguments =
        cli::parseArguments(args, {"--cd-image=", "--lecteur=", "--serveur=", "--email="});
    QString error;
    const QString drive = cli::driveOption(arguments, &error);
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
    QString result = found.result;
    if (found.kind == cd::CddbQueryAnswer::Choice)
        result = cd::choiceResult(found.matches.first());
    if (found.kind == cd::CddbQueryAnswer::NotFound || result == u"Erreur|Erreur") {
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
