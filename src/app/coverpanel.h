#pragma once

#include "tags/tagpictures.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace app {

class Dialogs;
class TagEditorPanel;
class TagWindow;

// The cover of the page "Tag ID3 v2": a thumbnail of the shown file's front cover (else its first
// picture) with its size, type and MIME type, and the commands that add or replace it (file
// dialog, or a JPEG or PNG dropped on the thumbnail), remove it and save it to a file. A change
// is confirmed, written through the save that keeps every other frame, and recorded for undoing.
class CoverPanel : public QWidget
{
    Q_OBJECT
public:
    // Lays the panel out in the editor's frame Frame5, below the fields.
    CoverPanel(TagEditorPanel &editor, TagWindow &tagWindow, Dialogs &dialogs);

    QLabel *lblPochette;     // the thumbnail, which takes dropped images
    QLabel *lblPochetteInfo; // size, type and MIME type
    QPushButton *cmdAjouterPochette;
    QPushButton *cmdSupprimerPochette;
    QPushButton *cmdEnregistrerPochette;

    // Makes the image file the front cover of the shown file, after the question.
    void setCover(const QString &imageFile);
    void removeCover();
    void saveImage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The files a cover change applies to: the file the editor shows.
    QStringList targetFiles() const;
    void applyToTargets(const QString &label, const tags::PictureEdit &edit);
    void refresh();

    TagEditorPanel &m_editor;
    TagWindow &m_window;
    Dialogs &m_dialogs;
    std::optional<tags::TagPicture> m_shown; // the picture of the thumbnail
    qsizetype m_shownIndex = 0;
};

} // namespace app
