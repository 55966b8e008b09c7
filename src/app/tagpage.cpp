#include "app/tagpage.h"

#include "app/fileinfopanel.h"
#include "app/tageditorpanel.h"
#include "app/widgets.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

TagPage::TagPage(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    // The tab above names the page; the frame itself stays plain.
    setAccessibleName(tr("Taggeur et renommeur"));
    setFlat(true);

    LV1 = named<QTreeWidget>(this, "LV1");
    LV1->setAccessibleName(tr("Fichiers du dossier"));
    LV1->setHeaderLabels({tr("Nom du fichier"), tr("Nouveau nom de fichier"), tr("Dossier")});
    LV1->setColumnHidden(FolderColumn, true);
    LV1->setRootIsDecorated(false);
    LV1->setUniformRowHeights(true);
    LV1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LV1->setContextMenuPolicy(Qt::CustomContextMenu);
    LV1->header()->setSectionResizeMode(NameColumn, QHeaderView::Interactive);
    LV1->header()->resizeSection(NameColumn, 260);

    Command1 = named<QPushButton>(this, "Command1", tr("Tout sele&ctionner"));
    Command2 = named<QPushButton>(this, "Command2", tr("Tout &deselectionner"));
    connect(Command1, &QPushButton::clicked, this, [this] { setAllChecked(true); });
    connect(Command2, &QPushButton::clicked, this, [this] { setAllChecked(false); });
    Combo7 = named<QComboBox>(this, "Combo7");

    auto *left = new QWidget(this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    // The folder the list shows, read-only; its end (the folder's own name) stays in sight.
    txtDossier = named<QLineEdit>(left, "txtDossier");
    txtDossier->setReadOnly(true);
    txtDossier->setFrame(false);
    txtDossier->setAccessibleName(tr("Dossier affiché"));
    txtDossier->setStyleSheet(QStringLiteral("background: transparent"));
    leftLayout->addWidget(txtDossier);
    leftLayout->addWidget(LV1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();
    buttons->addWidget(new QLabel(tr("Type :"), left));
    buttons->addWidget(Combo7);
    leftLayout->addLayout(buttons);

    auto *right = new QWidget(this);
    TS1 = named<QTabBar>(right, "TS1");
    TS1->addTab(tr("&Info Fichier"));
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

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    showSubPage(InfoFichier);
}

void TagPage::showSubPage(int page)
{
    m_fromName->setVisible(page == TagV1 || page == TagV2);
    for (int i = 0; i < m_subPages.size(); ++i) {
        m_subPages[i]->setVisible(i == page);
        m_subPages[i]->widget()->setVisible(i == page);
    }
}

void TagPage::refillList()
{
    // The new rows are not selected: no file's information stays on show.
    Frame3->clear();
    LV1->clear();
    const QString folder = File1.path();
    txtDossier->setText(QDir::toNativeSeparators(folder));
    txtDossier->setToolTip(txtDossier->text());
    txtDossier->end(false);
    QList<QTreeWidgetItem *> rows;
    rows.reserve(File1.listCount());
    for (const QString &name : File1.entries()) {
        auto *row = new QTreeWidgetItem({name, QString(), folder});
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(NameColumn, Qt::Unchecked);
        rows.append(row);
    }
    LV1->addTopLevelItems(rows);
}

void TagPage::setAllChecked(bool checked)
{
    const Qt::CheckState state = checked ? Qt::Checked : Qt::Unchecked;
    for (int i = 0; i < LV1->topLevelItemCount(); ++i)
        LV1->topLevelItem(i)->setCheckState(NameColumn, state);
}

QString TagPage::countText() const
{
    return tr("%1 pistes").arg(LV1->topLevelItemCount());
}

} // namespace app
