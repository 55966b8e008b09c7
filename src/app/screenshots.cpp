#include "app/screenshots.h"

#include "app/filelistmodel.h"
#include "app/form1.h"
#include "app/frmabout.h"
#include "app/optionspage.h"
#include "app/tagpage.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>
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
    // The pages are reached as a user reaches them: by their tabs. Without a drive the window
    // starts on "Tag et noms".
    auto *pages = window.findChild<QTabBar *>(QStringLiteral("TS2"));
    pages->setCurrentIndex(0);
    bool ok = save(window, folder, "extraire-cd");

    auto *tagPage = window.findChild<TagPage *>();
    auto *optionsPage = window.findChild<OptionsPage *>();
    pages->setCurrentIndex(1);
    if (tagPage->files->count() > 0) {
        tagPage->selectRow(0);
        QApplication::processEvents();
    }
    const char *subPages[] = {"info-fichier", "tag-id3v1", "tag-id3v2", "renommeur"};
    for (int page = 0; page < 4; ++page) {
        tagPage->TS1->setCurrentIndex(page);
        ok = save(window, folder, subPages[page]) && ok;
    }

    // The collection features: tag columns, several files edited at once, names from tags.
    for (int column : {FileListModel::Titre, FileListModel::Piste})
        tagPage->showColumn(column, true);
    while (!tagPage->files->allTagsRead())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    tagPage->TS1->setCurrentIndex(TagPage::TagV2);
    if (tagPage->files->count() > 1) {
        tagPage->LV1->selectAll();
        QApplication::processEvents();
    }
    ok = save(window, folder, "tag-plusieurs") && ok;
    tagPage->TS1->setCurrentIndex(TagPage::Renomeur);
    tagPage->setAllChecked(true);
    if (auto *fromTags = tagPage->findChild<QRadioButton *>(QStringLiteral("optDapresTag")))
        fromTags->click();
    if (auto *pattern = tagPage->findChild<QComboBox *>(QStringLiteral("cboModele")))
        pattern->setCurrentText(QStringLiteral("%artiste%/%piste:2% %titre%"));
    window.toolbarClick(QStringLiteral("voir"));
    ok = save(window, folder, "renommeur-modele") && ok;
    for (int column : {FileListModel::Titre, FileListModel::Piste})
        tagPage->showColumn(column, false);

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
