#include "online/identify.h"

#include "cd/httpfetch.h"
#include "mpeg/typetagmpeg.h"
#include "online/fingerprint.h"
#include "online/musicbrainzclient.h"
#include "online/musicbrainzrelease.h"
#include "tags/fieldrules.h"
#include "tags/id3v1.h"
#include "tags/id3v2reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>

#include <algorithm>

namespace online {

namespace {

// The value of the first text frame among ids (version 2.3 and 2.2 names).
QString textFrame(const tags::Id3v2Tag &tag, std::initializer_list<const char *> ids)
{
    for (const tags::Id3v2Frame &frame : tag.frames) {
        if (std::find(ids.begin(), ids.end(), frame.id) == ids.end())
            continue;
        if (const std::optional<QByteArray> body = tags::frameContent(frame, tag.version))
            return tags::textValues(*body).value(0).trimmed();
    }
    return {};
}

IdentFile readIdentFile(const QString &path)
{
    IdentFile file;
    file.path = path;
    const tags::Result<QByteArray> bytes = tags::readId3v2Bytes(path);
    const tags::Id3v2Tag tag = bytes.ok() ? tags::walkId3v2(*bytes) : tags::Id3v2Tag();
    const tags::TypeTagV2 v2 = tags::recordFromTag(tag);
    if (v2.Valide()) {
        file.title = v2.Titre().trimmed();
        file.artist = v2.Artiste().trimmed();
        file.album = v2.Album().trimmed();
        file.track = v2.Piste().section(u'/', 0, 0).toInt();
        file.albumArtist = textFrame(tag, {"TPE2", "TP2"});
        file.disc = textFrame(tag, {"TPOS", "TPA"}).section(u'/', 0, 0).toInt();
    } else {
        const tags::TypeTagV1 v1 = tags::readTagV1(path);
        if (v1.Valide()) {
            file.title = v1.Titre().trimmed();
            file.artist = v1.Artiste().trimmed();
            file.album = v1.Album().trimmed();
            file.track = v1.Piste();
        }
    }
    mpeg::TypeTagMpeg mpeg;
    mpeg = mpeg.AnalyseMpeg(path);
    if (mpeg.Valide() && mpeg.Duree() > 0)
        file.durationMs = mpeg.Duree() * 1000 + 500; // the length is known to the second
    return file;
}

bool hasTags(const QList<IdentFile> &files, const AlbumGroup &group)
{
    return std::any_of(group.files.begin(), group.files.end(), [&](int i) {
        return !files[i].album.isEmpty() || !files[i].artist.isEmpty() || !files[i].title.isEmpty();
    });
}

// The releases a group's fingerprints point at, the most shared first.
QStringList releasesOfFingerprints(const QList<IdentFile> &files, const AlbumGroup &group)
{
    QStringList order;
    QHash<QString, int> votes;
    for (int i : group.files) {
        for (const QString &id : files[i].releaseIds) {
            if (!votes.contains(id))
                order.append(id);
            ++votes[id];
        }
    }
    std::stable_sort(order.begin(), order.end(), [&](const QString &a, const QString &b) {
        return votes.value(a) > votes.value(b);
    });
    return order;
}

class Identifier
{
public:
    Identifier(const IdentifySettings &settings, cd::HttpFetch &fetch,
               const std::function<void(const QString &)> &progress)
        : m_settings(settings), m_fetch(fetch), m_progress(progress),
          m_musicBrainz(fetch, settings.musicBrainzUrl, settings.email)
    {
    }

    void identify(Identification &result, AlbumIdentification &album)
    {
        if (hasTags(result.files, album.group) || album.group.artist.size() > 0) {
            say(QCoreApplication::translate("online", "Recherche de « %1 » sur MusicBrainz")
                    .arg(album.group.album));
            const QUrl url =
                releaseSearchUrl(m_settings.musicBrainzUrl, album.group.artist, album.group.album,
                                 int(album.group.files.size()), m_settings.searchLimit);
            QString failure;
            const QByteArray body = m_musicBrainz.get(url, &failure);
            QStringList ids;
            if (failure.isEmpty() && !parseReleaseSearch(body, &ids))
                failure = unreadable();
            if (!failure.isEmpty())
                album.failures.append(failure);
            fetchReleases(result, album, ids.mid(0, m_settings.searchLimit));
        }
        const int best = album.releases.isEmpty() ? 0 : album.releases.first().score;
        if (best < m_settings.placedScore && !cancelled()) {
            fingerprint(result, album);
            const QStringList ids = releasesOfFingerprints(result.files, album.group);
            fetchReleases(result, album, ids.mid(0, m_settings.searchLimit));
        }
        if (album.releases.isEmpty() && album.failures.isEmpty())
            album.failures.append(
                QCoreApplication::translate("online", "Aucune édition trouvée pour « %1 »")
                    .arg(QDir::toNativeSeparators(album.group.folder)));
    }

private:
    QString unreadable() const
    {
        return QCoreApplication::translate("online", "La réponse de MusicBrainz est illisible");
    }

    bool cancelled() const { return m_settings.cancel && *m_settings.cancel; }

    void say(const QString &text)
    {
        if (m_progress)
            m_progress(text);
    }

