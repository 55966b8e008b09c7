#pragma once

#include "tags/id3v2frames.h"
#include "tags/tagresult.h"

#include <QList>

namespace tags {

// The frames of a tag of version 2.2, 2.3 or 2.4 as version 2.3 frames, one list per frame of
// the tag (in the tag's order): version 2.3 frames stay as they are; a version 2.2 identifier
// becomes its version 2.3 one; of version 2.4, several values of a text frame are joined with
// "/", UTF-8 and UTF-16BE texts become UTF-16, TDRC becomes TYER with TDAT and TIME when the date
// has them, TDOR becomes TORY, TIPL and TMCL become IPLS, and every other frame is kept as it is
// under a version 2.3 header. Fails, naming the frames, when some cannot be carried over.
Result<QList<QList<Id3v2Frame>>> convertToV23(const Id3v2Tag &tag);

// The frames of a tag as a tag of `version` (3 or 4) holds them, one list per frame: a version
// 2.4 tag kept as version 2.4 keeps its frames as they are; version 3 is convertToV23.
Result<QList<QList<Id3v2Frame>>> framesAs(const Id3v2Tag &tag, int version);

// The version a saved tag is written in: that of a version 2.4 tag, unless `v23` asks for
// version 2.3; version 2.3 for every other tag, and for a new one.
int savedVersion(const Id3v2Tag &tag, bool v23);

// The frames of the lists, in order; the people lists of several IPLS frames are joined into
// the first, as version 2.3 allows one.
QList<Id3v2Frame> flattenFrames(const QList<QList<Id3v2Frame>> &lists);

} // namespace tags
