// Reads a tag from arbitrary bytes and checks the edit rules of a save on it: saving the values it
// holds changes nothing; a title edit keeps every other frame (byte for byte in a version 2.3 or
// 2.4 tag, which keeps its version) and reads back with the new title and every other field as
// it was.
#include "tags/id3v2convert.h"
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *why, QByteArrayView bytes)
{
    fprintf(stderr, "%s\n%s\n", why, bytes.toByteArray().toHex(' ').constData());
    abort();
}

QByteArray rendered(const QList<tags::Id3v2Frame> &frames, int version)
{
    QByteArray bytes;
    for (const tags::Id3v2Frame &frame : frames)
        bytes += tags::renderFrame(frame, version);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const tags::Id3v2Tag tag = tags::walkId3v2(bytes);
    tags::FieldSources sources;
    const tags::TypeTagV2 first = tags::recordFromTag(tag, &sources);
    if (!first.Valide())
        return 0;
    const auto unchanged = tags::editFrames(tag, first);
    if (!unchanged.ok() || unchanged->has_value())
        fail("saving the values the tag holds would write", bytes);

    // A save refuses a tag with bytes it could not walk or too many frames: no edit is
    // written into one, so there is nothing to check past this point.
    if (tag.unread || tag.tooManyFrames)
        return 0;
    tags::TypeTagV2 edited = first;
    edited.setTitre(first.Titre() + QStringLiteral("é"));
    const int version = tags::savedVersion(tag, false);
    const auto frames = tags::editFrames(tag, edited, {}, version);
    if (!frames.ok())
        return 0; // frames version 2.3 cannot hold: the save is refused
    if (!frames->has_value())
        fail("a title edit was not written", bytes);
    const QList<tags::Id3v2Frame> &after = **frames;

    // Every frame but the title's is the converted frame it was, in the same order; the new
    // title stands where the old one stood, or first.
    QList<QList<tags::Id3v2Frame>> lists = tags::framesAs(tag, version).value();
    tags::Id3v2Frame title;
    title.id = "TIT2";
    title.body = tags::encodedText(edited.Titre(), version);
    const qsizetype source = sources[tags::V2Field::Titre];
    QList<tags::Id3v2Frame> expected;
    if (source >= 0)
        lists[source][0] = title;
    else
        expected.append(title);
    expected += tags::flattenFrames(lists);
    if (rendered(after, version) != rendered(expected, version))
        fail("a title edit changed another frame", bytes);

    // Read back, the tag gives the new title and every other field as it was (a version 2.4
    // date that is no timestamp keeps its whole text as the year).
    const tags::Result<QByteArray> written = tags::renderTag(after, 0, version);
    if (!written.ok())
        return 0;
    tags::TypeTagV2 back = tags::parseId3v2(*written);
    if (back.Titre() != edited.Titre())
        fail("the new title does not read back", *written);
    back.setTitre(first.Titre());
    if (tag.version == 4)
        back.setAnnee(first.Annee());
    if (!(back == first))
        fail("a title edit changed another field", *written);
    return 0;
}
