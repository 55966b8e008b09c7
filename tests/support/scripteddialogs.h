#pragma once

#include "app/dialogs.h"

#include <QList>
#include <QStringList>

namespace testsupport {

// Answers the window's message boxes and folder dialogs from a script and records what was asked.
class ScriptedDialogs : public app::Dialogs
{
public:
    struct Shown
    {
        QString text;
        Icon icon;
    };

    // Answer to every OK/Cancel question (true = OK).
    bool answer = true;
    // Answers to successive questions about replacing a file, with or without "Annuler"; once
    // used up, "Ignorer".
    QList<Replace> replaceAnswers;
    // Answers to successive questions about unsaved edits; once used up, "Annuler".
    QList<Unsaved> unsavedAnswers;
    // Indexes picked in successive lists (releases of a disc); once used up, "Annuler" (-1).
    QList<int> choices;
    // Whether "Ne plus demander" is ticked in the questions that have the box.
    bool stopAsking = false;
    // Folders returned by successive folder dialogs; an empty list means "cancelled".
    QStringList folders;
    // Files returned by successive image and save dialogs; once used up, "cancelled".
    QStringList files;

    QList<Shown> shown;

    bool message(QWidget *, const QString &text, const QString &, Icon icon,
                 Buttons buttons) override
    {
        shown.append({text, icon});
        return buttons == Buttons::Ok || answer;
    }

    bool confirmOrStopAsking(QWidget *owner, const QString &text, const QString &title,
                             bool *stop) override
    {
        *stop = stopAsking;
        return message(owner, text, title, Icon::Question, Buttons::OkCancel);
    }

    Replace askReplace(QWidget *, const QString &text, const QString &) override
    {
        shown.append({text, Icon::Question});
        return replaceAnswers.isEmpty() ? Replace::Skip : replaceAnswers.takeFirst();
    }

    Replace askReplaceOrCancel(QWidget *owner, const QString &text, const QString &title) override
    {
        return askReplace(owner, text, title);
    }

    Unsaved askUnsaved(QWidget *, const QString &text, const QString &) override
    {
        shown.append({text, Icon::Question});
        return unsavedAnswers.isEmpty() ? Unsaved::Cancel : unsavedAnswers.takeFirst();
    }

    int chooseItem(QWidget *, const QString &text, const QString &, const QStringList &) override
    {
        shown.append({text, Icon::Question});
        return choices.isEmpty() ? -1 : choices.takeFirst();
    }

    QString chooseFolder(QWidget *, const QString &) override
    {
        return folders.isEmpty() ? QString() : folders.takeFirst();
    }

    QString chooseImageFile(QWidget *, const QString &) override
    {
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString chooseSaveFile(QWidget *, const QString &) override
    {
        return files.isEmpty() ? QString() : files.takeFirst();
    }

    // The rows of each table shown for review; answered with `answer`.
    QList<QList<QStringList>> tables;
    bool reviewTable(QWidget *, const QString &text, const QString &, const QStringList &,
                     const QList<QStringList> &rows) override
    {
        shown.append({text, Icon::Question});
        tables.append(rows);
        return answer;
    }

    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
};

} // namespace testsupport
