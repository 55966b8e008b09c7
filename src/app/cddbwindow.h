#pragma once

#include "app/dialogs.h"
#include "base/product.h"

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
    // The pick of one line among several (releases of a disc): its index, -1 when cancelled.
    virtual int chooseItem(const QString &text, const QStringList &items) = 0;

protected:
    ~CddbWindow() = default;
};

} // namespace app
