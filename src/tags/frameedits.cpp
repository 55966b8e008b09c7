#include "tags/frameedits.h"

#include "base/windows1252.h"

namespace tags {

namespace {

// The key of a frame: the description of a TXXX, the owner of a UFID, the identification of an
// RVA2, nothing otherwise.
QString keyOf(const Id3v2Frame &frame)
{
    if (frame.opaque || frame.body.isEmpty())
        return {};
    if (frame.id == "TXXX")
        return decodeText(QByteArrayView(frame.body).sliced(1), static_cast<uchar>(frame.body[0]));
    if (frame.id == "UFID" || frame.id == "RVA2")
        return QString::fromLatin1(frame.body.left(frame.body.indexOf('\0')));
    return {};
}

QString valueOf(const Id3v2Frame &frame)
{
    if (frame.opaque || frame.body.isEmpty())
        return {};
    if (frame.id == "UFID") {
        const qsizetype end = frame.body.indexOf('\0');
        return end < 0 ? QString() : QString::fromLatin1(frame.body.mid(end + 1));
    }
    if (frame.id == "TXXX") {
        QByteArrayView rest;
        decodeText(QByteArrayView(frame.body).sliced(1), static_cast<uchar>(frame.body[0]), &rest);
        return decodeText(rest, static_cast<uchar>(frame.body[0]));
    }
    return decodeAllText(frame.body);
}

Id3v2Frame frameOf(const FrameEdit &edit)
{
    Id3v2Frame frame;
    frame.id = edit.id;
    if (!edit.body.isEmpty()) {
        frame.body = edit.body;
    } else if (edit.id == "UFID") {
        frame.body = edit.key.toLatin1() + '\0' + edit.value.toLatin1();
    } else if (edit.id == "TXXX") {
        if (fitsLatin1(edit.key) && fitsLatin1(edit.value))
            frame.body = char(Latin1) + base::toWindows1252(edit.key) + '\0' +
                         base::toWindows1252(edit.value);
        else
            frame.body =
                char(Utf16) + encodeUtf16(edit.key) + QByteArray(2, '\0') + encodeUtf16(edit.value);
    } else {
        frame.body = encodedText(edit.value);
    }
    return frame;
}

qsizetype indexOf(const QList<Id3v2Frame> &frames, const QByteArray &id, const QString &key)
{
    for (qsizetype i = 0; i < frames.size(); ++i) {
        if (frames[i].id == id && keyOf(frames[i]) == key)
            return i;
    }
    return -1;
}

} // namespace

std::optional<QList<Id3v2Frame>> editNamedFrames(const QList<Id3v2Frame> &frames,
                                                 const QList<FrameEdit> &edits)
{
    QList<Id3v2Frame> result = frames;
    bool changed = false;
    for (const FrameEdit &edit : edits) {
        const qsizetype at = indexOf(result, edit.id, edit.key);
        const bool removal = edit.value.isEmpty() && edit.body.isEmpty();
        if (at >= 0 && (edit.body.isEmpty() ? valueOf(result[at]) == edit.value
                                            : result[at].body == edit.body))
            continue;
        if (at < 0 && removal)
            continue;
        changed = true;
        if (removal)
            result.removeAt(at);
        else if (at >= 0)
            result[at] = frameOf(edit);
        else
            result.append(frameOf(edit));
    }
    return changed ? std::optional(result) : std::nullopt;
}

QString namedFrameValue(const QList<Id3v2Frame> &frames, const QByteArray &id, const QString &key)
{
    const qsizetype at = indexOf(frames, id, key);
    return at < 0 ? QString() : valueOf(frames[at]);
}

} // namespace tags
