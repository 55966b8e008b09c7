#include "app/form1.h"

#include "app/cddbpanel.h"
#include "app/cdpage.h"
#include "app/commandtable.h"
#include "app/coverpanel.h"
#include "app/dialogs.h"
#include "app/extractioncontroller.h"
#include "app/filecommands.h"
#include "app/fileinfopanel.h"
#include "app/filelistmodel.h"
#include "app/foldercommands.h"
#include "app/form2.h"
#include "app/frmabout.h"
#include "app/gaincommands.h"
#include "app/lazyplayer.h"
#include "app/onlineoptions.h"
#include "app/optionspage.h"
#include "app/renamepanel.h"
#include "app/settingstable.h"
#include "app/simpleregaccess.h"
#include "app/taborder.h"
#include "app/tagcommands.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "app/undocommands.h"
#include "app/widgets.h"
#include "base/product.h"
#include "cd/cdaudiocontrol.h"
#include "cd/cddb.h"
#include "cd/cddevice.h"
#include "tags/zelltagctrl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <atomic>
#include <cstdio>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

// The icon lives in a resource of this static library, which must be registered by hand.
static void initTarvexResources()
{
    Q_INIT_RESOURCE(tarvex);
}

namespace app {

namespace {

using base::productName;

QTimer *namedTimer(QObject *parent, const char *name)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    return timer;
}

} // namespace

Form1::Form1(Setup setup, QWidget *parent)
    : QMainWindow(parent),
      m_dialogs(setup.dialogs ? std::move(setup.dialogs) : std::make_unique<QtDialogs>()),
      m_cdControl(setup.cdControl ? std::move(setup.cdControl)
                                  : std::make_unique<cd::CdioAudioControl>()),
      m_reg(std::make_unique<SimpleRegAccess>(setup.settingsFile)), m_cdImages(setup.cdImages),
      m_machineDrives(setup.machineDrives ? std::move(setup.machineDrives) : cd::cdDrives),
      m_helpFile(setup.helpFile)
{
    initTarvexResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(productName);
    setWindowIcon(QIcon(QStringLiteral(":/tarvex.svg")));
    m_cdControl->setObjectName(QStringLiteral("MMControl1"));
    m_playTimer = namedTimer(this, "Timer1");
    m_trackTimer = namedTimer(this, "Timer4");
    m_driveTimer = namedTimer(this, "TimerLecteurs");
    m_driveTimer->setInterval(1000);
    connect(m_driveTimer, &QTimer::timeout, this, &Form1::pollDrives);

    m_commands = new CommandTable(this);
    m_undo = new UndoCommands(this, *this, *m_commands->item(QStringLiteral("annuler")),
                              *m_commands->item(QStringLiteral("retablir")));
    buildPages();
    buildStatusBar();
    m_renamePanel = new RenamePanel(Frame1->Frame4);
    Frame1->fitSubPages();
    m_fileCommands = new FileCommands(
        this, *this, *Frame1, *Frame6, *m_renamePanel, *m_cdControl, *m_playTimer, *m_trackTimer,
        setup.player ? std::move(setup.player) : std::make_unique<LazyPlayer>());
    const std::pair<Procedure, void (FileCommands::*)()> fileProcedures[] = {
        {Procedure::apercu, &FileCommands::apercu},
        {Procedure::renomer, &FileCommands::renomer},
        {Procedure::copie, &FileCommands::copie},
        {Procedure::deplac, &FileCommands::deplac},
        {Procedure::supprim, &FileCommands::supprim},
        {Procedure::supprimDefinitif, &FileCommands::supprimDefinitif},
        {Procedure::lecture, &FileCommands::lecture},
        {Procedure::arret, &FileCommands::arret},
        {Procedure::stoplecture, &FileCommands::stoplecture},
    };
    for (const auto &entry : fileProcedures) {
        FileCommands *commands = m_fileCommands;
        setProcedure(entry.first, [commands, method = entry.second] { (commands->*method)(); });
    }
    connectCommands();
    connectPages();
    connectSettings();
    m_tagCommands = new TagCommands(this, *this, *Frame1, *Frame7, *m_renamePanel, *m_fileCommands);
    m_folders = new FolderCommands(this, *Frame1, *m_tagCommands, *this, [this] {
        return !m_jobRunning && !m_extraction->isBusy() && showsTagPage();
    });
    setProcedure(Procedure::enreID, [this] { m_tagCommands->enreID(); });
    setProcedure(Procedure::suppID, [this] { m_tagCommands->suppID(); });
    setProcedure(Procedure::copieID, [this] { m_tagCommands->copieID(); });
    setProcedure(Procedure::annuler, [this] { annuler(); });
    setProcedure(Procedure::retablir, [this] { retablir(); });
    m_cover = new CoverPanel(*Frame1->editor, *this, *m_dialogs);
    m_gain = new GainCommands(this, *this, *Frame1, *Frame7, *m_dialogs);
    setProcedure(Procedure::calculeGain, [this] { m_gain->calculeGain(); });
    setProcedure(Procedure::effaceGain, [this] { m_gain->effaceGain(); });
    m_extraction = new ExtractionController(this, *this, *Frame6, *Frame1, *Frame7);
    using Kind = cd::ExtractionJob::Kind;
    const std::pair<Procedure, QList<Kind>> rips[] = {
        {Procedure::extwav, {Kind::Wav}},
        {Procedure::extmp3, {Kind::Mp3}},
        {Procedure::extflac, {Kind::Flac}},
        {Procedure::extflacmp3, {Kind::Flac, Kind::Mp3}},
        {Procedure::extwavmp3, {Kind::Wav, Kind::Mp3}},
        {Procedure::extwavflac, {Kind::Wav, Kind::Flac}},
        {Procedure::extwavflacmp3, {Kind::Wav, Kind::Flac, Kind::Mp3}}};
    for (const auto &rip : rips)
        setProcedure(rip.first, [this, kinds = rip.second] { m_extraction->extract(kinds); });
    m_cddb = new CddbPanel(this, *this, *Frame6);
    setProcedure(Procedure::demandecddb, [this] {
        m_cddb->setLookupSettings(Frame7->lookupSettings());
        m_cddb->demandecddb();
    });
    connect(this, &Form1::unloading, m_cddb, &CddbPanel::onUnloading);
    // Tab walks every page as it reads, now that the controllers have added their controls.
    orderTabsAsLaidOut(centralWidget());
    // Below this width the renaming and tag pages no longer fit their captions; the height
    // leaves room for a 1080-line screen at 200 %, the sub-pages scrolling.
    setMinimumSize(940, 480);
    resize(960, 640);
}

