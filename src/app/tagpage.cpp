#include "app/tagpage.h"

#include "app/fileinfopanel.h"
#include "app/filelistmodel.h"
#include "app/tageditorpanel.h"
#include "app/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace app {

TagPage::TagPage(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    // The tab above names the page; the frame itself stays plain.
    setAccessibleName(tr("Taggeur et renommeur"));
    setFlat(true);

    LV1 = named<QTreeView>(this, "LV1");
    LV1->setAccessibleName(tr("Fichiers du dossier"));
    files = new FileListModel(this);
    LV1->setModel(files);
    LV1->setRootIsDecorated(false);
    LV1->setUniformRowHeights(true);
    LV1->setAllColumnsShowFocus(true);
    LV1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LV1->setContextMenuPolicy(Qt::CustomContextMenu);
    LV1->viewport()->installEventFilter(this);
    QHeaderView *header = LV1->header();
    // Named, so that the window keeps the columns shown, their widths and the sort.
    header->setObjectName(QStringLiteral("LV1.entete"));
    header->setSectionResizeMode(QHeaderView::Interactive);
    // Room left in the default window for the start of the new names the renaming previews.
    header->resizeSection(FileListModel::Name, 200);
    header->setSortIndicator(FileListModel::Name, Qt::AscendingOrder);
    LV1->setSortingEnabled(true);
    for (int column = FileListModel::Titre; column < FileListModel::ColumnCount; ++column)
        header->setSectionHidden(column, true);
    // The header's context menu chooses the tag columns; the list's own menu has it too, where
    // the keyboard reaches it.
    mnuColonnes = new QMenu(tr("&Colonnes"), this);
    mnuColonnes->setObjectName(QStringLiteral("mnuColonnes"));
    for (int column = FileListModel::Titre; column < FileListModel::ColumnCount; ++column) {
        QAction *shown =
            mnuColonnes->addAction(files->headerData(column, Qt::Horizontal).toString());
        shown->setCheckable(true);
        connect(shown, &QAction::triggered, this,
                [this, column](bool on) { showColumn(column, on); });
    }
    connect(mnuColonnes, &QMenu::aboutToShow, this, [this] {
        const QList<QAction *> actions = mnuColonnes->actions();
        for (int i = 0; i < actions.size(); ++i)
            actions[i]->setChecked(!LV1->isColumnHidden(FileListModel::Titre + i));
    });
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint &at) { mnuColonnes->popup(LV1->header()->mapToGlobal(at)); });
    LV1->installEventFilter(this);

    Command1 = named<QPushButton>(this, "Command1", tr("Tout sele&ctionner"));
    Command2 = named<QPushButton>(this, "Command2", tr("Tout &deselectionner"));
    connect(Command1, &QPushButton::clicked, this, [this] { setAllChecked(true); });
    connect(Command2, &QPushButton::clicked, this, [this] { setAllChecked(false); });
    Combo7 = named<QComboBox>(this, "Combo7");
    chkSousDossiers = named<QCheckBox>(this, "chkSousDossiers", tr("&Inclure les sous-dossiers"));

    // The folders of the disk, read by Qt on a thread of its own; a click or Enter lists one.
    dossiers = new QFileSystemModel(this);
    dossiers->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dossiers->setRootPath(QDir::rootPath());
    arbreDossiers = named<QTreeView>(this, "arbreDossiers");
    arbreDossiers->setAccessibleName(tr("Dossiers"));
    arbreDossiers->setModel(dossiers);
    arbreDossiers->header()->setObjectName(QStringLiteral("arbreDossiers.entete"));
    for (int column = 1; column < dossiers->columnCount(); ++column)
        arbreDossiers->setColumnHidden(column, true);
    arbreDossiers->setHeaderHidden(true);
    // Deep folders scroll sideways rather than being cut to nothing.
    arbreDossiers->header()->setStretchLastSection(false);
    arbreDossiers->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    arbreDossiers->setMinimumWidth(100);
    for (auto signal : {&QTreeView::clicked, &QTreeView::activated})
        connect(arbreDossiers, signal, this,
                [this](const QModelIndex &index) { emit folderChosen(dossiers->filePath(index)); });

    auto *left = new QWidget(this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    // The folder the list shows, read-only; its end (the folder's own name) stays in sight.
    txtDossier = named<QLineEdit>(left, "txtDossier");
    txtDossier->setReadOnly(true);
    txtDossier->setFrame(false);
    txtDossier->setAccessibleName(tr("Dossier affiché"));
    txtDossier->setStyleSheet(QStringLiteral("background: transparent"));
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(txtDossier, 1);
    folderRow->addWidget(chkSousDossiers);
    leftLayout->addLayout(folderRow);
    leftLayout->addWidget(LV1, 1);
    // The buttons and the type on two rows: on one, the list's side would need more room than
    // the default window leaves it beside the tree and the sub-pages.
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();
    leftLayout->addLayout(buttons);
    auto *type = new QHBoxLayout;
    type->addWidget(new QLabel(tr("Type :"), left));
    type->addWidget(Combo7);
    type->addStretch();
    leftLayout->addLayout(type);

    auto *right = new QWidget(this);
    TS1 = named<QTabBar>(right, "TS1");
    TS1->addTab(tr("Info Fic&hier"));
    TS1->addTab(tr("Tag ID3 v&1"));
    TS1->addTab(tr("Tag ID3 v&2"));
    TS1->addTab(tr("Re&nomeur"));
    TS1->setExpanding(false);
    Frame3 = new FileInfoPanel(right);
    editor = new TagEditorPanel(right);
    Frame4 = named<QGroupBox>(right, "Frame4");
    Frame4->setAccessibleName(tr("Renommeur"));
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(TS1);
    // Each sub-page scrolls when the window is too small for it (large fonts, high scales)
    // rather than squeezing its fields over one another or widening the page, which would move
    // the splitter and narrow the list.
    for (QWidget *frame :
         {static_cast<QWidget *>(Frame3), static_cast<QWidget *>(editor->Frame2),
          static_cast<QWidget *>(editor->Frame5), static_cast<QWidget *>(Frame4)}) {
        auto *scroll = new QScrollArea(right);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(frame);
        scroll->setAccessibleName(frame->accessibleName());
        m_subPages.append(scroll);
        rightLayout->addWidget(scroll, 1);
    }

    // Filling the tag from the file name, under both tag pages.
    m_fromName = new QWidget(right);
    cboModeleTag = named<QComboBox>(m_fromName, "cboModeleTag");
    cboModeleTag->setEditable(true);
    cboModeleTag->setAccessibleName(tr("Modèle lu dans le nom"));
    cboModeleTag->lineEdit()->setAccessibleName(cboModeleTag->accessibleName());
    cboModeleTag->setInsertPolicy(QComboBox::NoInsert);
    // A long pattern scrolls inside the field rather than widening the page.
    cboModeleTag->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboModeleTag->setMinimumContentsLength(12);
    cboModeleTag->addItems(
        {QStringLiteral("%piste:2% - %artiste% - %titre%"), QStringLiteral("%artiste% - %titre%")});
    cboModeleTag->setToolTip(
        tr("Champs : %titre% %artiste% %album% %annee% %piste% %genre% %commentaire%"));
    cmdRemplirNom =
        named<QPushButton>(m_fromName, "cmdRemplirNom", tr("Re&mplir le tag d'après le nom"));
    auto *fromNameLayout = new QHBoxLayout(m_fromName);
    fromNameLayout->setContentsMargins(0, 0, 0, 0);
    fromNameLayout->addWidget(cboModeleTag, 1);
    fromNameLayout->addWidget(cmdRemplirNom);
    rightLayout->addWidget(m_fromName);
    // On its own row: beside the pattern it would widen the page.
    cmdIdentifier = named<QPushButton>(right, "cmdIdentifier", tr("Identifier sur MusicBrain&z…"));
    rightLayout->addWidget(cmdIdentifier, 0, Qt::AlignRight);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(arbreDossiers);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setStretchFactor(2, 1);
    // In the default window: the tree wide enough for the names of a few levels of folders,
    // the sub-pages as wide as they need, the list the rest; a wider window widens the last two.
    splitter->setSizes({150, 300, 470});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    TS1->setUsesScrollButtons(false); // every tab in sight
    showSubPage(InfoFichier);
}

