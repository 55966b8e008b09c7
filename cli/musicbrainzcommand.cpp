// tarvex-cli musicbrainz: identifies a disc image or a drive on MusicBrainz and prints the
// releases that hold the disc, or the one --choix names.
#include "command.h"

#include "cd/cddevice.h"
#include "cd/httpfetch.h"
#include "online/musicbrainzclient.h"
#include "online/musicbrainzdiscid.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QTextStream>

namespace {

const char usageText[] =
    QT_TRANSLATE_NOOP("cli", "musicbrainz (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) "
                             "[--serveur=URL] [--email=ADRESSE] [--choix=N]");

QJsonObject releaseJson(const online::Release &release)
{
    return {{QStringLiteral("id"), release.id},
            {QStringLiteral("Artiste"), release.artist},
            {QStringLiteral("Album"), release.title},
            {QStringLiteral("Annee"), release.year()},
            {QStringLiteral("Pays"), release.country},
            {QStringLiteral("Pistes"), QJsonArray::fromStringList(release.titles)}};
}

int run(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(
        args, {"--cd-image=", "--lecteur=", "--serveur=", "--email=", "--choix="});
    QString error;
    const QString drive = cli::driveOption(arguments, &error);
    int choice = 0;
    if (error.isEmpty())
        choice = cli::choiceOption(arguments, &error);
    if (!error.isEmpty() || drive.isEmpty())
        return cli::usageError(error, usageText);

    const std::optional<cd::CdDevice> device = cd::CdDevice::open(drive);
    const std::optional<cd::CdToc> toc = device ? device->readToc() : std::nullopt;
    const std::optional<online::MusicBrainzDisc> disc =
        toc ? online::musicBrainzDisc(*toc) : std::nullopt;
    if (!disc)
        return cli::failure(
            QCoreApplication::translate("cli", "Le lecteur n'est pas prêt. Essayez plus tard. (%1)")
                .arg(drive));

    cd::HttpFetch fetch;
    const QString server = arguments.has(QStringLiteral("--serveur="))
                               ? arguments.value(QStringLiteral("--serveur="))
                               : online::musicBrainzDefaultServerUrl();
    online::MusicBrainzClient client(fetch, server, arguments.value(QStringLiteral("--email=")));
    const online::MusicBrainzReply reply = client.lookUp(disc->id);
    QJsonObject out{{QStringLiteral("discid"), disc->id}};
    if (reply.kind == online::MusicBrainzReply::Unknown) {
        out.insert(QStringLiteral("resultats"), QJsonArray());
        out.insert(QStringLiteral("soumission"), disc->submissionUrl);
        cli::printJson(QJsonDocument(out));
    }
    if (reply.kind != online::MusicBrainzReply::Found)
        return cli::failure(reply.failure);
    if (choice > reply.releases.size()) {
        return cli::failure(QCoreApplication::translate(
                                "cli", "Choix %1 impossible : MusicBrainz donne %2 édition(s)")
                                .arg(choice)
                                .arg(reply.releases.size()));
    }
    QJsonArray results;
    for (qsizetype i = 0; i < reply.releases.size(); ++i) {
        if (choice == 0 || i == choice - 1)
            results.append(releaseJson(reply.releases.at(i)));
    }
    out.insert(QStringLiteral("resultats"), results);
    cli::printJson(QJsonDocument(out));
    return cli::AllSucceeded;
}

const cli::Registration registration({"musicbrainz", usageText, run});

} // namespace
