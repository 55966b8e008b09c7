#pragma once

#include "app/filecommands.h"
#include "app/form1.h"
#include "app/renamepanel.h"
#include "app/tagpage.h"
#include "discimage.h"
#include "fakeplayer.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

// A started main window on the page "Tag et noms", listing a folder of small files that each
// hold their own first name, with a player that plays nothing and dialogs answered by script.
struct FilePageFixture
{
    QTemporaryDir dir;
    QString music;
    testsupport::ScriptedDialogs *dialogs = nullptr;
    FakePlayer *player = nullptr;
    std::unique_ptr<app::Form1> form;

    // dialogsObject lets a test hand in its own dialogs (to look at the window while one shows).
    app::Form1 &start(const QStringList &files,
                      std::unique_ptr<testsupport::ScriptedDialogs> dialogsObject = nullptr)
    {
        music = dir.filePath(QStringLiteral("musique"));
        QDir().mkpath(music);
        for (const QString &name : files)
            write(name, name.toUtf8());
        testsupport::DiscImage image(dir.path(), QStringLiteral("disque"), {75, 150, 100});
        if (!dialogsObject)
            dialogsObject = std::make_unique<testsupport::ScriptedDialogs>();
        dialogs = dialogsObject.get();
        auto fake = std::make_unique<FakePlayer>();
        player = fake.get();
        app::Form1::Setup setup;
        setup.dialogs = std::move(dialogsObject);
        setup.player = std::move(fake);
        setup.settingsFile = dir.filePath(QStringLiteral("Tarvex.ini"));
        setup.cdImages = {image.cuePath()};
        setup.listMachineDrives = false;
        form = std::make_unique<app::Form1>(std::move(setup));
        if (!form->startUp())
            qWarning("start-up failed");
        form->TS2->setCurrentIndex(1);
        form->Frame1->TS1->setCurrentIndex(app::TagPage::Renomeur);
        dialogs->folders = {music};
        form->ouvre();
        dialogs->folderDialogs = 0;
        dialogs->shown.clear();
        return *form;
    }

    void write(const QString &name, const QByteArray &content) const
    {
        QFile file(QDir(music).filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write a test file");
        file.write(content);
    }

    // "name=content" for every file of a folder, sorted by name.
    static QStringList state(const QString &folder)
    {
        QStringList result;
        for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
            QFile file(QDir(folder).filePath(name));
            file.open(QIODevice::ReadOnly);
            result.append(name + QLatin1Char('=') + QString::fromUtf8(file.readAll()));
        }
        return result;
    }

    QTreeWidget *list() const { return form->Frame1->LV1; }
    QTreeWidgetItem *row(const QString &name) const
    {
        const auto found = list()->findItems(name, Qt::MatchExactly, app::TagPage::NameColumn);
        return found.isEmpty() ? nullptr : found.first();
    }
    void check(const QStringList &names) const
    {
        for (const QString &name : names) {
            if (QTreeWidgetItem *r = row(name))
                r->setCheckState(app::TagPage::NameColumn, Qt::Checked);
        }
    }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            texts.append(list()->topLevelItem(i)->text(c));
        return texts;
    }
    int checkedCount() const
    {
        int n = 0;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            n += list()->topLevelItem(i)->checkState(app::TagPage::NameColumn) == Qt::Checked;
        return n;
    }
};
