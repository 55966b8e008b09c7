// tarvex-cli identifier: finds the releases of MP3 files on MusicBrainz (by their tags and
// folders, else by their fingerprints on AcoustID), prints them ranked with the file-to-track
// matches, and with --appliquer writes the best one (or the N-th) into the tags, with
// --pochette its front cover from the Cover Art Archive too.
#include "command.h"

#include "cd/httpfetch.h"
#include "online/identify.h"
#include "tags/tagbatch.h"

#include <QCoreApplication>
#include <QJsonArray>

namespace {

const char usageText[] = QT_TRANSLATE_NOOP(
    "cli", "identifier [--serveur=URL] [--acoustid=URL] [--cle=CLE] [--email=ADRESSE] "
           "[--appliquer[=N]] [--pochette] [--pochettes=URL] FICHIER...");

QJsonObject releaseJson(const online::Identification &identification,
                        const online::RankedRelease &ranked)
{
    const online::ReleaseDetails &r = ranked.release;
    QJsonArray matches;
    for (const online::TrackMatch &match : ranked.matches) {
        const online::ReleaseTrack &track = r.tracks[match.track];
        matches.append(
            QJsonObject{{QStringLiteral("fichier"), identification.files[match.file].path},
                        {QStringLiteral("disque"), track.disc},
                        {QStringLiteral("piste"), track.position},
                        {QStringLiteral("titre"), track.title},
                        {QStringLiteral("enregistrement"), track.recordingId},
                        {QStringLiteral("score"), match.score}});
    }
    return {{QStringLiteral("id"), r.id},
            {QStringLiteral("artiste"), r.artist},
            {QStringLiteral("titre"), r.title},
            {QStringLiteral("date"), r.date},
            {QStringLiteral("pays"), r.country},
            {QStringLiteral("label"), r.label},
            {QStringLiteral("disques"), r.discCount},
            {QStringLiteral("pistes"), int(r.tracks.size())},
            {QStringLiteral("score"), ranked.score},
            {QStringLiteral("correspondances"), matches}};
}

int run(const QStringList &args)
{
    const cli::Arguments arguments =
        cli::parseArguments(args, {"--serveur=", "--acoustid=", "--cle=", "--email=", "--appliquer",
                                   "--appliquer=", "--pochette", "--pochettes="});
    if (!arguments.error.isEmpty() || arguments.files.isEmpty())
        return cli::usageError(arguments.error, usageText);
    int choice = 0; // 0: do not write
    if (arguments.has(QStringLiteral("--appliquer=")) ||
        arguments.has(QStringLiteral("--appliquer"))) {
        choice = 1;
        if (arguments.has(QStringLiteral("--appliquer="))) {
            bool ok = false;
            choice = arguments.value(QStringLiteral("--appliquer=")).toInt(&ok);
            if (!ok || choice < 1)
                return cli::usageError(QCoreApplication::translate(
                                           "cli", "--appliquer attend un numéro à partir de 1"),
                                       usageText);
        }
    }

    online::IdentifySettings settings;
    if (arguments.has(QStringLiteral("--serveur=")))
        settings.musicBrainzUrl = arguments.value(QStringLiteral("--serveur="));
    if (arguments.has(QStringLiteral("--acoustid=")))
        settings.acoustIdUrl = arguments.value(QStringLiteral("--acoustid="));
    settings.acoustIdKey = arguments.value(QStringLiteral("--cle="));
    settings.email = arguments.value(QStringLiteral("--email="));
    cd::HttpFetch fetch;
    const online::Identification identification =
        online::identifyFiles(arguments.files, settings, fetch);

    QJsonArray groups;
    QList<tags::BatchItem> items;
    QStringList failures;
    for (const online::AlbumIdentification &album : identification.albums) {
        QJsonArray files, releases;
        for (int i : album.group.files)
            files.append(identification.files[i].path);
        for (const online::RankedRelease &ranked : album.releases)
            releases.append(releaseJson(identification, ranked));
        groups.append(
            QJsonObject{{QStringLiteral("dossier"), album.group.folder},
                        {QStringLiteral("artiste"), album.group.artist},
                        {QStringLiteral("album"), album.group.album},
                        {QStringLiteral("fichiers"), files},
                        {QStringLiteral("empreintes"), album.fingerprinted},
                        {QStringLiteral("echecs"), QJsonArray::fromStringList(album.failures)},
                        {QStringLiteral("editions"), releases}});
        failures += album.failures;
        if (choice > 0 && choice <= album.releases.size()) {
            const online::RankedRelease &chosen = album.releases[choice - 1];
            QList<tags::BatchItem> edits = online::releaseEdits(identification, chosen);
            if (arguments.has(QStringLiteral("--pochette"))) {
                const QString noCover =
                    online::addFrontCover(edits, chosen.release.id, fetch,
                                          arguments.has(QStringLiteral("--pochettes="))
                                              ? arguments.value(QStringLiteral("--pochettes="))
                                              : online::coverArtDefaultServerUrl());
                if (!noCover.isEmpty())
                    failures.append(noCover);
            }
            items += edits;
        } else if (choice > 0)
            failures.append(QCoreApplication::translate(
                                "cli", "Choix %1 impossible pour « %2 » : %3 édition(s)")
                                .arg(choice)
                                .arg(album.group.folder)
                                .arg(album.releases.size()));
    }
    QJsonObject out{{QStringLiteral("groupes"), groups}};
    bool allWritten = true;
    if (choice > 0) {
        const tags::BatchReport report = tags::saveBatch(items);
        QJsonArray refused;
        for (const tags::BatchFailure &failure : report.failures) {
            refused.append(QJsonObject{{QStringLiteral("fichier"), failure.fichier},
                                       {QStringLiteral("raison"), failure.raison}});
            failures.append(failure.raison);
        }
        out.insert(QStringLiteral("ecrits"), int(report.saved));
        out.insert(QStringLiteral("refus"), refused);
        allWritten = report.failures.isEmpty() && items.size() > 0;
    }
    cli::printJson(QJsonDocument(out));
    for (const QString &failure : failures)
        cli::failure(failure);
    const bool found = std::all_of(
        identification.albums.begin(), identification.albums.end(),
        [](const online::AlbumIdentification &album) { return !album.releases.isEmpty(); });
    return found && allWritten ? cli::AllSucceeded : cli::SomeFailed;
}

const cli::Registration registration({"identifier", usageText, run});

} // namespace