Form1::~Form1()
{
    // The controllers listen to the pages' widgets and use the window's members: they go
    // first, while the window is still whole.
    delete m_cddb;
    delete m_extraction;
}

void Form1::buildPages()
{
    auto *central = new QWidget(this);
    TS2 = named<QTabBar>(central, "TS2");
    TS2->addTab(tr("Ext&raire CD"));
    TS2->addTab(tr("&Tag et noms"));
    TS2->addTab(tr("&Options"));
    TS2->setExpanding(false);
    TS2->setDocumentMode(true);
    Frame6 = new CdPage(central);
    Frame1 = new TagPage(central);
    Frame7 = new OptionsPage(central);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(TS2);
    layout->addWidget(Frame6, 1);
    layout->addWidget(Frame1, 1);
    layout->addWidget(Frame7, 1);
    Frame1->hide();
    Frame7->hide();
    setCentralWidget(central);
}

void Form1::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("SB1"));
    m_panel1 = named<QLabel>(bar, "SB1_Panel1");
    m_panel2 = named<QLabel>(bar, "SB1_Panel2");
    m_panel2->setMinimumWidth(100);
    ProgressBar1 = named<QProgressBar>(bar, "ProgressBar1");
    ProgressBar1->setMaximumWidth(200);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    m_stopJob = named<QPushButton>(bar, "cmdArreterTache", tr("&Arrêter"));
    m_stopJob->setToolTip(tr("Arrêter après le fichier en cours"));
    m_stopJob->hide();
    bar->addWidget(m_panel1, 1);
    bar->addPermanentWidget(m_stopJob);
    bar->addPermanentWidget(ProgressBar1);
    bar->addPermanentWidget(m_panel2);
}

void Form1::connectCommands()
{
    for (const QString &key : m_commands->buttonKeys()) {
        connect(m_commands->button(key), &QAction::triggered, this,
                [this, key] { toolbarClick(key); });
    }
    for (const QString &name : m_commands->itemNames()) {
        if (const auto procedure = CommandTable::procedureOfItem(name))
            connect(m_commands->item(name), &QAction::triggered, this,
                    [this, p = *procedure] { run(p); });
    }
    setProcedure(Procedure::quitte, [this] { quitte(); });
    setProcedure(Procedure::aides, [this] { aides(); });
    setProcedure(Procedure::aprop, [this] { aprop(); });
    setProcedure(Procedure::recherche, [this] { recherche(); });
    setProcedure(Procedure::ouvre, [this] { ouvre(); });
    setProcedure(Procedure::actualiser, [this] { m_folders->actualise(); });
}

void Form1::connectPages()
{
    connect(TS2, &QTabBar::currentChanged, this, &Form1::onMainPage);
    connect(Frame1->TS1, &QTabBar::currentChanged, this, &Form1::onSubPage);
    connect(Frame7->TS3, &QTabBar::currentChanged, this, &Form1::onOptionsPage);
    connect(Frame1->Combo7, &QComboBox::activated, this, &Form1::onFileType);
    m_commands->mnuflottant->addSeparator();
    m_commands->mnuflottant->addMenu(Frame1->mnuColonnes);
    connect(Frame1->LV1, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        const QPoint where = Frame1->LV1->viewport()->mapToGlobal(at);
        if (Frame1->files->count() > 0)
            m_commands->mnuflottant->popup(where);
        else
            Frame1->mnuColonnes->popup(where);
    });
    connect(Frame1->LV1, &QAbstractItemView::doubleClicked, this,
            [this] { run(Procedure::lecture); });
    connect(Frame6->cboLecteurCD, &QComboBox::currentTextChanged, m_cdControl.get(),
            &cd::CdAudioControl::setDevice);
}

