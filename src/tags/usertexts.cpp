#include "tags/usertexts.h"

#include "tags/id3v2reader.h"

namespace tags {

namespace {

bool isUserText(const Id3v2Frame &frame)
{
    return frame.id == "TXXX" || frame.id == "TXX";
}

} // namespace

std::optional<UserText> parseUserText(QByteArrayView body)
{
    if (body.isEmpty())
        return std::nullopt;
    const int encoding = quint8(body[0]);
    QByteArrayView rest;
    UserText text;
    text.description = decodeText(body.sliced(1), encoding, &rest);
    text.value = decodeText(rest, encoding);
    return text;
}

QByteArray userTextBody(const UserText &text)
{
    if (fitsLatin1(text.description) && fitsLatin1(text.value))
        return char(Latin1) + text.description.toLatin1() + '\0' + text.value.toLatin1();
    return char(Utf16) + encodeUtf16(text.description) + QByteArray(2, '\0') +
           encodeUtf16(text.value);
}

QList<UserText> userTextsOf(const Id3v2Tag &tag)
{
    QList<UserText> texts;
    for (const Id3v2Frame &frame : tag.frames) {
        if (!isUserText(frame))
            continue;
        const std::optional<QByteArray> content = frameContent(frame, tag.version);
        if (!content)
            continue;
        if (const std::optional<UserText> text = parseUserText(*content))
            texts.append(*text);
    }
    return texts;
}

Result<QList<UserText>> readUserTexts(const QString &fichier)
{
    const Result<QByteArray> bytes = readId3v2Bytes(fichier);
    if (!bytes.ok())
        return Result<QList<UserText>>::failure(bytes.error());
    return userTextsOf(walkId3v2(*bytes));
}

std::optional<QList<Id3v2Frame>> editUserTexts(const QList<Id3v2Frame> &frames,
                                               const QList<UserText> &edit)
{
    QList<Id3v2Frame> result = frames;
    bool changed = false;
    for (const UserText &text : edit) {
        qsizetype kept = -1;
        for (qsizetype i = 0; i < result.size(); ++i) {
            if (result[i].opaque || !isUserText(result[i]))
                continue;
            const std::optional<UserText> held = parseUserText(result[i].body);
            if (!held || held->description.compare(text.description, Qt::CaseInsensitive) != 0)
                continue;
            if (text.value.isEmpty() || kept >= 0) {
                result.removeAt(i--);
                changed = true;
                continue;
            }
            kept = i;
            if (held->value != text.value) {
                Id3v2Frame frame;
                frame.id = "TXXX";
                frame.body = userTextBody({held->description, text.value});
                result[i] = frame;
                changed = true;
            }
        }
        if (kept < 0 && !text.value.isEmpty()) {
            Id3v2Frame frame;
            frame.id = "TXXX";
            frame.body = userTextBody(text);
            result.append(frame);
            changed = true;
        }
    }
    return changed ? std::optional(result) : std::nullopt;
}

} // namespace tags