void TagPage::fitSubPages()
{
    int widest = 0;
    for (int page = InfoFichier; page <= Renomeur; ++page) {
        QScrollArea *area = m_subPages[page];
        widest = std::max(widest, area->widget()->minimumSizeHint().width() +
                                      area->verticalScrollBar()->sizeHint().width());
    }
    m_subPages[0]->parentWidget()->setMinimumWidth(
        std::max(widest, TS1->minimumSizeHint().width()));
}

void TagPage::showSubPage(int page)
{
    m_fromName->setVisible(page == TagV1 || page == TagV2);
    cmdIdentifier->setVisible(page == TagV1 || page == TagV2);
    for (int i = 0; i < m_subPages.size(); ++i) {
        m_subPages[i]->setVisible(i == page);
        m_subPages[i]->widget()->setVisible(i == page);
    }
}

void TagPage::refillList(bool keepInfo)
{
    // The new rows are not selected: no file's information stays on show.
    if (!keepInfo)
        Frame3->clear();
    const QString folder = File1.path();
    if (!folder.isEmpty()) {
        const QModelIndex shown = dossiers->index(folder);
        arbreDossiers->setCurrentIndex(shown);
        arbreDossiers->scrollTo(shown);
    }
    // A reading of the folders below that was stopped or found too much lists the folder alone.
    chkSousDossiers->setChecked(File1.includesSubfolders());
    txtDossier->setText(QDir::toNativeSeparators(folder));
    txtDossier->setToolTip(txtDossier->text());
    txtDossier->end(false);
    files->setFiles(folder, File1.entries());
    // The header may have been restored with another sort since the last listing.
    const QHeaderView *header = LV1->header();
    if (header->sortIndicatorSection() != files->sortColumn() ||
        header->sortIndicatorOrder() != files->sortOrder())
        files->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
    readShownTagColumns();
    emit refilled();
}

