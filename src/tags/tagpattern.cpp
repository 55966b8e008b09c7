#include "tags/tagpattern.h"

#include "tags/genres.h"
#include "tags/id3v1.h"
#include "tags/id3v2reader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>

#include <array>

namespace tags {

namespace {

struct FieldName
{
    PatternField field;
    QStringView name;
};

constexpr std::array<FieldName, 7> FieldNames = {{
    {PatternField::Titre, u"titre"},
    {PatternField::Artiste, u"artiste"},
    {PatternField::Album, u"album"},
    {PatternField::Annee, u"annee"},
    {PatternField::Piste, u"piste"},
    {PatternField::Genre, u"genre"},
    {PatternField::Commentaire, u"commentaire"},
}};

// A longer name is no file name on the usual Linux file systems.
constexpr qsizetype NameMax = 255;

// One piece of a pattern: literal text, or a field with its minimum width.
struct Token
{
    QString literal;
    std::optional<PatternField> field;
    int width = 0;
};

struct Parsed
{
    QList<Token> tokens;
    QString error;
};

Parsed parse(QStringView pattern)
{
    Parsed parsed;
    QString literal;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != u'%') {
            literal += pattern[i];
            continue;
        }
        const qsizetype end = pattern.indexOf(u'%', i + 1);
        if (end < 0) {
            parsed.error = QCoreApplication::translate("tags", "« %% » sans fin dans le modèle");
            return parsed;
        }
        const QStringView inside = pattern.sliced(i + 1, end - i - 1);
        i = end;
        if (inside.isEmpty()) {
            literal += u'%';
            continue;
        }
        const qsizetype colon = inside.indexOf(u':');
        const QStringView name = colon < 0 ? inside : inside.first(colon);
        Token token;
        for (const FieldName &f : FieldNames) {
            if (name == f.name)
                token.field = f.field;
        }
        const QString written = u'%' + inside.toString() + u'%';
        if (!token.field) {
            parsed.error = QCoreApplication::translate("tags", "champ inconnu dans le modèle : %1")
                               .arg(written);
            return parsed;
        }
        if (colon >= 0) {
            bool number = false;
            token.width = inside.sliced(colon + 1).toInt(&number);
            if (*token.field != PatternField::Piste || !number || token.width < 1 ||
                token.width > 9) {
                parsed.error =
                    QCoreApplication::translate(
                        "tags", "largeur invalide : %1 (seule la piste en prend une, de 1 à 9)")
                        .arg(written);
                return parsed;
            }
        }
        if (!literal.isEmpty())
            parsed.tokens.append({literal, std::nullopt, 0});
        literal.clear();
        parsed.tokens.append(token);
    }
    if (!literal.isEmpty())
        parsed.tokens.append({literal, std::nullopt, 0});
    return parsed;
}

// The leading digits of a track ("7/12" gives "7"), or the text itself when it has none.
QString trackNumber(const QString &piste)
{
    const QString trimmed = piste.trimmed();
    qsizetype digits = 0;
    while (digits < trimmed.size() && trimmed[digits].isDigit())
        ++digits;
    return digits > 0 ? trimmed.first(digits) : trimmed;
}

QString v2Genre(const TypeTagV2 &t)
{
    return t.Genre() != NoGenre ? genreName(t.Genre()) : t.GenreTexte();
}

} // namespace

QString patternFieldName(PatternField field)
{
    for (const FieldName &f : FieldNames) {
        if (f.field == field)
            return f.name.toString();
    }
    return {};
}

PatternValues patternValues(const TagType &tag)
{
    const TypeTagV1 &v1 = tag.TagV1;
    const TypeTagV2 &v2 = tag.TagV2;
    const auto pick = [&](const QString &fromV2, const QString &fromV1) {
        const QString a = v2.Valide() ? fromV2.trimmed() : QString();
        return a.isEmpty() && v1.Valide() ? fromV1.trimmed() : a;
    };
    const std::array<std::pair<PatternField, QString>, 7> all = {{
        {PatternField::Titre, pick(v2.Titre(), v1.Titre())},
        {PatternField::Artiste, pick(v2.Artiste(), v1.Artiste())},
        {PatternField::Album, pick(v2.Album(), v1.Album())},
        {PatternField::Annee, pick(v2.Annee(), v1.Annee())},
        {PatternField::Piste,
         pick(trackNumber(v2.Piste()), v1.Piste() > 0 ? QString::number(v1.Piste()) : QString())},
        {PatternField::Genre, pick(v2Genre(v2), genreName(v1.Genre()))},
        {PatternField::Commentaire, pick(v2.Commentaire(), v1.Commentaire())},
    }};
    PatternValues values;
    for (const auto &[field, value] : all) {
        if (!value.isEmpty())
            values.insert(field, value);
    }
    return values;
}

