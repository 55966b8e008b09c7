#pragma once

#include "tags/id3v2frames.h"
#include "tags/tagresult.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tags {

// Every frame of an ID3v2 tag, as tarvex-cli lists it and the editor's "Autres champs" shows it,
// and the edits that set or remove one frame by its key.
//
// A frame is named by its key: its identifier, followed for the frames a tag may hold several
// times by ":" and what tells them apart (the description of TXXX, WXXX, COMM and USLT, the owner
// of PRIV and UFID, the e-mail of POPM, the element of CHAP and CTOC, the identification of
// RVA2): "TPE2", "TXXX:MusicBrainz Album Id", "COMM:iTunNORM", "PRIV:WM/Provider". An empty
// description gives the identifier alone.

// Several values of a text frame are shown, and typed, separated by this text; version 2.4 holds
// them separated by NUL, version 2.3 joined with "/".
inline constexpr QStringView ValueSeparator = u"\\\\";

struct TagFrame
{
    QString key;
    QByteArray id;        // the version 2.3 or 2.4 identifier (version 2.2 ones are renamed)
    QString value;        // of a text frame (T***, COMM, USLT, W***): the text or URL
    bool text = false;    // its value can be read and edited
    qsizetype size = 0;   // bytes of the frame's content
    qsizetype index = -1; // its position in the tag's frames
};

// The frames of a tag, in the tag's order.
QList<TagFrame> listFrames(const Id3v2Tag &tag);
// Those the thirteen fields of the editor and its pictures do not show.
QList<TagFrame> otherFrames(const Id3v2Tag &tag);
// The frames of the tag that opens a file, all of them or the others.
Result<QList<TagFrame>> readFrames(const QString &fichier, bool othersOnly = false);

// The French name of a key ("Artiste de l'album", "Paroles (eng)"), or the key itself when the
// identifier has none.
QString frameName(const QString &key);
// The key a user typed: a French name of a text frame (any case), or a key of a text frame
// ("TXXX:Humeur"); empty when it names none.
QString keyOfTyped(const QString &typed);
// The French names of the text frames a user may add, in alphabetical order.
QStringList addableNames();
// True when the key names a frame whose value is a text or URL.
bool isTextKey(const QString &key);

// Sets a frame to a value (an empty value removes it), or removes it (nullopt): every frame of
// the key goes.
struct FrameChange
{
    QString key;
    std::optional<QString> value;
    bool operator==(const FrameChange &) const = default;
};

// Why a key cannot be used for a change (a malformed identifier, a value for a frame that is no
// text), in French; empty when it can.
QString frameChangeError(const FrameChange &change);

// The frames of a tag of `version` (3 or 4) once the changes are made, or nullopt when they
// change nothing. A changed value replaces the first frame of its key in place (a comment and
// lyrics keep their language) and keeps the others; a key the tag lacks gets a new frame at the
// end. Fails, in French, on a change frameChangeError refuses.
Result<std::optional<QList<Id3v2Frame>>> editTagFrames(const QList<Id3v2Frame> &frames, int version,
                                                       const QList<FrameChange> &changes);

// What several files hold for each key, as a row of the editor shows it.
struct SharedFrame
{
    QString key;
    QString value;          // the value every file holds, empty when they differ
    bool differing = false; // a file holds another value, or lacks the frame
    bool text = false;
    qsizetype size = 0; // bytes of the frame in the first file that has it
};

// Gathers the frames of files one file at a time.
class FrameSummary
{
public:
    void add(const QList<TagFrame> &frames);
    // The keys in the order they were first met.
    QList<SharedFrame> rows() const { return m_rows; }

private:
    QList<SharedFrame> m_rows;
    qsizetype m_files = 0;
};

} // namespace tags
