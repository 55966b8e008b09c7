#pragma once

#include "app/dialogs.h"

// The window's dialogs for benchmarks: every question answered OK, the folder asked for is
// `folder`.
class Answers : public app::Dialogs
{
public:
    QString folder;
    bool message(QWidget *, const QString &, const QString &, Icon, Buttons) override
    {
        return true;
    }
    QString chooseFolder(QWidget *, const QString &) override { return folder; }
};