    // Fetches the releases not fetched yet, then ranks every release of the group again (the
    // fingerprints may have changed what the files match).
    void fetchReleases(const Identification &result, AlbumIdentification &album,
                       const QStringList &ids)
    {
        QList<ReleaseDetails> releases;
        for (const RankedRelease &ranked : album.releases)
            releases.append(ranked.release);
        for (const QString &id : ids) {
            if (cancelled())
                return;
            if (std::any_of(releases.begin(), releases.end(),
                            [&](const ReleaseDetails &r) { return r.id == id; }))
                continue;
            QString failure;
            const QByteArray body =
                m_musicBrainz.get(releaseLookupUrl(m_settings.musicBrainzUrl, id), &failure);
            ReleaseDetails release =
                failure.isEmpty() ? parseReleaseLookup(body) : ReleaseDetails();
            if (failure.isEmpty() && release.id.isEmpty())
                failure = unreadable();
            if (!failure.isEmpty()) {
                if (!album.failures.contains(failure))
                    album.failures.append(failure);
                continue;
            }
            releases.append(std::move(release));
        }
        album.releases.clear();
        for (const ReleaseDetails &release : releases)
            album.releases.append(rankRelease(result.files, album.group, release));
        sortRanked(album.releases);
    }

    void fingerprint(Identification &result, AlbumIdentification &album)
    {
        if (m_settings.acoustIdKey.trimmed().isEmpty()) {
            album.failures.append(QCoreApplication::translate(
                "online", "Pas de clé AcoustID : les fichiers ne peuvent être reconnus par leur "
                          "empreinte"));
            return;
        }
        album.fingerprinted = true;
        QStringList paths;
        for (int i : album.group.files)
            paths.append(result.files[i].path);
        say(QCoreApplication::translate("online", "Empreintes de %n fichier(s)", nullptr,
                                        int(paths.size())));
        const QList<Fingerprint> prints = fingerprintFiles(paths, m_settings.cachePath);
        AcoustIdClient acoustId(m_fetch, m_settings.acoustIdUrl, m_settings.acoustIdKey,
                                musicBrainzUserAgent(m_settings.email));
        for (qsizetype k = 0; k < prints.size() && !cancelled(); ++k) {
            IdentFile &file = result.files[album.group.files[k]];
            QString failure = prints[k].error;
            AcoustIdMatch match;
            if (failure.isEmpty())
                acoustId.lookUp(prints[k].fingerprint, int(prints[k].duration), &match, &failure);
            if (!failure.isEmpty()) {
                if (!album.failures.contains(failure))
                    album.failures.append(failure);
                continue;
            }
            file.acoustId = match.id;
            file.recordingIds = match.recordingIds;
            file.releaseIds = match.releaseIds;
        }
    }

    const IdentifySettings &m_settings;
    cd::HttpFetch &m_fetch;
    const std::function<void(const QString &)> &m_progress;
    MusicBrainzClient m_musicBrainz;
};

void addFrame(QList<tags::FrameEdit> &frames, const char *id, const QString &key,
              const QString &value)
{
    if (!value.isEmpty())
        frames.append({QByteArray(id), key, value});
}

} // namespace

QList<IdentFile> readIdentFiles(const QStringList &paths)
{
    QList<IdentFile> files;
    for (const QString &path : paths)
        files.append(readIdentFile(path));
    return files;
}

Identification identifyFiles(const QStringList &paths, const IdentifySettings &settings,
                             cd::HttpFetch &fetch,
                             const std::function<void(const QString &)> &progress)
{
    Identification result;
    result.files = readIdentFiles(paths);
    Identifier identifier(settings, fetch, progress);
    for (const AlbumGroup &group : groupAlbums(result.files)) {
        if (settings.cancel && *settings.cancel)
            break;
        AlbumIdentification album;
        album.group = group;
        identifier.identify(result, album);
        result.albums.append(album);
    }
    result.cancelled = settings.cancel && *settings.cancel;
    return result;
}

QList<tags::BatchItem> releaseEdits(const Identification &identification,
                                    const RankedRelease &ranked)
{
    const ReleaseDetails &release = ranked.release;
    QList<tags::BatchItem> items;
    for (const TrackMatch &match : ranked.matches) {
        const IdentFile &file = identification.files[match.file];
        const ReleaseTrack &track = release.tracks[match.track];
        tags::FieldEdit edit;
        const auto set = [](std::optional<QString> &field, const QString &value) {
            if (!value.isEmpty())
                field = value;
        };
        set(edit.titre, track.title);
        set(edit.artiste, track.artist);
        set(edit.album, release.title);
        set(edit.annee, release.year());
        edit.piste = QStringLiteral("%1/%2").arg(track.position).arg(track.discTracks);
        if (!release.genre.isEmpty())
            edit.genre = tags::v2Genre(release.genre);
        addFrame(edit.frameEdits, "TPE2", {}, release.artist);
        addFrame(edit.frameEdits, "TPOS", {},
                 QStringLiteral("%1/%2").arg(track.disc).arg(std::max(release.discCount, 1)));
        addFrame(edit.frameEdits, "TXXX", QStringLiteral("MusicBrainz Album Id"), release.id);
        addFrame(edit.frameEdits, "TXXX", QStringLiteral("MusicBrainz Artist Id"), track.artistId);
        addFrame(edit.frameEdits, "TXXX", QStringLiteral("MusicBrainz Release Group Id"),
                 release.releaseGroupId);
        addFrame(edit.frameEdits, "TXXX", QStringLiteral("Acoustid Id"), file.acoustId);
        addFrame(edit.frameEdits, "UFID", QStringLiteral("http://musicbrainz.org"),
                 track.recordingId);
        items.append({file.path, edit});
    }
    return items;
}

QString addFrontCover(QList<tags::BatchItem> &edits, const QString &releaseId, cd::HttpFetch &fetch,
                      const QString &coverServerUrl, qint64 maxBytes)
{
    QString failure;
    const QByteArray image = fetchFrontCover(fetch, coverServerUrl, releaseId, maxBytes, &failure);
    if (!failure.isEmpty())
        return failure;
    for (tags::BatchItem &item : edits)
        item.edit.images = tags::PictureEdit{tags::PictureEdit::SetFrontCover, image, 0};
    return {};
}

} // namespace online
