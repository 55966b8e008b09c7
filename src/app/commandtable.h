#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace app {

// The procedures the commands of the window run, by their names in the window.
enum class Procedure {
    quitte,
    aides,
    aprop,
    recherche,
    ouvre,
    apercu,
    renomer,
    demandecddb,
    extmp3,
    extwav,
    extflac,
    extflacmp3,
    extwavmp3,
    extwavflac,
    extwavflacmp3,
    lecture,
    stoplecture,
    arret,
    copie,
    deplac,
    supprim,
    enreID,
    suppID,
    copieID,
    annuler,
    supprimDefinitif,
    retablir,
    calculeGain,
    effaceGain,
    actualiser
};

// The commands of the window: the keyed toolbar buttons of Toolbar1, the menu bar, the two pop-up
// menus, which procedure each of them runs, and which of them each page enables.
class CommandTable : public QObject
{
    Q_OBJECT
public:
    explicit CommandTable(QMainWindow *window);

    QToolBar *Toolbar1;
    QMenu *mnuflottant; // context menu of the file list
    QMenu *mnuextraire; // shown by the toolbar button "extraireMP3"

    // Toolbar button by key ("ouvrir"), menu item by name ("ouvdossier"); null when unknown.
    QAction *button(const QString &key) const { return m_buttons.value(key); }
    QAction *item(const QString &name) const { return m_items.value(name); }
    QStringList buttonKeys() const { return m_buttonKeys; }
    QStringList itemNames() const { return m_itemNames; }
    QMenu *menu(const QString &name) const { return m_menus.value(name); }

    // The procedure a toolbar button or menu item runs; none for the button "extraireMP3",
    // which pops up mnuextraire, and for the menus that only open.
    static std::optional<Procedure> procedureOfButton(const QString &key);
    static std::optional<Procedure> procedureOfItem(const QString &name);

    // Command states of the main tab strip TS2: 0 "Extraire CD", 1 "Tag et noms", 2 "Options".
    void applyMainPage(int page);
    // Command states of the sub-page tab strip TS1 (the tag commands follow the editor).
    void applySubPage(int page);
    // The state the window starts in.
    void applyStartState();
    // Without a CD drive the CD commands stay off on every page.
    void setDrivesPresent(bool present);

    void setButtonsEnabled(const QStringList &keys, bool enabled);
    void setItemsEnabled(const QStringList &names, bool enabled);

private:
    QAction *addButton(const QString &key, const QString &tooltip, const QString &text,
                       const char *icon);
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption);
    QMenu *addMenu(QMenu *parent, QMainWindow *window, const QString &name, const QString &caption);

    void enableCdCommands(bool enabled);

    QToolBar *m_toolbar = nullptr;
    int m_mainPage = 0;
    bool m_drivesPresent = false;
    QHash<QString, QAction *> m_buttons;
    QHash<QString, QAction *> m_items;
    QHash<QString, QMenu *> m_menus;
    QStringList m_buttonKeys;
    QStringList m_itemNames;
};

} // namespace app
