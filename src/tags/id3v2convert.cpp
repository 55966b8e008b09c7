#include "tags/id3v2convert.h"

#include "base/windows1252.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

namespace tags {

namespace {

Id3v2Frame withBody(Id3v2Frame frame, const QByteArray &id, const QByteArray &body)
{
    frame.id = id;
    frame.body = body;
    return frame;
}

// A text in the encoding of the source when version 2.3 has it, in UTF-16 otherwise.
QByteArray encodeLike(int sourceEncoding, const QString &text)
{
    if (sourceEncoding == Latin1 && fitsLatin1(text))
        return char(Latin1) + base::toWindows1252(text);
    return char(Utf16) + encodeUtf16(text);
}

// Terminated texts (a description, people list entries) in one encoding.
QByteArray terminated(int encoding, const QStringList &texts)
{
    QByteArray out;
    for (const QString &t : texts) {
        out += encoding == Latin1 ? base::toWindows1252(t) : encodeUtf16(t);
        out.append(encoding == int(Latin1) ? 1 : 2, '\0');
    }
    return out;
}

int encodingOf(const QByteArray &body)
{
    return body.isEmpty() ? int(Latin1) : static_cast<unsigned char>(body[0]);
}

bool allLatin1(const QStringList &texts)
{
    return std::all_of(texts.begin(), texts.end(), [](const QString &t) { return fitsLatin1(t); });
}

// A text frame: one value as it was, several joined with "/".
QByteArray convertText(const QByteArray &body)
{
    const int encoding = encodingOf(body);
    const QStringList values = textValues(body);
    if ((encoding == Latin1 || encoding == Utf16) && values.size() <= 1)
        return body;
    return encodeLike(encoding, values.join(u'/'));
}

// TXXX: description, then values joined with "/".
QByteArray convertUserText(const QByteArray &body)
{
    const int encoding = encodingOf(body);
    QStringList values = textValues(body);
    if ((encoding == Latin1 || encoding == Utf16) && values.size() <= 2)
        return body;
    const QString description = values.value(0);
    const QString value = values.mid(1).join(u'/');
    const int target = encoding == Latin1 && allLatin1({description, value}) ? Latin1 : Utf16;
    return char(target) + terminated(target, {description}) +
           (target == Latin1 ? base::toWindows1252(value) : encodeUtf16(value));
}

// Bodies whose texts come after `fixed` bytes (COMM and USLT: the language; APIC: MIME type and
// picture type): a terminated description, then a text (or binary data).
QByteArray convertDescribed(const QByteArray &body, qsizetype fixed, bool textFollows)
{
    const int encoding = encodingOf(body);
    if (encoding == Latin1 || encoding == Utf16 || body.size() < 1 + fixed)
        return body;
    QByteArrayView rest = QByteArrayView(body).sliced(1 + fixed);
    const QString description = decodeText(rest, encoding, &rest);
    QByteArray out = char(Utf16) + body.mid(1, fixed) + terminated(Utf16, {description});
    if (textFollows)
        return out + encodeUtf16(decodeText(rest, encoding));
    return out + rest.toByteArray();
}

// A version 2.4 date ("2003-05-12T10:20") as TYER, TDAT (DDMM) and TIME (HHMM).
QList<Id3v2Frame> convertDate(const Id3v2Frame &frame)
{
    const QRegularExpression date(
        QStringLiteral("^(\\d{4})(?:-(\\d{2})(?:-(\\d{2})(?:T(\\d{2}):(\\d{2}))?)?)?"));
    const QString text = textValues(frame.body).value(0);
    const QRegularExpressionMatch m = date.match(text);
    if (!m.hasMatch())
        return {withBody(frame, "TYER", encodeLike(encodingOf(frame.body), text))};
    QList<Id3v2Frame> frames{withBody(frame, "TYER", encodedText(m.captured(1)))};
    if (m.hasCaptured(3))
        frames.append(withBody(frame, "TDAT", encodedText(m.captured(3) + m.captured(2))));
    if (m.hasCaptured(5))
        frames.append(withBody(frame, "TIME", encodedText(m.captured(4) + m.captured(5))));
    return frames;
}

// Version 2.4 status flags move one bit up in version 2.3; of the format flags only grouping
// remains for a frame that is not opaque.
quint16 flagsFrom24(quint16 flags, bool grouped)
{
    return quint16(((flags & 0x7000) << 1) | (grouped ? 0x0020 : 0));
}

// A compressed or encrypted frame of version 2.4 laid out as version 2.3 wants it: the
// decompressed size first, then the encryption method, then the group byte. False when it has
// no data length (a compressed frame of version 2.3 must say its decompressed size).
bool convertOpaque(Id3v2Frame &frame)
{
    QByteArray body = frame.body;
    if (frame.flags & 0x0002)
        body = removeUnsynchronisation(body);
    const bool grouped = frame.flags & 0x0040, encrypted = frame.flags & 0x0004,
               compressed = frame.flags & 0x0008, hasLength = frame.flags & 0x0001;
    const qsizetype extra = (grouped ? 1 : 0) + (encrypted ? 1 : 0) + (hasLength ? 4 : 0);
    if (body.size() < extra || (compressed && !hasLength))
        return false;
    qsizetype at = 0;
    const QByteArray group = grouped ? body.mid(at++, 1) : QByteArray();
    const QByteArray method = encrypted ? body.mid(at++, 1) : QByteArray();
    QByteArray length;
    if (hasLength) {
        quint32 size = 0;
        for (int i = 0; i < 4; ++i)
            size = (size << 7) | (static_cast<unsigned char>(body[at + i]) & 0x7F);
        for (int shift = 24; shift >= 0; shift -= 8)
            length.append(char((size >> shift) & 0xFF));
        at += 4;
    }
    frame.body = (compressed ? length : QByteArray()) + method + group + body.mid(at);
    frame.flags = quint16(((frame.flags & 0x7000) << 1) | (compressed ? 0x0080 : 0) |
                          (encrypted ? 0x0040 : 0) | (grouped ? 0x0020 : 0));
    return true;
}

// One frame of a version 2.4 tag; empty when it cannot be carried over.
QList<Id3v2Frame> convertFrom24(Id3v2Frame frame)
{
    if (frame.opaque)
        return convertOpaque(frame) ? QList<Id3v2Frame>{frame} : QList<Id3v2Frame>{};
    frame.flags = flagsFrom24(frame.flags, frame.grouped);
    const QByteArray &id = frame.id;
    if (id == "TDRC")
        return convertDate(frame);
    if (id == "TDOR")
        return {withBody(frame, "TORY", encodedText(textValues(frame.body).value(0).left(4)))};
    if (id == "TIPL" || id == "TMCL") {
        const QStringList people = textValues(frame.body);
        const int encoding = encodingOf(frame.body) == Latin1 && allLatin1(people) ? Latin1 : Utf16;
        return {withBody(frame, "IPLS", char(encoding) + terminated(encoding, people))};
    }
    if (id == "TXXX")
        frame.body = convertUserText(frame.body);
    else if (id.startsWith('T'))
        frame.body = convertText(frame.body);
    else if (id == "COMM" || id == "USLT")
        frame.body = convertDescribed(frame.body, 3, true);
    else if (id == "WXXX")
        frame.body = convertDescribed(frame.body, 0, false);
    else if (id == "APIC") {
        const qsizetype mimeEnd = frame.body.indexOf('\0', 1);
        if (mimeEnd > 0 && mimeEnd + 1 < frame.body.size())
            frame.body = convertDescribed(frame.body, mimeEnd + 1, false);
    }
    return {frame};
}

// One frame of a version 2.2 tag; empty when version 2.3 has no such frame.
QList<Id3v2Frame> convertFrom22(Id3v2Frame frame)
{
    frame.id = v23FrameId(frame.id);
    if (frame.id.isEmpty())
        return {};
    if (frame.id != "APIC")
        return {frame};
    // PIC holds a three-letter image format where APIC holds a MIME type.
    if (frame.body.size() < 5)
        return {};
    QByteArray format;
    for (char c : frame.body.mid(1, 3).toLower()) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            format.append(c);
    }
    QByteArray body;
    body.append(frame.body[0]);
    body += "image/" + (format == "jpg" ? QByteArray("jpeg") : format);
    body.append('\0');
    body.append(frame.body.mid(4));
    frame.body = body;
    return {frame};
}

} // namespace

