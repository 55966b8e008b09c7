#include "app/commandtable.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace app {

namespace {

// Desktop themes such as Adwaita ship most actions only as "-symbolic" icons; those are used
// first so that the bar looks alike.
QIcon themeIcon(const char *name)
{
    const QString n = QString::fromLatin1(name);
    QIcon icon = QIcon::fromTheme(n + QStringLiteral("-symbolic"));
    if (icon.isNull())
        icon = QIcon::fromTheme(n);
    return icon;
}

// Menu items that TS2 switches on the page "Tag et noms" and off on "Extraire CD".
const QStringList fileItems = {
    QStringLiteral("lit"),        QStringLiteral("arretlecture"), QStringLiteral("recherche"),
    QStringLiteral("ouvdossier"), QStringLiteral("copier2"),      QStringLiteral("deplacer2"),
    QStringLiteral("supprimer2"), QStringLiteral("supprimerdef"), QStringLiteral("calculgain"),
    QStringLiteral("effacegain"), QStringLiteral("actualiser")};
// Menu items that TS2 switches the other way.
const QStringList cdItems = {QStringLiteral("demCDDB"),        QStringLiteral("Extra"),
                             QStringLiteral("extraMP3"),       QStringLiteral("extraWAV"),
                             QStringLiteral("extraFLAC"),      QStringLiteral("extraFLACMP3"),
                             QStringLiteral("extraWAVMP3"),    QStringLiteral("extraWAVFLAC"),
                             QStringLiteral("extraWAVFLACMP3")};
const QStringList tagButtons = {QStringLiteral("enreID"), QStringLiteral("suppID"),
                                QStringLiteral("copieID")};

} // namespace

