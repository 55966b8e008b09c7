#include "online/musicbrainz.h"

#include "cd/cddb.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace online {

namespace {

// The medium whose discs include discId; the first medium when none does.
QJsonObject mediumOfDisc(const QJsonArray &media, const QString &discId)
{
    for (const QJsonValue &medium : media) {
        for (const QJsonValue &disc : medium.toObject().value(u"discs").toArray()) {
            if (disc.toObject().value(u"id").toString() == discId)
                return medium.toObject();
        }
    }
    return media.first().toObject();
}

Release releaseOf(const QJsonObject &r, const QString &discId)
{
    Release release;
    release.id = r.value(u"id").toString();
    release.title = r.value(u"title").toString().trimmed();
    release.date = r.value(u"date").toString();
    release.country = r.value(u"country").toString();
    release.artist = artistCredit(r.value(u"artist-credit").toArray());
    release.artistId = r.value(u"artist-credit")
                           .toArray()
                           .first()
                           .toObject()
                           .value(u"artist")
                           .toObject()
                           .value(u"id")
                           .toString();
    release.genre = mostVotedGenre(r.value(u"genres").toArray());
    for (const QJsonValue &info : r.value(u"label-info").toArray()) {
        release.label = info.toObject().value(u"label").toObject().value(u"name").toString();
        if (!release.label.isEmpty())
            break;
    }
    const QJsonArray media = r.value(u"media").toArray();
    if (media.isEmpty())
        return release;
    const QJsonObject medium = mediumOfDisc(media, discId);
    release.discNumber = medium.value(u"position").toInt();
    const QJsonArray tracks = medium.value(u"tracks").toArray();
    release.trackCount = medium.value(u"track-count").toInt(int(tracks.size()));
    for (const QJsonValue &track : tracks) {
        const QJsonObject t = track.toObject();
        QString title = t.value(u"title").toString();
        if (title.isEmpty())
            title = t.value(u"recording").toObject().value(u"title").toString();
        release.titles.append(title.trimmed());
        release.recordingIds.append(t.value(u"recording").toObject().value(u"id").toString());
        if (release.titles.size() == cd::maxTrackCount)
            break;
    }
    return release;
}

} // namespace

// The credited names joined by the phrases between them ("A feat. B").
QString artistCredit(const QJsonArray &credits)
{
    QString text;
    for (const QJsonValue &credit : credits) {
        const QJsonObject c = credit.toObject();
        const QString name = c.value(u"name").toString();
        text += name.isEmpty() ? c.value(u"artist").toObject().value(u"name").toString() : name;
        text += c.value(u"joinphrase").toString();
    }
    return text.trimmed();
}

QString mostVotedGenre(const QJsonArray &genres)
{
    QString best;
    int votes = -1;
    for (const QJsonValue &genre : genres) {
        const QJsonObject g = genre.toObject();
        if (g.value(u"count").toInt() > votes && !g.value(u"name").toString().isEmpty()) {
            votes = g.value(u"count").toInt();
            best = g.value(u"name").toString();
        }
    }
    return best;
}

QString musicBrainzDefaultServerUrl()
{
    return QStringLiteral("https://musicbrainz.org");
}

QUrl discIdLookupUrl(const QString &serverUrl, const QString &discId)
{
    QString base = serverUrl;
    while (base.endsWith(u'/'))
        base.chop(1);
    return QUrl(base + QStringLiteral("/ws/2/discid/") +
                    QString::fromLatin1(QUrl::toPercentEncoding(discId)) +
                    QStringLiteral("?inc=artists+labels+recordings+genres&fmt=json"),
                QUrl::StrictMode);
}

QString musicBrainzUserAgent(const QString &email)
{
    const QString agent = QStringLiteral("Tarvex/") + QStringLiteral(TARVEX_VERSION);
    const QString contact = email.trimmed();
    return contact.isEmpty() ? agent
                             : agent + QStringLiteral(" ( ") + contact + QStringLiteral(" )");
}

QString Release::pickerLine() const
{
    QStringList details;
    for (const QString &detail : {date, country, label}) {
        if (!detail.isEmpty())
            details.append(detail);
    }
    details.append(QStringLiteral("%1 pistes").arg(trackCount));
    return artist + QStringLiteral(" - ") + title + QStringLiteral(" (") +
           details.join(QStringLiteral(", ")) + u')';
}

ReleaseList parseDiscIdAnswer(QByteArrayView json, const QString &discId)
{
    ReleaseList list;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        !document.object().value(u"releases").isArray()) {
        list.failure = QStringLiteral("La réponse de MusicBrainz est illisible (ce n'est pas la "
                                      "liste des éditions du disque)");
        return list;
    }
    for (const QJsonValue &release : document.object().value(u"releases").toArray()) {
        if (release.isObject())
            list.releases.append(releaseOf(release.toObject(), discId));
    }
    return list;
}

cd::CddbDisc discOfRelease(const Release &release)
{
    cd::CddbDisc disc;
    disc.code = QStringLiteral("210");
    disc.discLines = 3;
    disc.artist = release.artist;
    disc.album = release.title;
    disc.year = release.year();
    disc.genre = release.genre;
    disc.rows = release.titles;
    disc.musicBrainzReleaseId = release.id;
    disc.musicBrainzArtistId = release.artistId;
    disc.musicBrainzRecordingIds = release.recordingIds;
    disc.discNumber = release.discNumber > 0 ? QString::number(release.discNumber) : QString();
    return disc;
}

} // namespace online
