#pragma once

#include "app/cdpage.h"
#include "app/commandtable.h"
#include "app/filecommands.h"
#include "app/filelistmodel.h"
#include "app/form1.h"
#include "app/optionspage.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "discimage.h"
#include "fakeplayer.h"
#include "recordtext.h"
#include "scripteddialogs.h"
#include "tags/zelltagctrl.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

// "a|b|c" as a list; table rows write lists this way.
inline QStringList listOf(const QString &text)
{
    return text.split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

// The texts of one column of a list, top to bottom, joined by "|".
inline QString column(const QAbstractItemView *list, int c)
{
    const QAbstractItemModel *model = list->model();
    QStringList texts;
    for (int i = 0; i < model->rowCount(); ++i)
        texts.append(model->index(i, c).data().toString());
    return texts.join(QLatin1Char('|'));
}

// The libcdio control of the window, whose "Eject" only counts: no test opens a drive's tray.
class EjectCountingControl : public cd::CdioAudioControl
{
public:
    int ejects = 0;

protected:
    bool ejectDevice() override
    {
        ++ejects;
        return true;
    }
};

// A main window over a settings file and a disc image in a temporary folder, with dialogs
// answered by script and a player that plays nothing. The machine's own drives are left out so
// the tests behave alike everywhere: the window sees `drives` as the machine's.
struct FormFixture
{
    QTemporaryDir dir;
    QStringList drives;
    QString music = dir.filePath(u"musique"_s);
    QString ini = dir.filePath(u"Tarvex.ini"_s);
    testsupport::ScriptedDialogs *dialogs = nullptr;
    FakePlayer *player = nullptr;
    EjectCountingControl *cdControl = nullptr; // the window's control of the CD device
    std::unique_ptr<app::Form1> form;

    // The window's parts, found as a test tool finds them: by type or by object name.
    app::CdPage *cdPage() const { return form->findChild<app::CdPage *>(); }
    app::TagPage *tagPage() const { return form->findChild<app::TagPage *>(); }
    app::OptionsPage *optionsPage() const { return form->findChild<app::OptionsPage *>(); }
    app::CommandTable *commands() const { return form->findChild<app::CommandTable *>(); }
    QTabBar *pageTabs() const { return form->findChild<QTabBar *>(u"TS2"_s); }
    QTimer *timer(const QString &name) const { return form->findChild<QTimer *>(name); }

    // A disc image of three short tracks.
    QString discImage(const QString &name = u"disque"_s)
    {
        testsupport::DiscImage image(dir.path(), name, {75, 150, 100});
        return image.isValid() ? image.cuePath() : QString();
    }

    app::Form1 &make(const QStringList &images = {})
    {
        form.reset();
        app::Form1::Setup setup;
        setup.dialogs.reset(dialogs = new testsupport::ScriptedDialogs);
        setup.player.reset(player = new FakePlayer);
        setup.cdControl.reset(cdControl = new EjectCountingControl);
        setup.settingsFile = ini;
        // The lookups of these tests go to a CDDB server on loopback, never to MusicBrainz.
        if (stored(u"ServiceDisque"_s) == u"<absent>"_s)
            store(u"ServiceDisque"_s, u"1"_s);
        // Nor do the rips ask the AccurateRip database on the Internet: port 9 refuses at once.
        if (stored(u"ServeurAccurateRip"_s) == u"<absent>"_s)
            store(u"ServeurAccurateRip"_s, u"http://127.0.0.1:9"_s);
        setup.cdImages = images.isEmpty() ? QStringList{discImage()} : images;
        setup.machineDrives = [this] { return drives; };
        setup.helpFile = dir.filePath(u"Tarvexfr.html"_s);
        form = std::make_unique<app::Form1>(std::move(setup));
        return *form;
    }

    app::Form1 &start(const QStringList &images = {})
    {
        make(images).startUp();
        return *form;
    }

    // A started, shown window on the tagging page listing `music`, made of the given files; each
    // holds `content`, or its own name when there is none.
    app::Form1 &startOnFiles(const QString &files, const QByteArray &content = {})
    {
        for (const QString &name : listOf(files))
            write(name, content.isEmpty() ? name.toUtf8() : content);
        store(u"repertCD"_s, music);
        start();
        pageTabs()->setCurrentIndex(1);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("window not exposed");
        return *form;
    }

    // Stored values of "name|name..." read straight from the INI file, joined by "|".
    QString stored(const QString &names) const
    {
        QSettings settings(ini, QSettings::IniFormat);
        QStringList values;
        for (const QString &name : listOf(names))
            values << settings.value(u"software/Tarvex/"_s + name, u"<absent>"_s).toString();
        return values.join(QLatin1Char('|'));
    }
    void store(const QString &name, const QString &value) const
    {
        QSettings(ini, QSettings::IniFormat).setValue(u"software/Tarvex/"_s + name, value);
    }

    void write(const QString &name, const QByteArray &content) const
    {
        QFile file(QDir(music).filePath(name)); // parent folders are made as needed
        if (!QDir().mkpath(QFileInfo(file).path()) || !file.open(QIODevice::WriteOnly) ||
            file.write(content) != content.size())
            qFatal("cannot write a test file");
    }
    // "name=content" for every file of a folder, sorted by name, joined by "|".
    static QString state(const QString &folder)
    {
        QStringList result;
        for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
            QFile file(QDir(folder).filePath(name));
            file.open(QIODevice::ReadOnly);
            result.append(name + QLatin1Char('=') + QString::fromUtf8(file.readAll()));
        }
        return result.join(QLatin1Char('|'));
    }

    QTreeView *list() const { return tagPage()->LV1; }
    app::FileListModel *files() const { return tagPage()->files; }
    // Where a user clicks on a row: on its name, past the check box.
    QPoint rowCentre(int row) const
    {
        return list()->visualRect(files()->index(row, 0)).center() + QPoint(20, 0);
    }
    // A click on a row's name, as a user makes it; the editor follows once the event loop ran.
    void click(int row, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, rowCentre(row));
        QCoreApplication::processEvents();
    }
    // Selects the file's row; the editor follows once the event loop ran.
    void choose(const QString &name) const
    {
        tagPage()->selectRow(files()->rowOf(name));
        QCoreApplication::processEvents();
    }
    // Whether the list shows exactly the files of `music`, as it does once re-read.
    bool listShowsFolder() const
    {
        return column(list(), app::FileListModel::Name) ==
               QDir(music).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase).join(u'|');
    }
    void check(const QString &names) const
    {
        for (const QString &name : listOf(names))
            files()->setChecked(files()->rowOf(name), true);
    }
};