CommandTable::CommandTable(QMainWindow *window) : QObject(window)
{
    setObjectName(QStringLiteral("CommandTable"));

    m_toolbar = Toolbar1 = new QToolBar(tr("Barre d'outils"), window);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    window->addToolBar(Toolbar1);
    // Separators take positions 1, 3, 6, 9 and 13, as on the original bar.
    Toolbar1->addSeparator();
    addButton(QStringLiteral("ouvrir"), tr("Ouvrir un dossier"), tr("Ouvrir"), "folder-open");
    Toolbar1->addSeparator();
    addButton(QStringLiteral("CDDB"), tr("Demande CDDB"), tr("CDDB"), "network-transmit-receive");
    addButton(QStringLiteral("extraireMP3"), tr("Extraire les pistes du CD"), tr("Extraire"),
              "media-optical");
    Toolbar1->addSeparator();
    addButton(QStringLiteral("voir"), tr("Aperçu du changement"), tr("Aperçu"), "edit-find")
        ->setShortcut(Qt::Key_F5);
    addButton(QStringLiteral("renom"), tr("Renommer le fichier"), tr("Renommer"), "document-edit")
        ->setShortcut(Qt::Key_F2);
    Toolbar1->addSeparator();
    addButton(QStringLiteral("enreID"), tr("Enregistrer le Tag ID3"), tr("Enregistrer"),
              "document-save")
        ->setShortcut(QKeySequence::Save);
    addButton(QStringLiteral("suppID"), tr("Effacer le Tag ID3"), tr("Effacer"), "edit-clear");
    addButton(QStringLiteral("copieID"), tr("Copier l'ID3 v1 vers ID3 v2"), tr("Copier"),
              "edit-copy");
    Toolbar1->addSeparator();
    addButton(QStringLiteral("aide"), tr("Aide"), tr("Aide"), "help-browser");
    addButton(QStringLiteral("quit"), tr("Quitter"), tr("Quitter"), "application-exit");

    QMenu *fich = addMenu(nullptr, window, QStringLiteral("fich"), tr("&Fichier"));
    addItem(fich, QStringLiteral("ouvdossier"), tr("&Ouvrir un dossier"))
        ->setShortcut(QKeySequence::Open);
    addItem(fich, QStringLiteral("actualiser"), tr("A&ctualiser"))->setShortcut(Qt::Key_F5);
    fich->addSeparator();
    addItem(fich, QStringLiteral("quit"), tr("&Quitter"))->setShortcut(QKeySequence::Quit);

    QMenu *extract = addMenu(nullptr, window, QStringLiteral("extract"), tr("E&xtraction"));
    addItem(extract, QStringLiteral("demCDDB"), tr("&Demande CDDB"));
    extract->addSeparator();
    QMenu *extra = addMenu(extract, window, QStringLiteral("Extra"), tr("&Extraire d'un CD"));
    addItem(extra, QStringLiteral("extraMP3"), tr("Extraction &MP3"));
    addItem(extra, QStringLiteral("extraWAV"), tr("Extraction &WAV"));
    addItem(extra, QStringLiteral("extraFLAC"), tr("Extraction &FLAC"));
    extra->addSeparator();
    addItem(extra, QStringLiteral("extraFLACMP3"), tr("Extraction FLAC &et MP3"));
    addItem(extra, QStringLiteral("extraWAVMP3"), tr("Extraction WAV e&t MP3"));
    addItem(extra, QStringLiteral("extraWAVFLAC"), tr("Extraction WAV et F&LAC"));
    addItem(extra, QStringLiteral("extraWAVFLACMP3"), tr("Extraction WAV, FLAC et MP&3"));

    QMenu *edition = addMenu(nullptr, window, QStringLiteral("edition"), tr("&Edition"));
    addItem(edition, QStringLiteral("annuler"), tr("&Annuler"));
    addItem(edition, QStringLiteral("retablir"), tr("Ré&tablir"));
    edition->addSeparator();
    addItem(edition, QStringLiteral("recherche"), tr("&Recherche d'une piste"))
        ->setShortcut(QKeySequence::Find);
    edition->addSeparator();
    addItem(edition, QStringLiteral("copier2"), tr("&Copier les fichiers cochés"));
    addItem(edition, QStringLiteral("deplacer2"), tr("&Déplacer les fichiers cochés"));
    addItem(edition, QStringLiteral("supprimer2"), tr("&Supprimer les fichiers cochés"));
    addItem(edition, QStringLiteral("supprimerdef"),
            tr("Supprimer &définitivement les fichiers cochés"));
    // The tag and renaming buttons of the bar are in the menu too, where the keyboard reaches
    // them and their shortcuts show.
    edition->addSeparator();
    for (const char *key : {"enreID", "suppID", "copieID", "voir", "renom"})
        edition->addAction(button(QString::fromLatin1(key)));
    edition->addSeparator();
    addItem(edition, QStringLiteral("calculgain"), tr("Calculer le Replay&Gain"));
    addItem(edition, QStringLiteral("effacegain"), tr("Effacer le ReplayGain"));

    QMenu *lecteur = addMenu(nullptr, window, QStringLiteral("lecteur"), tr("&Lecteur MP3"));
    addItem(lecteur, QStringLiteral("lit"), tr("&Lire un MP3"));
    addItem(lecteur, QStringLiteral("arretlecture"), tr("&Arrêter la lecture"));

    QMenu *apropos = addMenu(nullptr, window, QStringLiteral("apropos"), tr("&Aide"));
    addItem(apropos, QStringLiteral("aid"), tr("&Aide"))->setShortcut(QKeySequence::HelpContents);
    apropos->addSeparator();
    addItem(apropos, QStringLiteral("aprop"), tr("A &propos"));

    mnuflottant = new QMenu(window);
    mnuflottant->setObjectName(QStringLiteral("mnuflottant"));
    addItem(mnuflottant, QStringLiteral("rechpiste"), tr("Recherche d'une piste"));
    mnuflottant->addSeparator();
    addItem(mnuflottant, QStringLiteral("lire"), tr("Lire la piste sélectionnée"));
    addItem(mnuflottant, QStringLiteral("stoplecture"), tr("Arrêter la lecture"));
    mnuflottant->addSeparator();
    addItem(mnuflottant, QStringLiteral("copier"), tr("Copier les fichiers cochés"));
    addItem(mnuflottant, QStringLiteral("deplacer"), tr("Déplacer les fichiers cochés"));
    addItem(mnuflottant, QStringLiteral("supprimer"), tr("Supprimer les fichiers cochés"));

    mnuextraire = new QMenu(window);
    mnuextraire->setObjectName(QStringLiteral("mnuextraire"));
    addItem(mnuextraire, QStringLiteral("ExtraiMp3"), tr("Extraction MP3"));
    addItem(mnuextraire, QStringLiteral("ExtraiWAV"), tr("Extraction WAV"));
    addItem(mnuextraire, QStringLiteral("ExtraiFlac"), tr("Extraction FLAC"));
    mnuextraire->addSeparator();
    addItem(mnuextraire, QStringLiteral("ExtraiFlacMp3"), tr("Extraction FLAC et MP3"));
    addItem(mnuextraire, QStringLiteral("ExtraiWavMp3"), tr("Extraction WAV et MP3"));
    addItem(mnuextraire, QStringLiteral("ExtraiWavFlac"), tr("Extraction WAV et FLAC"));
    addItem(mnuextraire, QStringLiteral("ExtraiWavFlacMp3"), tr("Extraction WAV, FLAC et MP3"));
}

