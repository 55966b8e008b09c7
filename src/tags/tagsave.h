#pragma once

#include "tags/frameedits.h"
#include "tags/id3v2writer.h"
#include "tags/tagframes.h"
#include "tags/tagresult.h"
#include "tags/tagtype.h"
#include "tags/typetagv1.h"
#include "tags/typetagv2.h"
#include "tags/usertexts.h"

#include <QString>

#include <functional>
#include <optional>

namespace tags {

// A change of the pictures of the ID3v2 tag (see editPictures).
struct PictureEdit
{
    enum Action { SetFrontCover, RemoveOne, RemoveAll };
    Action action = SetFrontCover;
    QByteArray image;    // SetFrontCover: JPEG or PNG bytes, the MIME type read from them
    qsizetype index = 0; // RemoveOne: the picture's index (see picturesOf)
};

// What a save is asked to change in one file.
struct TagChanges
{
    // The ID3v1 block wanted; nullopt, or a record that is not valid, leaves the block as it is.
    std::optional<TypeTagV1> v1;
    // Drops the ID3v1 block.
    bool removeV1 = false;
    // The ID3v2 tag wanted; nullopt leaves the tag as it is, a record that is not valid removes
    // it.
    std::optional<TypeTagV2> v2;
    // Made after the v2 change (on a tag that holds the record when v2 is not given); a tag is
    // created when the file has none.
    std::optional<PictureEdit> pictures;
    // Made last, on the frames as the other changes leave them; a tag is created when the file
    // has none and a change adds a frame.
    QList<FrameChange> frames;
    // The ID3v2 tag, when it is written, is written as version 2.3 whatever its version (for
    // players that read nothing else); otherwise a version 2.4 tag stays version 2.4.
    bool v23 = false;
    // TXXX texts set after the pictures (see editUserTexts); a value set into a file without
    // tag creates one, an empty one removes the description's frames.
    QList<UserText> userTexts{};
    // Frames set by identifier and key (see editNamedFrames), after the changes above; a tag is
    // created when the file has none.
    QList<FrameEdit> frameEdits{};
    // A tag written anew (into a file without one, or too large for the old one's place) gets
    // at least this much padding, so that frames its writer adds later are written in place.
    qint64 padding = DefaultPadding;
};

enum class SaveKind {
    Unchanged, // the file already held these values: nothing was written
    InPlace,   // written over the old tags, the audio untouched
    Rewritten, // a new file with the new tag and the old audio took the old one's place
};

struct SaveOptions
{
    // False: data written in place are left for the caller to sync (a batch syncs the file
    // system once at its end). A rewritten file always reaches the disk before it takes the old
    // one's name.
    bool syncNow = true;
};

// Saves the tags of one file, changing only what differs from what the file holds (see
// editFrames), in one step that either happens whole or leaves the file byte for byte:
// - only a regular file whose audio is MPEG is written; another kind of file is refused;
// - an ID3v2 tag that fits in the space of the old one (frames and padding) is written in place,
//   which keeps hard links, owner and extended attributes; otherwise the file is rewritten
//   (tag, then the audio from its first frame), keeping permission bits, owner and extended
//   attributes (ACLs included), and the ID3v1 change goes into the same new file; a file with
//   other hard links is refused rather than split from them;
// - a tag the reader could not walk to its end, or with too many frames, is refused rather than
//   rewritten without what it could not read;
// - a file changed by another program during the save is left as that program wrote it.
// Every refusal and failure comes back as a French description naming the file.
Result<SaveKind> saveTags(const QString &fichier, const TagChanges &changes,
                          SaveOptions options = {});

// The changes of a save, decided from the tags the file holds when it is saved. The callback is
// given them as read through the descriptor the save then writes through, so that a save reads
// and writes one open file; it runs once, and only for an MPEG file.
using ChangesFromHeld = std::function<TagChanges(const TagType &held)>;
Result<SaveKind> saveTags(const QString &fichier, const ChangesFromHeld &changesFor,
                          SaveOptions options = {});

// saveTags for the callers that only need to know whether it went through: true, or the
// failure.
Result<bool> saveChanges(const QString &fichier, const TagChanges &changes);

} // namespace tags
