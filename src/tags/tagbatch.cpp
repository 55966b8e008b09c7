#include "tags/tagbatch.h"

#include "base/fileaccess.h"
#include "tags/genres.h"
#include "tags/tagpattern.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <mutex>
#include <thread>
#include <vector>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tags {

namespace {

// Makes a version the file lacks a new, empty one.
template <typename Tag> void makeValid(Tag &t)
{
    if (t.Valide())
        return;
    t = Tag();
    t.setGenre(NoGenre);
    t.setValide(true);
}

template <typename Tag> void applyCommon(const FieldEdit &edit, Tag &t)
{
    makeValid(t);
    if (edit.titre)
        t.setTitre(*edit.titre);
    if (edit.artiste)
        t.setArtiste(*edit.artiste);
    if (edit.album)
        t.setAlbum(*edit.album);
    if (edit.annee)
        t.setAnnee(*edit.annee);
    if (edit.commentaire)
        t.setCommentaire(*edit.commentaire);
}

void applyV1(const FieldEdit &edit, TypeTagV1 &t)
{
    applyCommon(edit, t);
    if (edit.piste)
        t.setPiste(v1Track(*edit.piste));
    if (edit.genre)
        t.setGenre(edit.genre->number);
}

void applyV2(const FieldEdit &edit, TypeTagV2 &t)
{
    applyCommon(edit, t);
    if (edit.piste)
        t.setPiste(v2Track(*edit.piste));
    if (edit.genre) {
        t.setGenre(edit.genre->number);
        t.setGenreTexte(edit.genre->text);
    }
    const std::pair<const std::optional<QString> &, void (TypeTagV2::*)(const QString &)> texts[] =
        {{edit.compositeur, &TypeTagV2::setCompositeur},
         {edit.original, &TypeTagV2::setOriginal},
         {edit.copyright, &TypeTagV2::setCopyright},
         {edit.url, &TypeTagV2::setUrl},
         {edit.encode, &TypeTagV2::setEncode}};
    for (const auto &[value, set] : texts) {
        if (value)
            (t.*set)(*value);
    }
}

} // namespace

TagChanges changesFor(const TagType &read, const FieldEdit &edit)
{
    bool v1 = edit.v1, v2 = edit.v2;
    if (!v1 && !v2 && !edit.removeV1 && !edit.removeV2) {
        v1 = read.TagV1.Valide();
        v2 = read.TagV2.Valide() || !v1 || !edit.frames.isEmpty() || !edit.frameEdits.isEmpty();
    }
    if (!edit.create) {
        v1 = v1 && read.TagV1.Valide();
        v2 = v2 && read.TagV2.Valide();
    }
    TagChanges changes;
    changes.removeV1 = edit.removeV1 && read.TagV1.Valide();
    if (edit.removeV2 && read.TagV2.Valide())
        changes.v2 = TypeTagV2(); // a record that is not valid removes the tag
    v1 = v1 && !edit.removeV1;
    v2 = v2 && !edit.removeV2;
    if (v1) {
        changes.v1 = read.TagV1;
        applyV1(edit, *changes.v1);
    }
    if (v2) {
        changes.v2 = read.TagV2;
        applyV2(edit, *changes.v2);
        changes.pictures = edit.images;
        changes.frames = edit.frames;
        changes.v23 = edit.v23;
        changes.userTexts = edit.userTexts;
        changes.frameEdits = edit.frameEdits;
    }
    return changes;
}

void applyFixedTexts(FieldEdit &edit, const FixedTexts &texts)
{
    if (texts.comment)
        edit.commentaire = texts.comment;
    if (texts.encoder)
        edit.encode = texts.encoder;
    edit.v23 = texts.writeV23;
}

// The edit for one file: the fields its name gives through the pattern, under the ones the
// options name. nullopt when the name does not fit the pattern.
std::optional<FieldEdit> editFromName(const QString &pattern, const QString &path, FieldEdit edit)
{
    const std::optional<PatternValues> values = matchName(pattern, nameToMatch(pattern, path));
    if (!values)
        return std::nullopt;
    const std::pair<PatternField, std::optional<QString> *> texts[] = {
        {PatternField::Titre, &edit.titre}, {PatternField::Artiste, &edit.artiste},
        {PatternField::Album, &edit.album}, {PatternField::Annee, &edit.annee},
        {PatternField::Piste, &edit.piste}, {PatternField::Commentaire, &edit.commentaire}};
    for (const auto &[field, target] : texts) {
        if (values->contains(field) && !*target)
            *target = values->value(field);
    }
    if (values->contains(PatternField::Genre) && !edit.genre)
        edit.genre = v2Genre(values->value(PatternField::Genre));
    return edit;
}

QString describeEdit(const FieldEdit &edit)
{
    QStringList parts;
    const std::pair<const char *, const std::optional<QString> *> texts[] = {
        {QT_TRANSLATE_NOOP("tags", "Piste"), &edit.piste},
        {QT_TRANSLATE_NOOP("tags", "Titre"), &edit.titre},
        {QT_TRANSLATE_NOOP("tags", "Artiste"), &edit.artiste},
        {QT_TRANSLATE_NOOP("tags", "Album"), &edit.album},
        {QT_TRANSLATE_NOOP("tags", "Année"), &edit.annee},
        {QT_TRANSLATE_NOOP("tags", "Commentaire"), &edit.commentaire},
        {QT_TRANSLATE_NOOP("tags", "Compositeur"), &edit.compositeur},
        {QT_TRANSLATE_NOOP("tags", "Artiste original"), &edit.original},
        {QT_TRANSLATE_NOOP("tags", "Copyright"), &edit.copyright},
        {QT_TRANSLATE_NOOP("tags", "URL"), &edit.url},
        {QT_TRANSLATE_NOOP("tags", "Encodé par"), &edit.encode},
    };
    for (const auto &[name, value] : texts) {
        // The track as it is stored ("02" is written 2), so that the preview shows the result.
        if (*value)
            parts.append(
                QStringLiteral("%1 = %2").arg(QCoreApplication::translate("tags", name),
                                              value == &edit.piste ? v2Track(**value) : **value));
    }
    if (edit.genre)
        parts.append(QCoreApplication::translate("tags", "Genre = %1")
                         .arg(edit.genre->number == NoGenre ? edit.genre->text
                                                            : genreName(edit.genre->number)));
    return parts.join(QStringLiteral(", "));
}