Result<QList<QList<Id3v2Frame>>> convertToV23(const Id3v2Tag &tag)
{
    QList<QList<Id3v2Frame>> lists;
    lists.reserve(tag.frames.size());
    QStringList lost;
    for (const Id3v2Frame &frame : tag.frames) {
        QList<Id3v2Frame> converted{frame};
        if (tag.version == 2)
            converted = convertFrom22(frame);
        else if (tag.version == 4)
            converted = convertFrom24(frame);
        if (converted.isEmpty() && !lost.contains(QString::fromLatin1(frame.id)))
            lost.append(QString::fromLatin1(frame.id));
        for (Id3v2Frame &f : converted)
            f.stored.clear();
        lists.append(converted);
    }
    if (!lost.isEmpty())
        return Result<QList<QList<Id3v2Frame>>>::failure(
            QCoreApplication::translate(
                "tags", "le tag ID3v2.%1 contient des trames que la version 2.3 ne peut pas "
                        "garder (%2)")
                .arg(tag.version)
                .arg(lost.join(QStringLiteral(", "))));
    return lists;
}

Result<QList<QList<Id3v2Frame>>> framesAs(const Id3v2Tag &tag, int version)
{
    if (version != 4 || tag.version != 4)
        return convertToV23(tag);
    QList<QList<Id3v2Frame>> lists;
    lists.reserve(tag.frames.size());
    for (const Id3v2Frame &frame : tag.frames)
        lists.append({frame});
    return lists;
}

int savedVersion(const Id3v2Tag &tag, bool v23)
{
    return tag.version == 4 && !v23 ? 4 : 3;
}

QList<Id3v2Frame> flattenFrames(const QList<QList<Id3v2Frame>> &lists)
{
    QList<Id3v2Frame> frames;
    qsizetype people = -1;
    for (const QList<Id3v2Frame> &list : lists) {
        for (const Id3v2Frame &frame : list) {
            if (frame.id == "IPLS" && !frame.opaque && people >= 0) {
                const QStringList all = textValues(frames[people].body) + textValues(frame.body);
                const int encoding =
                    encodingOf(frames[people].body) == Latin1 && encodingOf(frame.body) == Latin1
                        ? Latin1
                        : Utf16;
                frames[people].body = char(encoding) + terminated(encoding, all);
                continue;
            }
            if (frame.id == "IPLS" && !frame.opaque)
                people = frames.size();
            frames.append(frame);
        }
    }
    return frames;
}

} // namespace tags
