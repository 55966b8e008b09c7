#include "app/screenshots.h"

#include "app/filelistmodel.h"
#include "app/form1.h"
#include "app/frmabout.h"
#include "app/optionspage.h"
#include "app/tagpage.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabBar>
#include <QTreeView>

namespace app {

namespace {

bool save(QWidget &widget, const QString &folder, const char *name)
{
    QApplication::processEvents();
    return widget.grab().save(
        QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
}

} // namespace

bool saveScreenshots(Form1 &window, const QString &folder)
{
    QDir().mkpath(folder);
    window.show();
    bool ok = save(window, folder, "extraire-cd");

    // The pages are reached as a user reaches them: by their tabs.
    auto *pages = window.findChild<QTabBar *>(QStringLiteral("TS2"));
    auto *tagPage = window.findChild<TagPage *>();
    auto *optionsPage = window.findChild<OptionsPage *>();
    pages->setCurrentIndex(1);
    if (tagPage->files->count() > 0) {
        tagPage->selectRow(0);
        emit tagPage->LV1->clicked(tagPage->files->index(0, 0));
    }
    const char *subPages[] = {"info-fichier", "tag-id3v1", "tag-id3v2", "renommeur"};
    for (int page = 0; page < 4; ++page) {
        tagPage->TS1->setCurrentIndex(page);
        ok = save(window, folder, subPages[page]) && ok;
    }

    pages->setCurrentIndex(2);
    const char *optionPages[] = {"options-extraction", "options-taggeur", "options-conversion"};
    for (int page = 0; page < 3; ++page) {
        optionsPage->TS3->setCurrentIndex(page);
        ok = save(window, folder, optionPages[page]) && ok;
    }

    frmAbout about(window.product(), window.dialogs(), &window);
    about.show();
    ok = save(about, folder, "a-propos") && ok;
    return ok;
}

} // namespace app