QString nameMismatch(const QString &pattern, const QString &path)
{
    return QCoreApplication::translate("tags", "le nom « %1 » ne correspond pas au modèle « %2 »")
        .arg(nameToMatch(pattern, path), pattern);
}

Result<SaveKind> saveFields(const QString &fichier, const FieldEdit &edit, SaveOptions options,
                            std::optional<TagBackup> *backup)
{
    // The tags are read by the save itself, on the descriptor it writes through.
    const ChangesFromHeld changes = [&edit](const TagType &held) { return changesFor(held, edit); };
    return backup ? saveTagsUndoable(fichier, changes, backup, options)
                  : saveTags(fichier, changes, options);
}

QString cancelledText()
{
    return QCoreApplication::translate("tags", "annulé avant d'être traité");
}

QStringList runBatch(const QStringList &files, const std::function<QString(qsizetype)> &change,
                     const BatchControl &control)
{
    std::vector<std::vector<qsizetype>> groups; // positions in `files` of each distinct file
    QHash<QString, size_t> groupOf;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString canonical = QFileInfo(files[i]).canonicalFilePath();
        const QString key = canonical.isEmpty() ? files[i] : canonical;
        const auto found = groupOf.constFind(key);
        if (found != groupOf.cend()) {
            groups[*found].push_back(i);
        } else {
            groupOf.insert(key, groups.size());
            groups.push_back({i});
        }
    }

    // One slot per file, written by one thread each (a QStringList would detach concurrently).
    std::vector<QString> errors(size_t(files.size()), cancelledText());
    std::vector<bool> reached(size_t(files.size()), false);
    std::atomic<size_t> next{0};
    std::mutex progressLock;
    qsizetype done = 0;
    const auto work = [&] {
        for (size_t group; (group = next++) < groups.size();) {
            for (const qsizetype i : groups[group]) {
                if (control.cancel && control.cancel->load())
                    return;
                errors[size_t(i)] = change(i);
                reached[size_t(i)] = true;
                const std::lock_guard lock(progressLock);
                ++done;
                if (control.progress)
                    control.progress(done, files.size());
            }
        }
    };
    {
        // Saving is bound by the disk, not the processor: a few workers keep it busy.
        constexpr size_t maxWorkers = 4;
        std::vector<std::jthread> workers;
        for (size_t w = 0; w < std::min(maxWorkers, groups.size()); ++w)
            workers.emplace_back(work);
    } // the workers are joined here

    QStringList changed;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (reached[size_t(i)] && errors[size_t(i)].isEmpty())
            changed.append(files[i]);
    }
    if (const QString error = syncFileSystems(changed); !error.isEmpty()) {
        for (qsizetype i = 0; i < files.size(); ++i) {
            if (reached[size_t(i)] && errors[size_t(i)].isEmpty())
                errors[size_t(i)] = error;
        }
    }
    return QStringList(errors.begin(), errors.end());
}

BatchReport saveBatch(const QList<BatchItem> &items, const BatchControl &control,
                      QList<TagBackup> *backups)
{
    QStringList files;
    for (const BatchItem &item : items)
        files.append(item.fichier);
    std::vector<std::optional<TagBackup>> taken(size_t(items.size()));
    // Saves of a batch leave their in-place writes to the one sync that ends it.
    const QStringList errors = runBatch(
        files,
        [&](qsizetype i) {
            const Result<SaveKind> saved =
                saveFields(items[i].fichier, items[i].edit, SaveOptions{false},
                           backups ? &taken[size_t(i)] : nullptr);
            return saved.ok() ? QString() : saved.error();
        },
        control);
    for (std::optional<TagBackup> &backup : taken) {
        if (backups && backup)
            backups->append(std::move(*backup));
    }
    BatchReport report;
    report.cancelled = errors.contains(cancelledText());
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (errors[i].isEmpty())
            ++report.saved;
        else
            report.failures.append({items[i].fichier, errors[i]});
    }
    return report;
}

BatchReport saveBatch(const QStringList &files, const FieldEdit &edit, const BatchControl &control,
                      QList<TagBackup> *backups)
{
    QList<BatchItem> items;
    items.reserve(files.size());
    for (const QString &fichier : files)
        items.append({fichier, edit});
    return saveBatch(items, control, backups);
}

QString syncFileSystems(const QStringList &files)
{
    QSet<dev_t> done;
    for (const QString &path : files) {
        struct stat info;
        const QByteArray native = QFile::encodeName(path);
        if (stat(native.constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
            done.contains(info.st_dev))
            continue;
        done.insert(info.st_dev);
        const base::Fd fd(open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (fd.get() >= 0 && syncfs(fd.get()) != 0)
            return QCoreApplication::translate(
                       "tags", "Les données n'ont pas pu être écrites sur le disque : %1")
                .arg(base::systemError(errno));
    }
    return {};
}

} // namespace tags
