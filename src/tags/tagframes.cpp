#include "tags/tagframes.h"

#include "tags/id3v2reader.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>

namespace tags {

namespace {

struct KnownName
{
    const char *id;
    const char *name;
};

// The identifiers people meet, with their French names; several frames of one meaning across
// versions share a name.
constexpr KnownName Names[] = {
    {"TIT2", QT_TRANSLATE_NOOP("tags", "Titre")},
    {"TPE1", QT_TRANSLATE_NOOP("tags", "Artiste")},
    {"TALB", QT_TRANSLATE_NOOP("tags", "Album")},
    {"TRCK", QT_TRANSLATE_NOOP("tags", "Piste")},
    {"TYER", QT_TRANSLATE_NOOP("tags", "Année")},
    {"TCON", QT_TRANSLATE_NOOP("tags", "Genre")},
    {"COMM", QT_TRANSLATE_NOOP("tags", "Commentaire")},
    {"TCOM", QT_TRANSLATE_NOOP("tags", "Compositeur")},
    {"TOPE", QT_TRANSLATE_NOOP("tags", "Artiste original")},
    {"TCOP", QT_TRANSLATE_NOOP("tags", "Copyright")},
    {"WXXX", QT_TRANSLATE_NOOP("tags", "URL")},
    {"TENC", QT_TRANSLATE_NOOP("tags", "Encodé par")},
    {"APIC", QT_TRANSLATE_NOOP("tags", "Image")},
    {"TPE2", QT_TRANSLATE_NOOP("tags", "Artiste de l'album")},
    {"TPOS", QT_TRANSLATE_NOOP("tags", "Disque")},
    {"USLT", QT_TRANSLATE_NOOP("tags", "Paroles")},
    {"TBPM", QT_TRANSLATE_NOOP("tags", "BPM")},
    {"TSOP", QT_TRANSLATE_NOOP("tags", "Tri de l'artiste")},
    {"TSOA", QT_TRANSLATE_NOOP("tags", "Tri de l'album")},
    {"TSOT", QT_TRANSLATE_NOOP("tags", "Tri du titre")},
    {"TSO2", QT_TRANSLATE_NOOP("tags", "Tri de l'artiste de l'album")},
    {"TSOC", QT_TRANSLATE_NOOP("tags", "Tri du compositeur")},
    {"TPE3", QT_TRANSLATE_NOOP("tags", "Chef d'orchestre")},
    {"TPE4", QT_TRANSLATE_NOOP("tags", "Remixé par")},
    {"TPUB", QT_TRANSLATE_NOOP("tags", "Éditeur")},
    {"TSRC", QT_TRANSLATE_NOOP("tags", "ISRC")},
    {"TIT1", QT_TRANSLATE_NOOP("tags", "Regroupement")},
    {"GRP1", QT_TRANSLATE_NOOP("tags", "Regroupement (iTunes)")},
    {"TIT3", QT_TRANSLATE_NOOP("tags", "Sous-titre")},
    {"TSST", QT_TRANSLATE_NOOP("tags", "Sous-titre du disque")},
    {"TEXT", QT_TRANSLATE_NOOP("tags", "Parolier")},
    {"TOLY", QT_TRANSLATE_NOOP("tags", "Parolier original")},
    {"TOAL", QT_TRANSLATE_NOOP("tags", "Album original")},
    {"TOFN", QT_TRANSLATE_NOOP("tags", "Nom de fichier original")},
    {"TORY", QT_TRANSLATE_NOOP("tags", "Année originale")},
    {"TDOR", QT_TRANSLATE_NOOP("tags", "Date de sortie originale")},
    {"TDRC", QT_TRANSLATE_NOOP("tags", "Date d'enregistrement")},
    {"TDRL", QT_TRANSLATE_NOOP("tags", "Date de sortie")},
    {"TDAT", QT_TRANSLATE_NOOP("tags", "Date")},
    {"TIME", QT_TRANSLATE_NOOP("tags", "Heure")},
    {"TRDA", QT_TRANSLATE_NOOP("tags", "Dates d'enregistrement")},
    {"TDEN", QT_TRANSLATE_NOOP("tags", "Date d'encodage")},
    {"TDTG", QT_TRANSLATE_NOOP("tags", "Date du marquage")},
    {"TKEY", QT_TRANSLATE_NOOP("tags", "Tonalité")},
    {"TLAN", QT_TRANSLATE_NOOP("tags", "Langue")},
    {"TLEN", QT_TRANSLATE_NOOP("tags", "Durée (ms)")},
    {"TMED", QT_TRANSLATE_NOOP("tags", "Support")},
    {"TMOO", QT_TRANSLATE_NOOP("tags", "Ambiance")},
    {"TCMP", QT_TRANSLATE_NOOP("tags", "Compilation")},
    {"TSSE", QT_TRANSLATE_NOOP("tags", "Logiciel d'encodage")},
    {"TFLT", QT_TRANSLATE_NOOP("tags", "Type de fichier")},
    {"TOWN", QT_TRANSLATE_NOOP("tags", "Propriétaire du fichier")},
    {"TRSN", QT_TRANSLATE_NOOP("tags", "Station de radio")},
    {"TPRO", QT_TRANSLATE_NOOP("tags", "Production")},
    {"TIPL", QT_TRANSLATE_NOOP("tags", "Intervenants")},
    {"IPLS", QT_TRANSLATE_NOOP("tags", "Intervenants")},
    {"TMCL", QT_TRANSLATE_NOOP("tags", "Musiciens")},
    {"MVNM", QT_TRANSLATE_NOOP("tags", "Mouvement")},
    {"MVIN", QT_TRANSLATE_NOOP("tags", "Numéro du mouvement")},
    {"TXXX", QT_TRANSLATE_NOOP("tags", "Texte libre")},
    {"WOAR", QT_TRANSLATE_NOOP("tags", "Site de l'artiste")},
    {"WOAF", QT_TRANSLATE_NOOP("tags", "Site du fichier")},
    {"WOAS", QT_TRANSLATE_NOOP("tags", "Site de la source")},
    {"WCOM", QT_TRANSLATE_NOOP("tags", "Page d'achat")},
    {"WCOP", QT_TRANSLATE_NOOP("tags", "Conditions de copie")},
    {"WPUB", QT_TRANSLATE_NOOP("tags", "Site de l'éditeur")},
    {"WORS", QT_TRANSLATE_NOOP("tags", "Site de la radio")},
    {"WPAY", QT_TRANSLATE_NOOP("tags", "Paiement")},
    {"PRIV", QT_TRANSLATE_NOOP("tags", "Données privées")},
    {"UFID", QT_TRANSLATE_NOOP("tags", "Identifiant unique")},
    {"POPM", QT_TRANSLATE_NOOP("tags", "Popularité")},
    {"PCNT", QT_TRANSLATE_NOOP("tags", "Nombre d'écoutes")},
    {"RVA2", QT_TRANSLATE_NOOP("tags", "Réglage du volume")},
    {"RVAD", QT_TRANSLATE_NOOP("tags", "Réglage du volume")},
    {"CHAP", QT_TRANSLATE_NOOP("tags", "Chapitre")},
    {"CTOC", QT_TRANSLATE_NOOP("tags", "Table des chapitres")},
    {"GEOB", QT_TRANSLATE_NOOP("tags", "Objet joint")},
    {"MCDI", QT_TRANSLATE_NOOP("tags", "Table du CD")},
    {"SYLT", QT_TRANSLATE_NOOP("tags", "Paroles synchronisées")},
    {"ETCO", QT_TRANSLATE_NOOP("tags", "Repères temporels")},
    {"EQU2", QT_TRANSLATE_NOOP("tags", "Égalisation")},
    {"EQUA", QT_TRANSLATE_NOOP("tags", "Égalisation")},
    {"USER", QT_TRANSLATE_NOOP("tags", "Conditions d'utilisation")},
};

// Binary frames a tag may hold several times, told apart by the text they start with.
bool ownedFrame(QByteArrayView id)
{
    for (const char *owned : {"PRIV", "UFID", "POPM", "CHAP", "CTOC", "RVA2"}) {
        if (id == owned)
            return true;
    }
    return false;
}

bool describedFrame(QByteArrayView id)
{
    return id == "TXXX" || id == "WXXX" || id == "COMM" || id == "USLT";
}

// Text frames, iTunes' grouping and movement frames among them.
bool isTextId(QByteArrayView id)
{
    return id.size() == 4 && (id.startsWith('T') || id.startsWith('W') || id == "COMM" ||
                              id == "USLT" || id == "GRP1" || id == "MVNM" || id == "MVIN");
}

bool validId(QByteArrayView id)
{
    return id.size() == 4 && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

QString withSuffix(const QByteArray &id, const QString &suffix)
{
    return suffix.isEmpty() ? QString::fromLatin1(id) : QString::fromLatin1(id) + u':' + suffix;
}

struct FrameContent
{
    QString key;
    bool text = false;
    QString value;
};

// The key and value of a frame's content.
FrameContent parseContent(const QByteArray &id, QByteArrayView body)
{
    FrameContent p;
    p.text = isTextId(id);
    const int encoding = body.isEmpty() ? int(Latin1) : static_cast<unsigned char>(body[0]);
    QString suffix;
    QByteArrayView rest;
    if (id == "TXXX") {
        const QStringList values = textValues(body);
        suffix = values.value(0);
        p.value = values.mid(1).join(ValueSeparator);
    } else if (p.text && !id.startsWith('W') && id != "COMM" && id != "USLT") {
        p.value = textValues(body).join(ValueSeparator);
    } else if ((id == "COMM" || id == "USLT") && body.size() >= 4) {
        suffix = decodeText(body.sliced(4), encoding, &rest);
        p.value = decodeText(rest, encoding);
    } else if (id == "WXXX" && !body.isEmpty()) {
        suffix = decodeText(body.sliced(1), encoding, &rest);
        p.value = decodeText(rest, Latin1);
    } else if (id.startsWith('W') && p.text) {
        p.value = decodeText(body, Latin1);
    } else if (ownedFrame(id)) {
        const qsizetype end = body.indexOf('\0');
        if (end > 0 && end <= 100)
            suffix = decodeText(body, Latin1);
    }
    p.key = withSuffix(id, suffix);
    return p;
}

QByteArray idOf(const Id3v2Frame &frame, int version)
{
    if (version != 2)
        return frame.id;
    const QByteArray renamed = v23FrameId(frame.id);
    return renamed.isEmpty() ? frame.id : renamed;
}

// A frame that could not be read (encrypted, or compressed data that do not inflate) is listed
// by its identifier and stored size.
TagFrame describe(const Id3v2Frame &frame, int version, qsizetype index)
{
    TagFrame entry;
    entry.id = idOf(frame, version);
    entry.index = index;
    const std::optional<QByteArray> content = frameContent(frame, version);
    if (!content) {
        entry.key = QString::fromLatin1(entry.id);
        entry.size = frame.body.size();
        return entry;
    }
    const FrameContent p = parseContent(entry.id, *content);
    entry.key = p.key;
    entry.text = p.text;
    entry.value = p.value;
    entry.size = content->size();
    return entry;
}

QString keyOf(const Id3v2Frame &frame, int version)
{
    const std::optional<QByteArray> content = frameContent(frame, version);
    return content ? parseContent(frame.id, *content).key : QString::fromLatin1(frame.id);
}

// The language of a new comment or lyrics: that of the tag's first comment or lyrics, else
// French.
QByteArray languageOf(const QList<Id3v2Frame> &frames, int version)
{
    for (const Id3v2Frame &frame : frames) {
        if (frame.id != "COMM" && frame.id != "USLT")
            continue;
        const QByteArray language = frameContent(frame, version).value_or(QByteArray()).mid(1, 3);
        if (language.size() == 3 && std::all_of(language.begin(), language.end(), [](char c) {
                return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            }))
            return language;
    }
    return "fra";
}

// The body of a text frame holding `value`.
QByteArray textBody(const QByteArray &id, const QString &description, const QString &value,
                    int version, const QByteArray &language)
{
    const QStringList values = value.split(ValueSeparator.toString());
    const QString text = values.join(version == 4 ? QStringView(u"\0", 1) : QStringView(u"/"));
    const bool narrow = fitsLatin1(description) && (id.startsWith('W') || fitsLatin1(text));
    const int encoding = narrow ? int(Latin1) : int(wideEncoding(version));
    const QByteArray head = char(encoding) + (id == "COMM" || id == "USLT" ? language : "");
    if (id == "WXXX")
        return head + encodeAs(encoding, description, true) + urlBytes(value);
    if (id.startsWith('W'))
        return urlBytes(value);
    if (describedFrame(id))
        return head + encodeAs(encoding, description, true) + encodeAs(encoding, text);
    // A text frame.
    return head + encodeAs(encoding, text);
}

} // namespace

QList<TagFrame> listFrames(const Id3v2Tag &tag)
{
    QList<TagFrame> frames;
    frames.reserve(tag.frames.size());
    for (qsizetype i = 0; i < tag.frames.size(); ++i)
        frames.append(describe(tag.frames[i], tag.version, i));
    return frames;
}

QList<TagFrame> otherFrames(const Id3v2Tag &tag)
{
    FieldSources sources;
    recordFromTag(tag, &sources);
    QList<TagFrame> frames;
    for (const TagFrame &frame : listFrames(tag)) {
        if (frame.id == "APIC" || std::find(sources.frame.begin(), sources.frame.end(),
                                            frame.index) != sources.frame.end())
            continue;
        frames.append(frame);
    }
    return frames;
}

Result<QList<TagFrame>> readFrames(const QString &fichier, bool othersOnly)
{
    const Result<QByteArray> bytes = readId3v2Bytes(fichier);
    if (!bytes.ok())
        return Result<QList<TagFrame>>::failure(bytes.error());
    const Id3v2Tag tag = walkId3v2Sharing(*bytes);
    return othersOnly ? otherFrames(tag) : listFrames(tag);
}

QString frameName(const QString &key)
{
    const QString id = key.section(u':', 0, 0);
    const QString suffix = key.section(u':', 1);
    if (id == u"TXXX" && !suffix.isEmpty())
        return suffix;
    const auto known = std::find_if(std::begin(Names), std::end(Names),
                                    [&](const KnownName &n) { return id == QLatin1String(n.id); });
    if (known == std::end(Names))
        return key;
    const QString name = QCoreApplication::translate("tags", known->name);
    return suffix.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, suffix);
}

bool isTextKey(const QString &key)
{
    const QByteArray id = key.section(u':', 0, 0).toLatin1();
    return validId(id) && isTextId(id) && (describedFrame(id) || !key.contains(u':'));
}

QString keyOfTyped(const QString &typed)
{
    const QString trimmed = typed.trimmed();
    for (const KnownName &n : Names) {
        if (isTextId(n.id) &&
            QCoreApplication::translate("tags", n.name).compare(trimmed, Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(n.id);
    }
    return isTextKey(trimmed) ? trimmed : QString();
}

QStringList addableNames()
{
    QStringList names;
    for (const KnownName &n : Names) {
        const QString name = QCoreApplication::translate("tags", n.name);
        if (isTextId(n.id) && !names.contains(name))
            names.append(name);
    }
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.localeAwareCompare(b) < 0; });
    return names;
}

QString frameChangeError(const FrameChange &change)
{
    const QByteArray id = change.key.section(u':', 0, 0).toLatin1();
    if (!validId(id))
        return QCoreApplication::translate("tags", "« %1 » n'est pas un identifiant de trame")
            .arg(change.key.section(u':', 0, 0));
    const bool setting = change.value && !change.value->isEmpty();
    if (setting && !isTextKey(change.key))
        return QCoreApplication::translate("tags",
                                           "« %1 » n'est pas une trame de texte : elle ne peut "
                                           "qu'être retirée")
            .arg(change.key);
    return {};
}

Result<std::optional<QList<Id3v2Frame>>> editTagFrames(const QList<Id3v2Frame> &frames, int version,
                                                       const QList<FrameChange> &changes)
{
    using Edited = Result<std::optional<QList<Id3v2Frame>>>;
    QList<Id3v2Frame> result = frames;
    QStringList keys;
    keys.reserve(frames.size());
    for (const Id3v2Frame &frame : frames)
        keys.append(keyOf(frame, version));
    bool changed = false;
    for (const FrameChange &change : changes) {
        if (const QString error = frameChangeError(change); !error.isEmpty())
            return Edited::failure(error);
        const qsizetype first = keys.indexOf(change.key);
        if (!change.value || change.value->isEmpty()) {
            for (qsizetype i = keys.size() - 1; i >= first && first >= 0; --i) {
                if (keys[i] == change.key) {
                    keys.removeAt(i);
                    result.removeAt(i);
                    changed = true;
                }
            }
            continue;
        }
        Id3v2Frame frame;
        frame.id = change.key.section(u':', 0, 0).toLatin1();
        const std::optional<QByteArray> old =
            first >= 0 ? frameContent(result[first], version) : std::nullopt;
        const QByteArray language =
            old && old->size() >= 4 ? old->mid(1, 3) : languageOf(result, version);
        frame.body =
            textBody(frame.id, change.key.section(u':', 1), *change.value, version, language);
        if (old && parseContent(frame.id, *old).value == parseContent(frame.id, frame.body).value)
            continue;
        changed = true;
        if (first >= 0) {
            result[first] = frame;
        } else {
            result.append(frame);
            keys.append(change.key);
        }
    }
    return changed ? std::optional(result) : std::nullopt;
}

void FrameSummary::add(const QList<TagFrame> &frames)
{
    QHash<QString, const TagFrame *> firstOf;
    for (const TagFrame &frame : frames) {
        if (!firstOf.contains(frame.key))
            firstOf.insert(frame.key, &frame);
    }
    for (SharedFrame &row : m_rows) {
        const TagFrame *mine = firstOf.value(row.key);
        if (!mine || mine->value != row.value || (!row.text && mine->size != row.size)) {
            row.differing = true;
            row.value.clear();
        }
        firstOf.remove(row.key);
    }
    // The keys met for the first time, in the order of this file.
    for (const TagFrame &frame : frames) {
        if (firstOf.value(frame.key) != &frame)
            continue;
        m_rows.append({frame.key, m_files > 0 ? QString() : frame.value, m_files > 0, frame.text,
                       frame.size});
    }
    ++m_files;
}

} // namespace tags