Result<PatternValues> readPatternValues(const QString &fichier, QList<UserText> *texts)
{
    const Result<QByteArray> bytes = readId3v2Bytes(fichier);
    if (!bytes.ok())
        return Result<PatternValues>::failure(bytes.error());
    // The frames point into the bytes read, which outlive them here.
    const Id3v2Tag tag = walkId3v2Sharing(*bytes);
    TagType read;
    read.TagV1 = readTagV1(fichier);
    read.TagV2 = recordFromTag(tag);
    if (texts)
        *texts = userTextsOf(tag);
    return patternValues(read);
}

QString patternError(QStringView pattern)
{
    return parse(pattern).error;
}

Result<QString> formatName(QStringView pattern, const PatternValues &values)
{
    const Parsed parsed = parse(pattern);
    if (!parsed.error.isEmpty())
        return Result<QString>::failure(parsed.error);
    QString name;
    for (const Token &token : parsed.tokens) {
        if (!token.field) {
            name += token.literal;
            continue;
        }
        QString value = values.value(*token.field);
        if (value.isEmpty())
            return Result<QString>::failure(
                QCoreApplication::translate("tags", "le champ %%1% est vide")
                    .arg(patternFieldName(*token.field)));
        value.replace(u'/', u'-');
        value.replace(QChar(u'\0'), u'-');
        name += value.rightJustified(token.width, u'0');
    }
    for (const QString &part : name.split(u'/')) {
        if (part.isEmpty() || part == u"." || part == u"..")
            return Result<QString>::failure(
                QCoreApplication::translate(
                    "tags", "« %1 » ne peut pas être un nom de fichier ou de dossier")
                    .arg(name));
        if (QFile::encodeName(part).size() > NameMax)
            return Result<QString>::failure(
                QCoreApplication::translate("tags", "nom trop long (plus de %1 octets) : « %2 »")
                    .arg(NameMax)
                    .arg(part));
    }
    return name;
}

std::optional<PatternValues> matchName(QStringView pattern, QStringView name)
{
    const Parsed parsed = parse(pattern);
    if (!parsed.error.isEmpty())
        return std::nullopt;
    QString expression;
    QList<PatternField> groups;
    for (const Token &token : parsed.tokens) {
        if (!token.field) {
            expression += QRegularExpression::escape(token.literal);
            continue;
        }
        const bool digits =
            *token.field == PatternField::Piste || *token.field == PatternField::Annee;
        expression += digits ? QStringLiteral("(\\d+)") : QStringLiteral("(.+?)");
        groups.append(*token.field);
    }
    const QRegularExpression re(QRegularExpression::anchoredPattern(expression),
                                QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = re.match(name.toString());
    if (!match.hasMatch())
        return std::nullopt;
    PatternValues values;
    for (qsizetype g = 0; g < groups.size(); ++g) {
        const QString value = match.captured(int(g) + 1);
        if (values.contains(groups[g]) && values.value(groups[g]) != value)
            return std::nullopt;
        values.insert(groups[g], value);
    }
    return values;
}

QString nameToMatch(QStringView pattern, const QString &path)
{
    const QFileInfo info(path);
    QString name = info.completeBaseName();
    const QStringList folders = info.absolutePath().split(u'/', Qt::SkipEmptyParts);
    // A field never holds a "/": each one of the pattern separates folders.
    const qsizetype slashes = pattern.count(u'/');
    for (qsizetype k = 0; k < slashes && k < folders.size(); ++k)
        name = folders[folders.size() - 1 - k] + u'/' + name;
    return name;
}

} // namespace tags