// Checks the rows whose 1-based numbers are given and unchecks the others.
inline void checkRows(QAbstractItemView *list, const QList<int> &rows)
{
    QAbstractItemModel *model = list->model();
    for (int i = 0; i < model->rowCount(); ++i)
        model->setData(model->index(i, 0), rows.contains(i + 1) ? Qt::Checked : Qt::Unchecked,
                       Qt::CheckStateRole);
}

// Acts on widgets found by name under root as a user would: "Text1=_" types into a field,
// "Combo4=text" picks a list entry, "TS2=1" a tab; a bare name clicks a button or a check box.
inline void setFields(QWidget *root, const QString &edits)
{
    for (const QString &edit : listOf(edits)) {
        QWidget *widget = root->findChild<QWidget *>(edit.section(QLatin1Char('='), 0, 0));
        const QString value = edit.section(QLatin1Char('='), 1);
        if (auto *line = qobject_cast<QLineEdit *>(widget))
            line->setText(value);
        else if (auto *text = qobject_cast<QTextEdit *>(widget))
            text->setPlainText(value);
        else if (auto *tabs = qobject_cast<QTabBar *>(widget))
            tabs->setCurrentIndex(value.toInt());
        else if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->isEditable())
            combo->setCurrentText(value);
        else if (combo) {
            combo->setCurrentIndex(combo->findText(value));
            emit combo->activated(combo->currentIndex());
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->click();
        else
            qFatal("no widget for %s", qPrintable(edit));
    }
}

// The tag editor as text: both check boxes ("10" is version 1 only), then the texts of the
// fields, version 1 then version 2, all joined by "|".
inline QString editorTexts(const app::TagEditorPanel *e)
{
    QStringList texts{QString::number(e->chkv1->isChecked()) +
                      QString::number(e->chkv2->isChecked())};
    for (QWidget *field : e->fieldsV1() + e->fieldsV2())
        texts << field
                     ->property(qobject_cast<QComboBox *>(field)   ? "currentText"
                                : qobject_cast<QTextEdit *>(field) ? "plainText"
                                                                   : "text")
                     .toString();
    return texts.join(QLatin1Char('|'));
}

// The values a file's tags hold, as "v1:track|title|artist|album|year|genre|comment" and
// "v2:track|title|artist|album|year|genre|genre text|comment|encoded by"; "-" for a version the
// file lacks.
inline QString storedTags(const QString &path)
{
    const tags::Result<tags::TagType> read = tags::ZellTagCtrl().GetAllTags(path);
    if (!read.ok())
        return read.error();
    return testsupport::recordText(*read);
}

// Runs tarvex-cli; its exit status, or -1 when it did not end.
inline int runCli(const QStringList &args)
{
    QProcess process;
    process.start(qEnvironmentVariable("TARVEX_CLI"), args);
    if (!process.waitForFinished(60000))
        return -1;
    if (process.exitCode() != 0)
        qWarning("tarvex-cli: %s", process.readAllStandardError().constData());
    return process.exitCode();
}
