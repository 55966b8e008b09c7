#pragma once

#include "app/form1.h"
#include "discimage.h"
#include "scripteddialogs.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// A main window over a settings file and a disc image in a temporary folder, answering its
// dialogs from a script. Physical drives of the machine are left out so the tests behave alike
// everywhere.
struct FormFixture
{
    QTemporaryDir dir;
    testsupport::ScriptedDialogs *dialogs = nullptr;
    std::unique_ptr<app::Form1> form;

    QString iniPath() const { return dir.filePath(QStringLiteral("Tarvex.ini")); }

    // A disc image of three short tracks, written once per fixture.
    QString discImage(const QString &name = QStringLiteral("disque"))
    {
        testsupport::DiscImage image(dir.path(), name, {75, 150, 100});
        return image.isValid() ? image.cuePath() : QString();
    }

    app::Form1 &make(QStringList images = {}, QString settingsFile = QString())
    {
        if (images.isEmpty())
            images << discImage();
        auto scripted = std::make_unique<testsupport::ScriptedDialogs>();
        dialogs = scripted.get();
        app::Form1::Setup setup;
        setup.dialogs = std::move(scripted);
        setup.settingsFile = settingsFile.isEmpty() ? iniPath() : settingsFile;
        setup.cdImages = images;
        setup.listMachineDrives = false;
        setup.helpFile = dir.filePath(QStringLiteral("Tarvexfr.html"));
        form = std::make_unique<app::Form1>(std::move(setup));
        return *form;
    }

    app::Form1 &start(QStringList images = {})
    {
        app::Form1 &w = make(images);
        if (!w.startUp())
            qWarning("start-up failed");
        return w;
    }

    // The stored value read independently of the window, straight from the INI file.
    QString stored(const QString &name) const
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        return ini.value(QStringLiteral("software/Tarvex/") + name).toString();
    }
    bool isStored(const QString &name) const
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        return ini.contains(QStringLiteral("software/Tarvex/") + name);
    }
    void store(const QString &name, const QString &value) const
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("software/Tarvex/") + name, value);
    }
};
