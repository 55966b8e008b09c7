#include "cd/riptags.h"

#include "base/fileaccess.h"
#include "tags/genres.h"
#include "tags/tagsave.h"

#include <QCoreApplication>

namespace cd {

tags::TagType ripTagRecord(const TrackTags &track, TagOption option,
                           const tags::FixedTexts &defaults, const QString &coverFile)
{
    tags::TagType record;
    const QStringList choices = tags::genreChoices();
    const int position = track.genreIndex >= 0 && track.genreIndex < choices.size()
                             ? track.genreIndex
                             : int(choices.indexOf(track.genre));
    const QString trackText = QString::number(track.track);
    if (option == TagOption::V1 || option == TagOption::V1AndV2) {
        tags::TypeTagV1 &v1 = record.TagV1;
        v1.setValide(true);
        v1.setPiste(tags::v1Track(trackText));
        v1.setTitre(track.title);
        v1.setArtiste(track.artist);
        v1.setAlbum(track.album);
        v1.setAnnee(track.year);
        v1.setGenre(tags::genreAtListPosition(position));
    }
    if (option == TagOption::V2 || option == TagOption::V1AndV2) {
        tags::TypeTagV2 &v2 = record.TagV2;
        v2.setValide(true);
        v2.setPiste(tags::v2Track(trackText));
        v2.setTitre(track.title);
        v2.setArtiste(track.artist);
        v2.setAlbum(track.album);
        v2.setAnnee(track.year);
        // A genre outside the list keeps the words of the disc fields.
        const tags::TypedGenre genre =
            tags::v2Genre(position >= 0 ? choices.at(position) : track.genre);
        v2.setGenre(genre.number);
        v2.setGenreTexte(genre.text);
        if (!coverFile.isEmpty())
            v2.SetPicFromFile(coverFile);
    }
    tags::applyFixedTexts(record, defaults);
    return record;
}

QList<VorbisComment> flacComments(const TrackTags &track, const tags::FixedTexts &defaults)
{
    const QStringList choices = tags::genreChoices();
    const QString genre = track.genreIndex >= 0 && track.genreIndex < choices.size()
                              ? choices.at(track.genreIndex)
                              : track.genre;
    const QList<VorbisComment> all = {
        {QStringLiteral("TITLE"), track.title},
        {QStringLiteral("ARTIST"), track.artist},
        {QStringLiteral("ALBUM"), track.album},
        {QStringLiteral("ALBUMARTIST"), track.albumArtist},
        {QStringLiteral("DATE"), track.year},
        {QStringLiteral("GENRE"), genre},
        {QStringLiteral("TRACKNUMBER"), QString::number(track.track)},
        {QStringLiteral("TRACKTOTAL"),
         track.trackTotal > 0 ? QString::number(track.trackTotal) : QString()},
        {QStringLiteral("DISCNUMBER"), track.discNumber},
        {QStringLiteral("ISRC"), track.isrc},
        {QStringLiteral("COMMENT"), defaults.comment.value_or(QString())},
        {QStringLiteral("MUSICBRAINZ_ALBUMID"), track.musicBrainzAlbumId},
        {QStringLiteral("MUSICBRAINZ_ARTISTID"), track.musicBrainzArtistId},
        {QStringLiteral("MUSICBRAINZ_TRACKID"), track.musicBrainzTrackId},
    };
    QList<VorbisComment> comments;
    for (const VorbisComment &comment : all) {
        if (!comment.second.trimmed().isEmpty())
            comments.append(comment);
    }
    return comments;
}

BeforeNaming tagBeforeNaming(const tags::TagType &record, const QString &fileName,
                             const QString &isrc, qint64 padding)
{
    return [record, fileName, isrc, padding](const QString &temporary) -> QString {
        tags::TagChanges changes;
        changes.v1 = record.TagV1;
        changes.v2 = record.TagV2;
        changes.padding = padding;
        if (!isrc.isEmpty() && record.TagV2.Valide())
            changes.frames.append({QStringLiteral("TSRC"), isrc});
        const tags::Result<bool> saved = tags::saveChanges(temporary, changes);
        if (saved.ok() && saved.value())
            return {};
        // The user knows the file by its own name, not by its hidden temporary one.
        QString reason = saved.ok() ? QString() : saved.error();
        reason.replace(base::shownPath(temporary), base::shownPath(fileName));
        return QCoreApplication::translate("cd", "Le tag de « %1 » n'a pas pu être enregistré : %2")
            .arg(base::shownPath(fileName), reason);
    };
}

TrackOutput ripOutput(ExtractionJob::Kind kind, const QString &path,
                      const ExtractionSettings &settings, const TrackTags &track,
                      const EncoderConfig &encoder, int flacLevel, qint64 tagPadding,
                      const QByteArray &cover)
{
    TrackOutput output{path, Overwrite::Refuse, audioFormat(kind), encoder};
    if (kind == ExtractionJob::Mp3 && settings.tagOption != TagOption::None)
        output.beforeNaming = tagBeforeNaming(
            ripTagRecord(track, settings.tagOption, settings.tagDefaults, settings.coverFile), path,
            track.isrc, tagPadding);
    if (kind == ExtractionJob::Flac) {
        output.flac.compressionLevel = flacLevel;
        output.flac.comments = flacComments(track, settings.tagDefaults);
        output.flac.frontCover = cover;
    }
    return output;
}

} // namespace cd