QAction *CommandTable::addButton(const QString &key, const QString &tooltip, const QString &text,
                                 const char *icon)
{
    QAction *action = m_toolbar->addAction(themeIcon(icon), tooltip);
    action->setObjectName(key);
    action->setToolTip(tooltip);
    action->setIconText(text);
    m_buttons.insert(key, action);
    m_buttonKeys.append(key);
    return action;
}

QAction *CommandTable::addItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    m_items.insert(name, action);
    m_itemNames.append(name);
    return action;
}

QMenu *CommandTable::addMenu(QMenu *parent, QMainWindow *window, const QString &name,
                             const QString &caption)
{
    QMenu *menu = parent ? parent->addMenu(caption) : window->menuBar()->addMenu(caption);
    menu->setObjectName(name);
    m_menus.insert(name, menu);
    // A sub-menu is a command of its parent too ("Extra"), enabled and disabled like an item.
    if (parent) {
        menu->menuAction()->setObjectName(name);
        m_items.insert(name, menu->menuAction());
    }
    return menu;
}

std::optional<Procedure> CommandTable::procedureOfButton(const QString &key)
{
    static const QHash<QString, Procedure> table = {
        {QStringLiteral("quit"), Procedure::quitte},
        {QStringLiteral("aide"), Procedure::aides},
        {QStringLiteral("ouvrir"), Procedure::ouvre},
        {QStringLiteral("voir"), Procedure::apercu},
        {QStringLiteral("CDDB"), Procedure::demandecddb},
        {QStringLiteral("renom"), Procedure::renomer},
        {QStringLiteral("enreID"), Procedure::enreID},
        {QStringLiteral("suppID"), Procedure::suppID},
        {QStringLiteral("copieID"), Procedure::copieID},
    };
    const auto it = table.constFind(key);
    return it == table.constEnd() ? std::nullopt : std::optional(*it);
}

