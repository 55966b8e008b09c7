#include "rename/newname.h"

#include <QChar>

#include <string>

namespace renaming {

namespace {

// Texts are handled as code points so that a character outside the BMP counts as one and is
// never cut in half.
using Chars = std::u32string;

Chars toChars(QStringView text)
{
    Chars chars;
    chars.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            chars.push_back(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else {
            chars.push_back(c.unicode());
        }
    }
    return chars;
}

QString toQString(const Chars &chars)
{
    return QString::fromUcs4(chars.data(), qsizetype(chars.size()));
}

char32_t upper(char32_t c)
{
    return QChar::toUpper(c);
}

char32_t lower(char32_t c)
{
    return QChar::toLower(c);
}

Chars applyCase(Chars text, int rule)
{
    switch (rule) {
    case Majuscule:
        for (char32_t &c : text)
            c = upper(c);
        break;
    case Minuscule:
        for (char32_t &c : text)
            c = lower(c);
        break;
    case Initiales:
        for (size_t i = 0; i < text.size(); ++i) {
            if (i == 0 || text[i - 1] == U' ')
                text[i] = upper(text[i]);
        }
        break;
    case PremierMot:
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = i == 0 ? upper(text[i]) : lower(text[i]);
        break;
    default:
        break;
    }
    return text;
}

// The extension's "1ere lettre en Majuscule" lowers the other letters, and its list has no
// fifth entry.
int extensionRule(int rule)
{
    if (rule == Initiales)
        return PremierMot;
    return rule == PremierMot ? NePasChanger : rule;
}

NewName supprimer(const Chars &f, int n, int p)
{
    const long long l = qsizetype(f.size());
    const long long kept = l - n - p;
    if (n < 0 || p < 0 || kept < 0)
        return {};
    Chars result = f.substr(0, size_t(p));
    result += f.substr(size_t(l - kept));
    return NewName::of(toQString(result));
}

// Each start position k overwrites the first character of the first occurrence of s found at or
// after k in the text as changed so far; the text keeps its length.
Chars remplacer(Chars b, const Chars &s, const Chars &r)
{
    if (r.empty())
        return b;
    for (size_t k = 0; k < b.size(); ++k) {
        const size_t at = b.find(s, k);
        if (at != Chars::npos)
            b[at] = r.front();
    }
    return b;
}

NewName inverser(const Chars &b, const Chars &x, int rule)
{
    const Chars separator = U" - ";
    if (rule == ArtisteTitre) {
        const size_t dash = b.find(U'-');
        if (dash == Chars::npos || dash == 0)
            return {};
        // The characters just before and just after the "-" (normally blanks) are dropped.
        const Chars artiste = b.substr(0, dash - 1);
        const Chars titre = dash + 2 < b.size() ? b.substr(dash + 2) : Chars();
        return NewName::of(toQString(titre + separator + artiste + x));
    }
    const size_t paren = b.rfind(U'(');
    if (paren == Chars::npos)
        return {NewName::NonCompatible, {}};
    if (paren + 1 == b.size())
        return {};
    // The artist runs up to the character before the last one (normally the ")"); the blank in
    // front of the "(" stays with the title.
    const Chars artiste = b.substr(paren + 1, b.size() - paren - 2);
    const Chars titre = b.substr(0, paren);
    return NewName::of(toQString(artiste + separator + titre + x));
}

} // namespace

NewName newFileName(QStringView fichier, const RenameSettings &settings,
                    const tags::PatternValues *values)
{
    const Chars f = toChars(fichier);
    if (settings.operation == Operation::Supprimer)
        return supprimer(f, settings.nombre, settings.position);
    if (settings.operation == Operation::Manuellement)
        return NewName::of(settings.nomManuel);

    // The other operations split the name by position alone: the extension is the last four
    // characters, whether or not they begin with a dot.
    if (f.size() < 4)
        return {};
    const Chars b = f.substr(0, f.size() - 4);
    const Chars x = f.substr(f.size() - 4);

    switch (settings.operation) {
    case Operation::Remplacer:
        return NewName::of(toQString(
            remplacer(b, toChars(settings.recherche), toChars(settings.remplacement)) + x));
    case Operation::Lettrage:
        return NewName::of(
            toQString(applyCase(b, settings.lettrageNom) + U'.' +
                      applyCase(f.substr(f.size() - 3), extensionRule(settings.lettrageExt))));
    case Operation::Inverser:
        return inverser(b, x, settings.inversion);
    case Operation::Ajouter:
        return NewName::of(settings.avant + toQString(b) + settings.apres + toQString(x));
    case Operation::DapresTag: {
        if (!values)
            return {};
        const tags::Result<QString> name = tags::formatName(settings.modele, *values);
        if (!name.ok())
            return {NewName::NonCompatible, {}};
        return NewName::of(*name + toQString(x));
    }
    case Operation::Supprimer:
    case Operation::Manuellement:
        break;
    }
    return {};
}

} // namespace renaming