void TagPage::showColumn(int column, bool shown)
{
    LV1->setColumnHidden(column, !shown);
    if (shown && LV1->columnWidth(column) < 40)
        LV1->setColumnWidth(column, 120);
    readShownTagColumns();
}

void TagPage::readShownTagColumns()
{
    bool shown = false;
    for (int column = FileListModel::Titre; column < FileListModel::ColumnCount; ++column)
        shown = shown || !LV1->isColumnHidden(column);
    files->setTagsWanted(shown);
}

void TagPage::setAllChecked(bool checked)
{
    files->setAllChecked(checked);
}

QList<int> TagPage::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : LV1->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TagPage::currentSelectedRow() const
{
    const QModelIndex current = LV1->currentIndex();
    if (!current.isValid() || !LV1->selectionModel()->isRowSelected(current.row()))
        return -1;
    return current.row();
}

void TagPage::selectRow(int row)
{
    const QModelIndex index = files->index(row, FileListModel::Name);
    LV1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
    LV1->scrollTo(index);
}

void TagPage::selectFiles(const QStringList &paths)
{
    const QSet<QString> wanted(paths.cbegin(), paths.cend());
    QItemSelection selection;
    int current = -1;
    int runStart = -1;
    for (int row = 0; row <= files->count(); ++row) {
        const QString path = row < files->count() ? files->path(row) : QString();
        const bool taken = row < files->count() && wanted.contains(path);
        if (taken && runStart < 0)
            runStart = row;
        if (!taken && runStart >= 0) {
            selection.select(files->index(runStart, FileListModel::Name),
                             files->index(row - 1, FileListModel::Name));
            runStart = -1;
        }
        if (taken && (current < 0 || path == paths.first()))
            current = row;
    }
    QItemSelectionModel *model = LV1->selectionModel();
    if (current < 0) {
        model->clearSelection();
        return;
    }
    const QModelIndex index = files->index(current, FileListModel::Name);
    model->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    LV1->scrollTo(index);
}

QRect TagPage::checkBoxRect(const QModelIndex &index) const
{
    QStyleOptionViewItem option;
    option.initFrom(LV1);
    option.rect = LV1->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    return LV1->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, LV1);
}

bool TagPage::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // The menu key and Shift+F10 open the list's menu beside the current row.
    if (watched == LV1 && type == QEvent::KeyPress) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (key->key() != Qt::Key_Menu &&
            !(key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier))
            return QGroupBox::eventFilter(watched, event);
        const QRect row = LV1->visualRect(LV1->currentIndex());
        emit LV1->customContextMenuRequested(row.isValid() ? row.center() : QPoint());
        return true;
    }
    if (watched != LV1->viewport() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
         type != QEvent::MouseButtonDblClick))
        return QGroupBox::eventFilter(watched, event);
    const auto *mouse = static_cast<const QMouseEvent *>(event);
    const QPoint at = mouse->position().toPoint();
    const QModelIndex index = LV1->indexAt(at);
    const bool onBox = mouse->button() == Qt::LeftButton && index.isValid() &&
                       index.column() == FileListModel::Name && checkBoxRect(index).contains(at);
    if (type == QEvent::MouseButtonRelease) {
        const int pressed = std::exchange(m_checkPressed, -1);
        if (pressed < 0)
            return false;
        if (onBox && index.row() == pressed)
            files->setChecked(pressed, !files->isChecked(pressed));
        return true;
    }
    if (!onBox)
        return false;
    // The press and the double click on a box are not the view's: neither selects the row.
    m_checkPressed = index.row();
    return true;
}

QString TagPage::countText() const
{
    return tr("%1 pistes").arg(files->count());
}

} // namespace app