std::optional<Procedure> CommandTable::procedureOfItem(const QString &name)
{
    static const QHash<QString, Procedure> table = {
        {QStringLiteral("quit"), Procedure::quitte},
        {QStringLiteral("aid"), Procedure::aides},
        {QStringLiteral("ouvdossier"), Procedure::ouvre},
        {QStringLiteral("actualiser"), Procedure::actualiser},
        {QStringLiteral("demCDDB"), Procedure::demandecddb},
        {QStringLiteral("extraMP3"), Procedure::extmp3},
        {QStringLiteral("ExtraiMp3"), Procedure::extmp3},
        {QStringLiteral("extraWAV"), Procedure::extwav},
        {QStringLiteral("ExtraiWAV"), Procedure::extwav},
        {QStringLiteral("extraFLAC"), Procedure::extflac},
        {QStringLiteral("ExtraiFlac"), Procedure::extflac},
        {QStringLiteral("extraFLACMP3"), Procedure::extflacmp3},
        {QStringLiteral("ExtraiFlacMp3"), Procedure::extflacmp3},
        {QStringLiteral("extraWAVMP3"), Procedure::extwavmp3},
        {QStringLiteral("ExtraiWavMp3"), Procedure::extwavmp3},
        {QStringLiteral("extraWAVFLAC"), Procedure::extwavflac},
        {QStringLiteral("ExtraiWavFlac"), Procedure::extwavflac},
        {QStringLiteral("extraWAVFLACMP3"), Procedure::extwavflacmp3},
        {QStringLiteral("ExtraiWavFlacMp3"), Procedure::extwavflacmp3},
        {QStringLiteral("recherche"), Procedure::recherche},
        {QStringLiteral("rechpiste"), Procedure::recherche},
        {QStringLiteral("lit"), Procedure::lecture},
        {QStringLiteral("lire"), Procedure::lecture},
        {QStringLiteral("arretlecture"), Procedure::stoplecture},
        {QStringLiteral("stoplecture"), Procedure::stoplecture},
        {QStringLiteral("copier"), Procedure::copie},
        {QStringLiteral("copier2"), Procedure::copie},
        {QStringLiteral("deplacer"), Procedure::deplac},
        {QStringLiteral("deplacer2"), Procedure::deplac},
        {QStringLiteral("supprimer"), Procedure::supprim},
        {QStringLiteral("supprimer2"), Procedure::supprim},
        {QStringLiteral("supprimerdef"), Procedure::supprimDefinitif},
        {QStringLiteral("annuler"), Procedure::annuler},
        {QStringLiteral("retablir"), Procedure::retablir},
        {QStringLiteral("aprop"), Procedure::aprop},
        {QStringLiteral("calculgain"), Procedure::calculeGain},
        {QStringLiteral("effacegain"), Procedure::effaceGain},
    };
    const auto it = table.constFind(name);
    return it == table.constEnd() ? std::nullopt : std::optional(*it);
}

void CommandTable::setButtonsEnabled(const QStringList &keys, bool enabled)
{
    for (const QString &key : keys) {
        if (QAction *action = button(key))
            action->setEnabled(enabled);
    }
}

void CommandTable::setItemsEnabled(const QStringList &names, bool enabled)
{
    for (const QString &name : names) {
        if (QAction *action = item(name))
            action->setEnabled(enabled);
    }
}

void CommandTable::applyMainPage(int page)
{
    m_mainPage = page;
    const bool files = page == 1;
    setButtonsEnabled({QStringLiteral("ouvrir")}, files);
    setButtonsEnabled({QStringLiteral("voir"), QStringLiteral("renom")}, false);
    setItemsEnabled(fileItems, files);
    enableCdCommands(page == 0 && m_drivesPresent);
}

void CommandTable::setDrivesPresent(bool present)
{
    m_drivesPresent = present;
    enableCdCommands(m_mainPage == 0 && present);
}

void CommandTable::enableCdCommands(bool enabled)
{
    setButtonsEnabled({QStringLiteral("CDDB"), QStringLiteral("extraireMP3")}, enabled);
    setItemsEnabled(cdItems, enabled);
}

void CommandTable::applySubPage(int page)
{
    setButtonsEnabled({QStringLiteral("voir"), QStringLiteral("renom")}, page == 3);
    // F5 is "Aperçu" on the renaming page, "Actualiser" elsewhere.
    item(QStringLiteral("actualiser"))
        ->setShortcut(page == 3 ? QKeySequence() : QKeySequence(Qt::Key_F5));
}

void CommandTable::applyStartState()
{
    setButtonsEnabled({QStringLiteral("ouvrir"), QStringLiteral("voir"), QStringLiteral("renom")},
                      false);
    setButtonsEnabled(tagButtons, false);
    setItemsEnabled(fileItems, false);
    m_mainPage = 0;
    enableCdCommands(m_drivesPresent);
}

} // namespace app
