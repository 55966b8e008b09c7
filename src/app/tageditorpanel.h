#pragma once

#include "files/fileoperations.h"
#include "tags/fieldrules.h"
#include "tags/tagbackup.h"
#include "tags/tagbatch.h"
#include "tags/tagresult.h"
#include "tags/tagtype.h"
#include "tags/zelltagctrl.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QTextEdit;
class QWidget;

namespace app {

class OtherFramesTable;

// The tag editor: the frames "ID3 v1" (Frame2) and "ID3 v2" (Frame5) with their fields. The two
// frames are shown one at a time by the sub-page tabs, so the panel owns them without a layout of
// its own.
class TagEditorPanel : public QObject, public tags::TagEditor
{
    Q_OBJECT
public:
    explicit TagEditorPanel(QWidget *frameParent);

    QGroupBox *Frame2;
    QCheckBox *chkv1;
    QLineEdit *txtv1Piste;
    QLineEdit *txtv1Titre;
    QLineEdit *txtv1Artiste;
    QLineEdit *txtv1Album;
    QLineEdit *txtv1Annee;
    QComboBox *cmbv1Genre;
    QLineEdit *txtv1Commentaire;

    QGroupBox *Frame5;
    QCheckBox *chkv2;
    QLineEdit *txtv2Piste;
    QLineEdit *txtv2Titre;
    QLineEdit *txtv2Artiste;
    QLineEdit *txtv2Album;
    QLineEdit *txtv2Annee;
    QComboBox *cmbv2Genre;
    QTextEdit *txtv2Commentaire;
    QLineEdit *txtv2Compositeur;
    QLineEdit *txtv2Original;
    QLineEdit *txtv2Copyright;
    QLineEdit *txtv2Url;
    QLineEdit *txtv2Encode;
    OtherFramesTable *autresChamps; // every other frame of the ID3v2 tag

    QList<QWidget *> fieldsV1() const;
    QList<QWidget *> fieldsV2() const;

    // Enables the fields of version 1 or 2 exactly when its check box is checked; enabled fields
    // get the window background, disabled ones the button face.
    void enableVersion(int version);
    // Clears every field and empties the genre lists.
    void remsezerotag();

    // Both genre combos get the 149 choices of the tag controller (position 0 empty, position
    // g + 1 genre g).
    void fillGenreLists();

    // Loads both tag versions of a file; a version the file lacks keeps its cleared fields and
    // its unchecked box. The texts shown are remembered: a save writes only the fields whose
    // text the user changed.
    void showTagsOfFile(const QString &fichier) override;
    // Loads the tags of several files: a field shows the value they share, or stays empty with
    // the placeholder "<différentes valeurs>"; a version box is checked when one of the files
    // has that version. One file is shown as showTagsOfFile does.
    void showTagsOfFiles(const QStringList &files);
    // What the fields show for some files, read without touching a widget, so that many files
    // can be read away from the window's thread: the tags of one file, or for several the texts
    // of each field (empty where the files differ) and the versions one of them has.
    struct ReadTags
    {
        std::optional<tags::TagType> one;
        QStringList shared; // in the order of fieldsV1 + fieldsV2
        QList<bool> differing;
        bool v1 = false, v2 = false;
        QList<tags::SharedFrame> frames; // the ID3v2 frames the fields do not show
    };
    static ReadTags
    readTags(const QStringList &files,
             const std::function<void(qsizetype done, qsizetype total)> &progress = {});
    // showTagsOfFiles with the tags already read (readTags).
    void showTags(const QStringList &files, const ReadTags &read);
    // The files shown were renamed or moved (by a renaming, a move or an undo): the fields, and
    // the edits they hold, now belong to the new names.
    void followMoves(const QList<files::MovedFile> &moves);
    // The file whose tags the fields show (the first one when they show several); empty once
    // they were cleared.
    QString shownFile() const { return m_shownFile; }
    // Every file the fields show.
    QStringList shownFiles() const { return m_shownFiles; }
    // The fields of one version (1 or 2) that the user changed, as an edit that writes them and
    // nothing else (for version 2, the frames changed in "Autres champs" too); nullopt when none
    // changed.
    std::optional<tags::FieldEdit> editedFields(int version) const;
    // What a save of several files writes into each of them, as a save of one file would: for
    // each version, the fields the user changed (the version is created in a file that lacks it
    // when the user typed in it or ticked its box), the fixed texts in every version saved, and
    // the version removed when the user unticked its box. Empty when nothing is to be written.
    QList<tags::FieldEdit> savedEdits(const tags::FixedTexts &fixed) const;
    // Puts the values an edit names into the fields of one version (1 or 2), checking it; the
    // other fields keep their text.
    void showEdit(int version, const tags::FieldEdit &edit);
    // The fields as they stand are what the shown files now hold (after a save of them all).
    void markSaved() { rememberLoadedTexts(m_shownFile); }
    // True when the user changed a field, a frame of "Autres champs" or a version box since the
    // shown file was loaded.
    bool hasUnsavedEdits() const;
    // The record the fields describe, over `base` (what the file holds): a field whose text is
    // the one loaded from that file keeps the file's value. The fixed texts (the defaults of
    // the options) replace the comments and the v2 encoded-by text.
    tags::TagType tagsFromFields(const QString &fichier, const tags::TagType &base,
                                 const tags::FixedTexts &fixed) const;
    // Writes the fields the user changed to the file, leaving every other value as the file
    // holds it; a version the user unticked is removed, the ID3v2 tag as the ID3v1 block.
    // With `backup`, what undoing the save needs (see tags::saveTagsUndoable).
    tags::Result<bool> BtnUpdate(const QString &fichier, const tags::FixedTexts &fixed,
                                 std::optional<tags::TagBackup> *backup = nullptr) const;

signals:
    // The fields started or stopped showing a file's tags.
    void shownFileChanged();

public:
    // Checks and enables the other version, then copies the common fields into it.
    void copyV1FieldsToV2();
    void copyV2FieldsToV1();

private:
    QString m_shownFile;
    QStringList m_shownFiles;
    QHash<const QWidget *, QString> m_loadedTexts;
    bool m_loadedV1 = false, m_loadedV2 = false; // the version boxes as loaded

    // True when the field shows something else than what was loaded from fichier.
    bool edited(const QString &fichier, const QWidget *field) const;
    void rememberLoadedTexts(const QString &fichier);
    // The texts the fields would show for a file's tags, in the order of fieldsV1 + fieldsV2.
    static QStringList fieldTexts(const tags::TagType &tags);
    // Empties the fields and unchecks both versions, keeping the genre lists.
    void clearFields();
    // Puts a file's tags into the fields and checks the versions it has.
    void fillFields(const tags::TagType &tags);

    void buildV1(QWidget *frameParent);
    void buildV2(QWidget *frameParent);
};

} // namespace app
