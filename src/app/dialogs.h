#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace app {

// Every message box and folder dialog of the window goes through this interface, so that tests
// can answer them.
class Dialogs
{
public:
    enum class Icon { Error, Warning, Question, Information };
    enum class Buttons { Ok, OkCancel };
    enum class Replace { Replace, Skip, ReplaceAll, Cancel };
    enum class Unsaved { Save, Discard, Cancel };

    virtual ~Dialogs() = default;

    // Shows a modal message; true when the user answered OK.
    virtual bool message(QWidget *owner, const QString &text, const QString &title, Icon icon,
                         Buttons buttons) = 0;
    // Asks whether an existing file may be replaced: "Remplacer", "Ignorer" or "Tout remplacer";
    // closing the box keeps the file, and so does a Dialogs that cannot ask.
    virtual Replace askReplace(QWidget *, const QString &, const QString &)
    {
        return Replace::Skip;
    }
    // The same question with a fourth answer, "Annuler", which stops the whole command; closing
    // the box answers "Annuler", and a Dialogs that cannot ask answers "Ignorer".
    virtual Replace askReplaceOrCancel(QWidget *, const QString &, const QString &)
    {
        return Replace::Skip;
    }
    // Asks what becomes of edits not saved yet: "Enregistrer", "Ignorer" or "Annuler"; closing
    // the box, and a Dialogs that cannot ask, keep the edits ("Annuler").
    virtual Unsaved askUnsaved(QWidget *, const QString &, const QString &)
    {
        return Unsaved::Cancel;
    }
    // The folder-browsing dialog "Selectionnez un répertoire"; empty when cancelled.
    virtual QString chooseFolder(QWidget *owner, const QString &startFolder) = 0;
    // A list to pick one line from, with "OK" and "Annuler": the index of the line picked, -1
    // when cancelled, and always -1 from a Dialogs that cannot ask.
    virtual int chooseItem(QWidget *, const QString &, const QString &, const QStringList &)
    {
        return -1;
    }
    // The dialog that opens a JPEG or PNG image; empty when cancelled, and always empty from a
    // Dialogs that cannot ask.
    virtual QString chooseImageFile(QWidget *, const QString &) { return {}; }
    // The dialog that names a file to write, starting at `suggested`; it asks itself before an
    // existing file is replaced. Empty when cancelled, and always empty from a Dialogs that
    // cannot ask.
    virtual QString chooseSaveFile(QWidget *, const QString &) { return {}; }
    // A table to read before a command acts on it: `text` above the columns `headers` and the
    // `rows`, with "OK" and "Annuler". True on OK; always false from a Dialogs that cannot ask.
    virtual bool reviewTable(QWidget *, const QString &, const QString &, const QStringList &,
                             const QList<QStringList> &)
    {
        return false;
    }

    // An OK/Cancel question with a "Ne plus demander" box; `stopAsking` tells whether the box
    // was ticked. A Dialogs without the box asks as `confirm` does.
    virtual bool confirmOrStopAsking(QWidget *owner, const QString &text, const QString &title,
                                     bool *stopAsking)
    {
        *stopAsking = false;
        return confirm(owner, text, title);
    }

    // Shorthands for the two shapes the window uses.
    bool confirm(QWidget *owner, const QString &text, const QString &title)
    {
        return message(owner, text, title, Icon::Question, Buttons::OkCancel);
    }
    void inform(QWidget *owner, const QString &text, const QString &title, Icon icon)
    {
        message(owner, text, title, icon, Buttons::Ok);
    }
};

// The real dialogs: QMessageBox and QFileDialog.
class QtDialogs : public Dialogs
{
public:
    bool message(QWidget *owner, const QString &text, const QString &title, Icon icon,
                 Buttons buttons) override;
    Replace askReplace(QWidget *owner, const QString &text, const QString &title) override;
    Replace askReplaceOrCancel(QWidget *owner, const QString &text, const QString &title) override;
    Unsaved askUnsaved(QWidget *owner, const QString &text, const QString &title) override;
    bool confirmOrStopAsking(QWidget *owner, const QString &text, const QString &title,
                             bool *stopAsking) override;
    QString chooseFolder(QWidget *owner, const QString &startFolder) override;
    int chooseItem(QWidget *owner, const QString &text, const QString &title,
                   const QStringList &items) override;
    QString chooseImageFile(QWidget *owner, const QString &startFolder) override;
    QString chooseSaveFile(QWidget *owner, const QString &suggested) override;
    bool reviewTable(QWidget *owner, const QString &text, const QString &title,
                     const QStringList &headers, const QList<QStringList> &rows) override;
};

} // namespace app
