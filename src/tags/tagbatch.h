#pragma once

#include "tags/fieldrules.h"
#include "tags/tagbackup.h"
#include "tags/tagsave.h"
#include "tags/tagtype.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

namespace tags {

// The fields a save changes, and only those: a field left empty (nullopt) keeps each file's
// value. Texts are given as typed; the track and genre follow the editor's rules (v1Track,
// v2Track, v2Genre). Every member has a default, so that `FieldEdit{.titre = t}` names only
// what changes.
struct FieldEdit
{
    std::optional<QString> titre{}, artiste{}, album{}, annee{}, commentaire{}, piste{};
    std::optional<TypedGenre> genre{};
    std::optional<QString> compositeur{}, original{}, copyright{}, url{}, encode{}; // ID3v2 only
    std::optional<PictureEdit> images{};                                            // ID3v2 only
    // Frames set or removed by key (ID3v2 only): a file without ID3v2 tag gets one for them.
    QList<FrameChange> frames{};
    // The ID3v2 tag written as version 2.3 whatever its version (see TagChanges).
    bool v23 = false;
    QList<UserText> userTexts{};   // TXXX texts set (see editUserTexts), ID3v2 only
    QList<FrameEdit> frameEdits{}; // frames set by identifier and key (see editNamedFrames)
    // The versions written. Neither (and nothing removed): the versions the file has, or ID3v2
    // alone when it has none; a version the file lacks is created unless `create` is false.
    bool v1 = false, v2 = false;
    bool create = true;
    // The versions removed from the file: the ID3v1 block dropped, the ID3v2 tag removed with
    // its pictures. A removed version is not written.
    bool removeV1 = false, removeV2 = false;
};

// The changes that bring a file's tags (as read) to the edit.
TagChanges changesFor(const TagType &read, const FieldEdit &edit);

// The fixed texts (the defaults of the options) replace the comment and the encoded-by text the
// edit writes, as they do in a save of the editor's fields (see applyFixedTexts).
void applyFixedTexts(FieldEdit &edit, const FixedTexts &texts);

// The edit for one file: the fields its name gives through the pattern (see matchName), under
// the ones `edit` already names. nullopt when the name does not fit the pattern.
std::optional<FieldEdit> editFromName(const QString &pattern, const QString &path,
                                      FieldEdit edit = {});
// The fields an edit writes, in French, for a preview: "Piste = 5, Titre = Été indien".
QString describeEdit(const FieldEdit &edit);
// Why a file's name does not fit a pattern, in French.
QString nameMismatch(const QString &pattern, const QString &path);

// Saves the edit's fields through saveTags; with backup, through
// saveTagsUndoable.
Result<SaveKind> saveFields(const QString &fichier, const FieldEdit &edit, SaveOptions options = {},
                            std::optional<TagBackup> *backup = nullptr);

// How a caller follows and stops a batch. Both may be left empty.
struct BatchControl
{
    // Called after each file with the count of files done and the total, from the threads that
    // save (never two calls at once): a window forwards it to its own thread.
    std::function<void(qsizetype done, qsizetype total)> progress;
    // Set (from any thread) to stop: the files not started yet are not touched.
    const std::atomic_bool *cancel = nullptr;
};

// The French text a file left untouched by a cancelled batch gets.
QString cancelledText();

// Runs change(i) for each index of files, a few files at once (saving is bound by the disk: one
// save waits for its data to reach the disk while the next is written); a file named twice,
// directly or through a link, is changed by one thread in the order given. change returns the
// French description of a failure or an empty text. The data written in place reach the disk
// once per file system at the end. Returns the error of each file, in order (empty for
// success). Touches no widget: it is meant to run away from a window's thread.
QStringList runBatch(const QStringList &files, const std::function<QString(qsizetype)> &change,
                     const BatchControl &control = {});

struct BatchFailure
{
    QString fichier;
    QString raison; // French
};

struct BatchReport
{
    qsizetype saved = 0; // files written or already holding the values
    QList<BatchFailure> failures;
    bool cancelled = false;
};

// One file and what to write into it.
struct BatchItem
{
    QString fichier;
    FieldEdit edit;
};

// Saves each item's fields (saveFields) through runBatch. With backups, it receives what
// undoing the batch needs: one TagBackup per file written, in the order of the items.
BatchReport saveBatch(const QList<BatchItem> &items, const BatchControl &control = {},
                      QList<TagBackup> *backups = nullptr);
// The same edit for every file.
BatchReport saveBatch(const QStringList &files, const FieldEdit &edit,
                      const BatchControl &control = {}, QList<TagBackup> *backups = nullptr);

// Brings the data written to the files to the disk: one sync for each file system. The error,
// or an empty text.
QString syncFileSystems(const QStringList &files);

} // namespace tags
