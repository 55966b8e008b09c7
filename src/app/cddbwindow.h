#pragma once

#include "app/dialogs.h"

#include <QString>

namespace app {

// What the CDDB lookup uses of the window around the CD page.
class CddbWindow
{
public:
    // A message box over the window, with the product name as its title.
    virtual void inform(const QString &text, Dialogs::Icon icon) = 0;
    // The CD device is released while the disc is identified, then opened again.
    virtual void releaseCdDevice() = 0;
    virtual void reopenCdDevice() = 0;

protected:
    ~CddbWindow() = default;
};

} // namespace app