void Form1::connectSettings()
{
    const OnlineOptions *online = Frame7->onlineOptions;
    const auto writeOnline = [this] { writeOnlineOptions(); };
    connect(online->cboServiceDisque, &QComboBox::activated, this, writeOnline);
    connect(online->cboProtocoleCddb, &QComboBox::activated, this, writeOnline);
    connect(online->txtServeurMusicBrainz, &QLineEdit::editingFinished, this, writeOnline);
    connect(online->txtServeurPochettes, &QLineEdit::editingFinished, this, writeOnline);
    connect(online->spnPochetteMaxKo, &QSpinBox::editingFinished, this, writeOnline);
    connect(online->txtServeurAcoustId, &QLineEdit::editingFinished, this, writeOnline);
    connect(online->txtCleAcoustId, &QLineEdit::editingFinished, this, writeOnline);
    connect(m_renamePanel, &RenamePanel::patternsChanged, this, [this](const QStringList &list) {
        m_reg->setKeyPath(settingsKeyPath());
        m_reg->writeValue(QStringLiteral("ModelesNom"), list.join(u'\n'));
    });
    const auto writeRip = [this] { writeRipOptions(); };
    for (QCheckBox *box : {Frame7->chkExtractionSecurisee, Frame7->chkTrameLame, Frame7->chkJournal,
                           Frame7->chkReplayGain, Frame7->chkListeLecture, Frame7->chkPisteCachee,
                           Frame7->chkEjecter})
        connect(box, &QCheckBox::clicked, this, writeRip);
    for (QLineEdit *field : {Frame7->txtDossierMp3, Frame7->txtDossierFlac, Frame7->txtDossierWav})
        connect(field, &QLineEdit::editingFinished, this, writeRip);
    connect(Frame7->spnDecalage, &QSpinBox::editingFinished, this, writeRip);
    connect(Frame7->spnNiveauFlac, &QSpinBox::editingFinished, this, writeRip);
    connect(Frame7->chkTagsV23, &QCheckBox::clicked, this, [this](bool on) {
        m_reg->setKeyPath(settingsKeyPath());
        m_reg->writeValue(QStringLiteral("TagsV23"),
                          on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    connect(Frame7->txtAccurateRip, &QLineEdit::editingFinished, this, writeRip);
    connect(Frame7->cboEncodage, &QComboBox::activated, this, writeRip);
    connect(Frame7->Command5, &QPushButton::clicked, this, &Form1::reperCD);
    connect(Frame7->Command6, &QPushButton::clicked, this, &Form1::reperWAVMP3);
    connect(Frame7->Combo8, &QComboBox::activated, this, [this](int index) {
        m_reg->setKeyPath(settingsKeyPath());
        m_reg->writeValue(QStringLiteral("Formatfichier"), QString::number(index));
    });
    connect(Frame7->Check2, &QCheckBox::clicked, this, [this] {
        m_reg->setKeyPath(settingsKeyPath());
        m_reg->writeValue(QStringLiteral("ImportationNom"),
                          SimpleRegAccess::fromBool(Frame7->artistFromTitles()));
    });
    connect(Frame7->Command7, &QPushButton::clicked, this, [this] {
        m_reg->setKeyPath(settingsKeyPath());
        m_reg->writeValue(QStringLiteral("Commentaire"), Frame7->defaultComment());
    });
    connect(Frame7->Command8, &QPushButton::clicked, this, [this] {
        m_reg->setKeyPath(settingsKeyPath());
        m_reg->writeValue(QStringLiteral("Encodepar"), Frame7->defaultEncoder());
    });
    // The e-mail address names the user in every CDDB request from the next one on.
    connect(Frame7->txtEmailCddb, &QLineEdit::editingFinished, this, [this] {
        m_cddb->setHelloSuffix(cd::cddbHelloSuffix(Frame7->txtEmailCddb->text()));
        m_reg->setKeyPath(settingsKeyPath());
        m_reg->writeValue(QStringLiteral("EmailCDDB"), Frame7->txtEmailCddb->text().trimmed());
    });
    for (QRadioButton *option :
         {Frame7->Option7, Frame7->Option8, Frame7->Option9, Frame7->Option10})
        connect(option, &QRadioButton::clicked, this, &Form1::writeTagOptions);
    for (const auto &[box, name] :
         {std::pair{Frame7->chkConfirmerEnregistrement, "ConfirmerEnregistrement"},
          std::pair{Frame7->chkRva2, "ReplayGainRVA2"},
          std::pair{Frame7->chkConfirmerQuitter, "ConfirmerQuitter"}})
        connect(box, &QCheckBox::clicked, this, [this, key = name](bool on) {
            m_reg->setKeyPath(settingsKeyPath());
            m_reg->writeValue(QString::fromLatin1(key), SimpleRegAccess::fromBool(on));
        });
    connect(Frame1->chkSousDossiers, &QCheckBox::toggled, this, [this](bool on) {
        m_reg->setKeyPath(settingsKeyPath());
        m_reg->writeValue(QStringLiteral("SousDossiers"), SimpleRegAccess::fromBool(on));
    });
}

QString Form1::product() const
{
    return productName;
}

QString Form1::settingsKeyPath() const
{
    return settingsKey(product());
}

void Form1::setStatusPanel(int panel, const QString &text)
{
    (panel == 1 ? m_panel1 : m_panel2)->setText(text);
}

int Form1::chooseItem(const QString &text, const QStringList &items)
{
    return m_dialogs->chooseItem(this, text, product(), items);
}

void Form1::inform(const QString &text, Dialogs::Icon icon)
{
    m_dialogs->inform(this, text, product(), icon);
}

Dialogs::Replace Form1::askReplace(const QString &question)
{
    return m_dialogs->askReplace(this, question, product());
}

bool Form1::confirm(const QString &question, const QString &title)
{
    return m_dialogs->confirm(this, question, title);
}

bool Form1::confirmTagSave(const QString &question)
{
    return confirmUnlessSilenced(Frame7->chkConfirmerEnregistrement,
                                 QStringLiteral("ConfirmerEnregistrement"), question, productName);
}

bool Form1::confirmUnlessSilenced(QCheckBox *asks, const QString &setting, const QString &question,
                                  const QString &title)
{
    if (!asks->isChecked())
        return true;
    bool stopAsking = false;
    if (!m_dialogs->confirmOrStopAsking(this, question, title, &stopAsking))
        return false;
    if (stopAsking) {
        asks->setChecked(false);
        m_reg->setKeyPath(settingsKeyPath());
        m_reg->writeValue(setting, SimpleRegAccess::fromBool(false));
    }
    return true;
}

Dialogs::Unsaved Form1::askUnsaved(const QString &question)
{
    return m_dialogs->askUnsaved(this, question, productName);
}

void Form1::showJobProgress(qint64 done, qint64 total)
{
    if (done == 0) {
        ProgressBar1->setMaximum(int(std::max<qint64>(total, 1)));
    }
    ProgressBar1->setValue(int(done));
}

void Form1::clearJobProgress()
{
    ProgressBar1->setValue(0);
}

void Form1::setJobFile(const QString &path)
{
    m_chosenFile = path;
}

void Form1::stopCdDevice()
{
    m_cdControl->sendCommand(QStringLiteral("Stop"));
}

void Form1::ejectCdDevice()
{
    m_cdControl->sendCommand(QStringLiteral("Eject"));
}

void Form1::setCddbAvailable(bool available)
{
    if (QAction *cddb = m_commands->button(QStringLiteral("CDDB")))
        cddb->setEnabled(available);
}

QList<QWidget *> Form1::jobCommands() const
{
    return {m_commands->Toolbar1, menuBar(), TS2, Frame7->TS3};
}

QString Form1::chosenFile() const
{
    return m_chosenFile;
}

void Form1::setChosenFile(const QString &path)
{
    m_chosenFile = path;
}

bool Form1::showsTagPage() const
{
    return TS2->currentIndex() == 1;
}

void Form1::setTagCommandsEnabled(bool enabled)
{
    m_commands->setButtonsEnabled(
        {QStringLiteral("enreID"), QStringLiteral("suppID"), QStringLiteral("copieID")}, enabled);
}

QString Form1::chooseFolder(const QString &startFolder)
{
    return m_dialogs->chooseFolder(this, startFolder);
}

void Form1::recordTagSaves(const QString &label, QList<tags::TagBackup> backups)
{
    // The tag columns of the saved files show the new values.
    QStringList saved;
    for (const tags::TagBackup &backup : backups)
        saved.append(backup.fichier());
    Frame1->files->rereadTags(saved);
    m_undo->recordTagSaves(label, std::move(backups));
}

void Form1::runJob(qsizetype files, bool stoppable,
                   const std::function<void(const tags::BatchControl &)> &work, bool slow,
                   Stop stopKind)
{
    std::atomic_bool cancel = false;
    tags::BatchControl control;
    control.cancel = &cancel;
    constexpr qsizetype fewFiles = 16;
    if (files <= fewFiles && !slow) {
        work(control);
        return;
    }
    // Progress reports still on their way when the job ends are dropped with `receiver`; one
    // per percent is enough for the gauge.
    QObject receiver;
    std::atomic<qsizetype> shown = -1;
    control.progress = [this, &receiver, &shown](qsizetype done, qsizetype total) {
        const qsizetype percent = done * 100 / std::max<qsizetype>(total, 1);
        if (shown.exchange(percent) == percent)
            return;
        QMetaObject::invokeMethod(
            &receiver,
            [this, percent] {
                ProgressBar1->setMaximum(100);
                ProgressBar1->setValue(int(percent));
            },
            Qt::QueuedConnection);
    };
    // Everything but the status bar is off: the job's files are not to change under it.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    QList<QPointer<QWidget>> disabled;
    for (QWidget *widget : {centralWidget(), static_cast<QWidget *>(menuBar()),
                            static_cast<QWidget *>(m_commands->Toolbar1)}) {
        if (widget->isEnabled()) {
            widget->setEnabled(false);
            disabled.append(widget);
        }
    }
    const QMetaObject::Connection stop =
        connect(m_stopJob, &QPushButton::clicked, this, [&cancel] { cancel = true; });
    const bool cancels = stopKind == Stop::Cancel;
    m_stopJob->setText(cancels ? tr("&Annuler") : tr("&Arrêter"));
    m_stopJob->setToolTip(cancels ? tr("Tout annuler : rien n'est écrit")
                                  : tr("Arrêter après le fichier en cours"));
    m_stopJob->setVisible(stoppable);
    m_jobRunning = true;
    QEventLoop loop;
    std::thread worker([&] {
        // The window's thread comes first: the workers this one starts inherit its priority.
        ::setpriority(PRIO_PROCESS, ::gettid(), 5);
        work(control);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    m_jobRunning = false;
    disconnect(stop);
    m_stopJob->hide();
    ProgressBar1->setValue(0);
    for (const QPointer<QWidget> &widget : std::as_const(disabled)) {
        if (widget)
            widget->setEnabled(true);
    }
    if (focus)
        focus->setFocus();
}

void Form1::recordMoves(const QString &label, const QList<files::MovedFile> &moves,
                        const QStringList &createdFolders)
{
    // The files shown, and the edits they hold, follow their new names.
    Frame1->editor->followMoves(moves);
    m_undo->recordMoves(label, moves, createdFolders);
}

void Form1::recordSteps(const QString &label, const QList<files::FileStep> &steps)
{
    m_undo->recordSteps(label, steps);
}

Dialogs::Replace Form1::askReplaceOrCancel(const QString &question)
{
    return m_dialogs->askReplaceOrCancel(this, question, product());
}

void Form1::annuler()
{
    // Edits not saved are settled first; saving them is a command of its own, which the next
    // "Annuler" undoes.
    const int recorded = m_undo->recordCount();
    if (!m_tagCommands->settleUnsavedEdits() || m_undo->recordCount() != recorded)
        return;
    showUndone(m_undo->annuler());
}

void Form1::retablir()
{
    if (m_tagCommands->settleUnsavedEdits())
        showUndone(m_undo->retablir());
}

void Form1::showUndone(const files::UndoReport &report)
{
    // The files shown follow the moves undone, and show what they hold now.
    Frame1->editor->followMoves(report.moved);
    if (!showsTagPage())
        return;
    if (report.moved.isEmpty()) {
        Frame1->files->rereadTags(report.retagged);
    } else {
        Frame1->File1.refresh();
        Frame1->refillList();
        comptage();
    }
    m_tagCommands->reloadShown();
}

void Form1::releaseCdDevice()
{
    m_trackTimer->stop();
    m_cdControl->sendCommand(QStringLiteral("stop"));
    m_cdControl->sendCommand(QStringLiteral("Close"));
}

void Form1::reopenCdDevice()
{
    m_cdControl->setDeviceType(QStringLiteral("CDAudio"));
    m_cdControl->sendCommand(QStringLiteral("Open"));
    m_trackTimer->start();
}

QString Form1::statusPanel(int panel) const
{
    return (panel == 1 ? m_panel1 : m_panel2)->text();
}

void Form1::setProcedure(Procedure procedure, std::function<void()> body)
{
    m_procedures[procedure] = std::move(body);
}

void Form1::run(Procedure procedure)
{
    // Nothing runs beside a job of the window: it would change the files under the job.
    if (m_jobRunning)
        return;
    // The commands that list other files, or take the shown ones away, settle the edits first.
    const bool replacesShown = procedure == Procedure::ouvre || procedure == Procedure::copie ||
                               procedure == Procedure::deplac || procedure == Procedure::supprim ||
                               procedure == Procedure::supprimDefinitif;
    if (replacesShown && m_tagCommands && !m_tagCommands->settleUnsavedEdits())
        return;
    const auto it = m_procedures.find(procedure);
    if (it != m_procedures.end() && it->second)
        it->second();
}

void Form1::toolbarClick(const QString &key)
{
    run(Procedure::arret);
    m_cdControl->sendCommand(QStringLiteral("Stop"));
    if (key == QLatin1String("extraireMP3")) {
        m_commands->mnuextraire->popup(QCursor::pos());
        return;
    }
    if (const auto procedure = CommandTable::procedureOfButton(key))
        run(*procedure);
}

void Form1::startUp()
{
    m_chosenFile.clear();
    writeMissingDefaults(*m_reg, product(), defaultOutputFolder());
    loadSettings();
    Frame1->editor->enableVersion(1);
    Frame1->editor->enableVersion(2);
    QStringList genres;
    tags::ZellTagCtrl().GetGenreListe(genres);
    Frame6->txtGenre->clear();
    Frame6->txtGenre->addItems(genres);
    m_commands->applyStartState();
    Frame7->hide();
    m_playTimer->stop();
    fillFixedLists();
    findDrives(); // opens the CD device on the first drive
    m_cddb->setServerUrl(cd::cddbDefaultServerUrl());
    m_cddb->setHelloSuffix(cd::cddbHelloSuffix(Frame7->txtEmailCddb->text()));
    Frame6->txtRecu->clear();
    // Without a drive the tagger is what the window is for.
    if (Frame6->drives().isEmpty())
        TS2->setCurrentIndex(1);
    m_driveTimer->start();
}

void Form1::loadSettings()
{
    m_reg->setKeyPath(settingsKeyPath());
    auto read = [this](const char *name) { return m_reg->readValue(QString::fromLatin1(name)); };
    auto flag = [&read](const char *name) { return SimpleRegAccess::toBool(read(name)); };
    Frame7->Text3->setText(read("repertCD"));
    Frame7->Text5->setText(read("repertWAVMP3"));
    Frame7->Option7->setChecked(flag("ExtraireTagv1"));
    Frame7->Option8->setChecked(flag("ExtraireTagv2"));
    Frame7->Option9->setChecked(flag("ExtraireTagv1et2"));
    Frame7->Option10->setChecked(flag("ExtraireTagrien"));
    Frame7->Check2->setChecked(flag("ImportationNom"));
    Frame7->Text8->setText(read("Commentaire"));
    Frame7->Text9->setText(read("Encodepar"));
    Frame7->chkTagsV23->setChecked(flag("TagsV23"));
    Frame7->chkRva2->setChecked(flag("ReplayGainRVA2"));
    Frame7->txtEmailCddb->setText(read("EmailCDDB"));
    // The online lookup: a missing or unreadable value keeps its default.
    online::LookupSettings lookup;
    bool ok = false;
    if (const int service = read("ServiceDisque").toInt(&ok); ok && service >= 0 && service <= 3)
        lookup.service = online::DiscService(service);
    if (const QString url = read("ServeurMusicBrainz").trimmed(); !url.isEmpty())
        lookup.musicBrainzUrl = url;
    if (const QString url = read("ServeurPochettes").trimmed(); !url.isEmpty())
        lookup.coverUrl = url;
    if (const qint64 kib = read("PochetteMaxKo").toLongLong(&ok); ok && kib > 0)
        lookup.coverMaxBytes = kib * 1024;
    if (const int level = read("ProtocoleCDDB").toInt(&ok); ok && (level == 5 || level == 6))
        lookup.cddbProtocol = level;
    if (const QString url = read("ServeurAcoustID").trimmed(); !url.isEmpty())
        lookup.acoustIdUrl = url;
    lookup.acoustIdKey = read("CleAcoustID").trimmed();
    Frame7->onlineOptions->setLookupSettings(lookup);
    // The rip options: secure reading is on unless the user turned it off.
    Frame7->chkExtractionSecurisee->setChecked(read("ExtractionSecurisee") != u"0");
    Frame7->spnDecalage->setValue(read("DecalageLecture").toInt());
    Frame7->txtAccurateRip->setText(read("ServeurAccurateRip"));
    Frame7->cboEncodage->setCurrentIndex(
        std::max(0, std::min(read("Encodage").toInt(), Frame7->cboEncodage->count() - 1)));
    Frame7->chkTrameLame->setChecked(flag("TrameLame"));
    Frame7->chkJournal->setChecked(read("JournalExtraction") != u"0");
    Frame7->chkReplayGain->setChecked(read("ReplayGainExtraction") != u"0");
    Frame7->chkPisteCachee->setChecked(flag("PisteCachee"));
    Frame7->chkEjecter->setChecked(flag("EjecterFinExtraction"));
    bool level = false;
    const int flacLevel = read("NiveauFLAC").toInt(&level);
    Frame7->spnNiveauFlac->setValue(level ? flacLevel : cd::defaultFlacLevel);
    Frame7->txtDossierMp3->setText(read("DossierMP3"));
    Frame7->txtDossierFlac->setText(read("DossierFLAC"));
    Frame7->txtDossierWav->setText(read("DossierWAV"));
    Frame7->chkListeLecture->setChecked(read("ListeLecture") != u"0");
    // The questions are asked unless the user said "Ne plus demander".
    Frame7->chkConfirmerEnregistrement->setChecked(read("ConfirmerEnregistrement") != u"0");
    Frame7->chkConfirmerQuitter->setChecked(read("ConfirmerQuitter") != u"0");
    Frame1->chkSousDossiers->setChecked(flag("SousDossiers"));
    Frame1->File1.setIncludeSubfolders(flag("SousDossiers"));
    m_renamePanel->setPatterns(read("ModelesNom").split(u'\n', Qt::SkipEmptyParts));
}

void Form1::writeRipOptions()
{
    m_reg->setKeyPath(settingsKeyPath());
    const auto write = [this](const char *name, const QString &value) {
        m_reg->writeValue(QString::fromLatin1(name), value);
    };
    const auto bit = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    write("ExtractionSecurisee", bit(Frame7->chkExtractionSecurisee->isChecked()));
    write("DecalageLecture", QString::number(Frame7->spnDecalage->value()));
    write("ServeurAccurateRip", Frame7->txtAccurateRip->text().trimmed());
    write("Encodage", QString::number(Frame7->cboEncodage->currentIndex()));
    write("TrameLame", bit(Frame7->chkTrameLame->isChecked()));
    write("JournalExtraction", bit(Frame7->chkJournal->isChecked()));
    write("ReplayGainExtraction", bit(Frame7->chkReplayGain->isChecked()));
    write("PisteCachee", bit(Frame7->chkPisteCachee->isChecked()));
    write("EjecterFinExtraction", bit(Frame7->chkEjecter->isChecked()));
    write("NiveauFLAC", QString::number(Frame7->spnNiveauFlac->value()));
    write("DossierMP3", Frame7->txtDossierMp3->text().trimmed());
    write("DossierFLAC", Frame7->txtDossierFlac->text().trimmed());
    write("DossierWAV", Frame7->txtDossierWav->text().trimmed());
    write("ListeLecture", bit(Frame7->chkListeLecture->isChecked()));
}

void Form1::writeOnlineOptions()
{
    const online::LookupSettings lookup = Frame7->lookupSettings();
    m_reg->setKeyPath(settingsKeyPath());
    m_reg->writeValue(QStringLiteral("ServiceDisque"), QString::number(int(lookup.service)));
    m_reg->writeValue(QStringLiteral("ServeurMusicBrainz"), lookup.musicBrainzUrl);
    m_reg->writeValue(QStringLiteral("ServeurPochettes"), lookup.coverUrl);
    m_reg->writeValue(QStringLiteral("PochetteMaxKo"),
                      QString::number(lookup.coverMaxBytes / 1024));
    m_reg->writeValue(QStringLiteral("ProtocoleCDDB"), QString::number(lookup.cddbProtocol));
    m_reg->writeValue(QStringLiteral("ServeurAcoustID"), lookup.acoustIdUrl);
    m_reg->writeValue(QStringLiteral("CleAcoustID"), lookup.acoustIdKey);
}

void Form1::fillFixedLists()
{
    Frame1->Combo7->clear();
    Frame1->Combo7->addItems({QStringLiteral("*.mp3"), QStringLiteral("*.wav")});
    Frame1->Combo7->setCurrentIndex(0);
    m_renamePanel->fillFixedLists();

    m_reg->setKeyPath(settingsKeyPath());
    QComboBox *formats = Frame7->Combo8;
    formats->clear();
    formats->addItems(
        {tr("Artiste - Titre"), tr("Titre - Artiste"), tr("Titre (Artiste)"), tr("Titre")});
    formats->setCurrentIndex(fileFormatIndex(m_reg->readValue(QStringLiteral("Formatfichier"))));
}

void Form1::findDrives()
{
    // Images are given once; only the machine's drives come and go.
    QStringList usable;
    for (const QString &image : std::as_const(m_cdImages)) {
        QString reason;
        if (cd::isUsableDiscImage(image, &reason))
            usable << image;
        else
            std::fputs(qPrintable(tr("Tarvex : %1 ; elle est ignorée.\n").arg(reason)), stderr);
    }
    m_cdImages = usable;
    pollDrives();
}

void Form1::pollDrives()
{
    if (m_extraction->isBusy() || m_cddb->isBusy())
        return;
    const QStringList drives = m_machineDrives() + m_cdImages;
    if (drives == Frame6->drives())
        return;
    const QString chosen = Frame6->cboLecteurCD->currentText();
    // The commands first: reading the newly chosen disc then sets "CDDB" by its tracks.
    m_commands->setDrivesPresent(!drives.isEmpty());
    Frame6->setDrives(drives);
    if (Frame6->cboLecteurCD->currentText() == chosen)
        return;
    if (!chosen.isEmpty())
        m_cdControl->sendCommand(QStringLiteral("Close"));
    if (!drives.isEmpty())
        openCdDevice();
}

void Form1::openCdDevice()
{
    m_cdControl->setNotify(false);
    m_cdControl->setWait(true);
    m_cdControl->setShareable(false);
    m_cdControl->setDeviceType(QStringLiteral("CDAudio"));
    m_cdControl->setDevice(Frame6->cboLecteurCD->currentText());
    m_cdControl->sendCommand(QStringLiteral("Open"));
}

void Form1::reperCD()
{
    m_reg->setKeyPath(settingsKeyPath());
    const QString folder = m_dialogs->chooseFolder(this, QString());
    if (folder.isEmpty())
        return;
    Frame7->Text3->setText(folder);
    m_reg->writeValue(QStringLiteral("repertCD"), folder);
}

void Form1::reperWAVMP3()
{
    m_reg->setKeyPath(settingsKeyPath());
    const QString folder = m_dialogs->chooseFolder(this, QString());
    if (folder.isEmpty())
        return;
    Frame7->Text5->setText(folder);
    m_reg->writeValue(QStringLiteral("repertWAVMP3"), folder);
}

void Form1::writeTagOptions()
{
    m_reg->setKeyPath(settingsKeyPath());
    m_reg->writeValue(QStringLiteral("ExtraireTagv1"),
                      SimpleRegAccess::fromBool(Frame7->Option7->isChecked()));
    m_reg->writeValue(QStringLiteral("ExtraireTagv2"),
                      SimpleRegAccess::fromBool(Frame7->Option8->isChecked()));
    m_reg->writeValue(QStringLiteral("ExtraireTagv1et2"),
                      SimpleRegAccess::fromBool(Frame7->Option9->isChecked()));
    m_reg->writeValue(QStringLiteral("ExtraireTagrien"),
                      SimpleRegAccess::fromBool(Frame7->Option10->isChecked()));
}

void Form1::quitte()
{
    if (!confirmUnlessSilenced(Frame7->chkConfirmerQuitter, QStringLiteral("ConfirmerQuitter"),
                               tr("Voulez-vous quitter ?"), tr("Confirmation")))
        return;
    m_quitConfirmed = true;
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_jobRunning) {
        event->ignore();
        return;
    }
    // A running job asks its own question; confirming it stops the job after its current batch.
    const std::optional<bool> stopJob = m_extraction->confirmClose();
    if (stopJob == false) {
        event->ignore();
        return;
    }
    // Edits not saved are settled before the window goes.
    if (!m_tagCommands->settleUnsavedEdits()) {
        event->ignore();
        m_quitConfirmed = false;
        return;
    }
    if (!stopJob && !m_quitConfirmed &&
        !confirmUnlessSilenced(Frame7->chkConfirmerQuitter, QStringLiteral("ConfirmerQuitter"),
                               tr("Voulez-vous quitter ?"), tr("Confirmation"))) {
        event->ignore();
        return;
    }
    m_quitConfirmed = false;
    // Unloading: cancel any transfer, stop the CD device; errors are of no concern any more.
    emit unloading();
    m_cdControl->sendCommand(QStringLiteral("Stop"));
    if (m_search)
        m_search->close();
    if (m_about)
        m_about->close();
    event->accept();
}

void Form1::aides()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QUrl help = QUrl::fromLocalFile(m_helpFile);
    const bool present = QFileInfo(m_helpFile).isFile();
    QApplication::restoreOverrideCursor();
    if (!present)
        m_dialogs->inform(this, tr("Le fichier d'aide « %1 » est introuvable.").arg(m_helpFile),
                          product(), Dialogs::Icon::Error);
    else if (!QDesktopServices::openUrl(help))
        m_dialogs->inform(this,
                          tr("Aucun programme ne peut ouvrir le fichier d'aide « %1 ». "
                             "Installez un navigateur Web ou ouvrez ce fichier "
                             "vous-même.")
                              .arg(m_helpFile),
                          product(), Dialogs::Icon::Warning);
}

void Form1::aprop()
{
    if (!m_about)
        m_about = new frmAbout(product(), *m_dialogs, this);
    m_about->show();
    m_about->raise();
}

void Form1::recherche()
{
    if (!m_search)
        m_search = new Form2(*Frame1, this);
    m_search->show();
    m_search->raise();
    m_search->activateWindow();
}

void Form1::ouvre()
{
    const QString folder = m_dialogs->chooseFolder(this, Frame1->File1.path());
    if (folder.isEmpty())
        return; // cancelled: the list stays as it was
    if (m_folders->listFolder(folder))
        Frame1->LV1->setFocus(); // the files are what the keyboard goes on with
}

void Form1::showPath(const QString &path)
{
    const QFileInfo info(path);
    TS2->setCurrentIndex(1);
    if (!m_folders->listFolder(info.isDir() ? info.absoluteFilePath() : info.absolutePath()))
        return;
    const int row = info.isDir() ? -1 : Frame1->files->rowOf(info.fileName());
    if (row < 0)
        return;
    Frame1->selectRow(row);
    m_tagCommands->selectFile();
}

void Form1::comptage()
{
    setStatusPanel(2, Frame1->countText());
}

void Form1::onMainPage(int page)
{
    // The edits not saved are settled before the tag page goes; kept, it stays.
    if (m_tagCommands && !m_tagCommands->settleUnsavedEdits()) {
        const QSignalBlocker block(TS2);
        TS2->setCurrentIndex(1);
        return;
    }
    Frame1->editor->remsezerotag();
    // The list is read again and keeps its folder, the extraction folder until another one is
    // opened; "Tag et noms" lists MP3 files whatever type was chosen before.
    if (page == 1) {
        Frame1->Combo7->setCurrentIndex(0);
        Frame1->File1.setPattern(QStringLiteral("*.mp3"));
        if (Frame1->File1.path().isEmpty())
            Frame1->File1.setPath(Frame7->trackFolder());
    } else {
        Frame1->File1.refresh();
    }
    Frame1->refillList();
    Frame1->LV1->clearSelection();
    run(Procedure::arret);
    m_cdControl->sendCommand(QStringLiteral("Stop"));

    if (page == 1) {
        const QSignalBlocker block(Frame1->TS1);
        Frame1->TS1->setCurrentIndex(TagPage::InfoFichier);
        Frame1->showSubPage(TagPage::InfoFichier);
    }
    comptage();
    Frame6->setVisible(page == 0);
    Frame1->setVisible(page == 1);
    Frame7->setVisible(page == 2);
    m_commands->applyMainPage(page);
    m_tagCommands->updateAvailability();
}

void Form1::onSubPage(int page)
{
    if (page == TagPage::Renomeur)
        run(Procedure::arret);
    Frame1->showSubPage(page);
    m_commands->applySubPage(page);
}

void Form1::onOptionsPage(int page)
{
    Frame7->showSubPage(page);
}

void Form1::onFileType(int index)
{
    // The edits not saved are settled before the list changes; kept, the type comes back.
    if (m_tagCommands && !m_tagCommands->settleUnsavedEdits()) {
        Frame1->Combo7->setCurrentIndex(Frame1->File1.pattern() == u"*.wav" ? 1 : 0);
        return;
    }
    setStatusPanel(1, QString());
    if (TS2->currentIndex() == 1)
        Frame1->File1.setPattern(index == 0 ? QStringLiteral("*.mp3") : QStringLiteral("*.wav"));
    Frame1->refillList();
    if (Frame1->files->count() > 0)
        Frame1->selectRow(0);
    comptage();
}

} // namespace app
