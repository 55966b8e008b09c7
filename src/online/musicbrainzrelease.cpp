#include "online/musicbrainzrelease.h"

#include "online/musicbrainz.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace online {

namespace {

QString baseUrl(const QString &serverUrl)
{
    QString base = serverUrl;
    while (base.endsWith(u'/'))
        base.chop(1);
    return base;
}

// A phrase the search takes as one term: its quotes and backslashes escaped.
QString quoted(const QString &text)
{
    QString escaped = text.simplified();
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + escaped + u'"';
}

QString firstArtistId(const QJsonArray &credits)
{
    return credits.first().toObject().value(u"artist").toObject().value(u"id").toString();
}

} // namespace

QUrl releaseSearchUrl(const QString &serverUrl, const QString &artist, const QString &album,
                      int trackCount, int limit)
{
    QStringList terms;
    if (!album.trimmed().isEmpty())
        terms.append(QStringLiteral("release:") + quoted(album));
    if (!artist.trimmed().isEmpty())
        terms.append(QStringLiteral("artist:") + quoted(artist));
    QString query = terms.join(QStringLiteral(" AND "));
    if (trackCount > 0)
        query = u'(' + query + QStringLiteral(") tracks:") + QString::number(trackCount);
    return QUrl(baseUrl(serverUrl) + QStringLiteral("/ws/2/release?query=") +
                    QString::fromLatin1(QUrl::toPercentEncoding(query)) +
                    QStringLiteral("&limit=%1&fmt=json").arg(limit),
                QUrl::StrictMode);
}

QUrl releaseLookupUrl(const QString &serverUrl, const QString &releaseId)
{
    return QUrl(baseUrl(serverUrl) + QStringLiteral("/ws/2/release/") +
                    QString::fromLatin1(QUrl::toPercentEncoding(releaseId)) +
                    QStringLiteral("?inc=recordings+artist-credits+release-groups+labels&fmt=json"),
                QUrl::StrictMode);
}

bool parseReleaseSearch(QByteArrayView json, QStringList *ids)
{
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray());
    if (!document.isObject() || !document.object().value(u"releases").isArray())
        return false;
    for (const QJsonValue &release : document.object().value(u"releases").toArray()) {
        const QString id = release.toObject().value(u"id").toString();
        if (!id.isEmpty() && !ids->contains(id))
            ids->append(id);
    }
    return true;
}

ReleaseDetails parseReleaseLookup(QByteArrayView json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray());
    const QJsonObject r = document.object();
    ReleaseDetails release;
    if (!r.value(u"id").isString() || !r.value(u"media").isArray())
        return release;
    release.title = r.value(u"title").toString().trimmed();
    release.date = r.value(u"date").toString();
    release.country = r.value(u"country").toString();
    const QJsonArray credits = r.value(u"artist-credit").toArray();
    release.artist = artistCredit(credits);
    release.artistId = firstArtistId(credits);
    for (const QJsonValue &info : r.value(u"label-info").toArray()) {
        release.label = info.toObject().value(u"label").toObject().value(u"name").toString();
        if (!release.label.isEmpty())
            break;
    }
    const QJsonObject group = r.value(u"release-group").toObject();
    release.releaseGroupId = group.value(u"id").toString();
    release.genre = mostVotedGenre(group.value(u"genres").toArray());
    const QJsonArray media = r.value(u"media").toArray();
    release.discCount = int(media.size());
    for (qsizetype m = 0; m < media.size(); ++m) {
        const QJsonObject medium = media.at(m).toObject();
        const QJsonArray tracks = medium.value(u"tracks").toArray();
        for (qsizetype t = 0; t < tracks.size(); ++t) {
            if (release.tracks.size() == maxReleaseTracks)
                break;
            const QJsonObject track = tracks.at(t).toObject();
            const QJsonObject recording = track.value(u"recording").toObject();
            ReleaseTrack row;
            row.disc = medium.value(u"position").toInt(int(m) + 1);
            row.position = track.value(u"position").toInt(int(t) + 1);
            row.discTracks = int(tracks.size());
            row.title = track.value(u"title").toString(recording.value(u"title").toString());
            row.title = row.title.trimmed();
            QJsonArray trackCredits = track.value(u"artist-credit").toArray();
            if (trackCredits.isEmpty())
                trackCredits = recording.value(u"artist-credit").toArray();
            if (trackCredits.isEmpty())
                trackCredits = credits;
            row.artist = artistCredit(trackCredits);
            row.artistId = firstArtistId(trackCredits);
            row.recordingId = recording.value(u"id").toString();
            // A length from the answer is any number: one out of a day's range counts as unknown.
            const double length =
                track.value(u"length").toDouble(recording.value(u"length").toDouble());
            row.lengthMs = length >= 0 && length < 86400000.0 ? qint64(length) : 0;
            release.tracks.append(row);
        }
    }
    release.id = r.value(u"id").toString();
    return release;
}

} // namespace online
