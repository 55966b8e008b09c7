#include "tags/cleantagtext.h"

#include "base/windows1252.h"

namespace tags {

namespace {

QString filtered(QStringView text, bool multiLine)
{
    const qsizetype lastNul = text.lastIndexOf(QChar(0));
    if (lastNul >= 0)
        text = text.sliced(lastNul + 1);

    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            out.append(u"\r\n");
            ++i;
            continue;
        }
        const int code = base::windows1252Code(c.unicode());
        if (code < 0 || (code >= 32 && code != 127 && code != 255) ||
            (multiLine && (c == u'\n' || c == u'\t')))
            out.append(c);
    }
    return out;
}

} // namespace

QString cleanTagText(QStringView text)
{
    return filtered(text, false);
}

QString cleanMultiLineText(QStringView text)
{
    return filtered(text, true);
}

} // namespace tags
