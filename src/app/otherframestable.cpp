#include "app/otherframestable.h"

#include "app/widgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

namespace {

constexpr int KeyRole = Qt::UserRole;
constexpr int DifferingRole = Qt::UserRole + 1;

// Paints "<différentes valeurs>" in an empty cell of a row that differs between files, as the
// fields show it; only values are edited.
class DifferingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // What is typed reaches the row at each key, so that a save started while the editor is
    // open (from the toolbar, which takes no focus) writes it.
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        if (index.column() != 1)
            return nullptr;
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            auto *self = const_cast<DifferingDelegate *>(this);
            connect(line, &QLineEdit::textEdited, self,
                    [self, line] { emit self->commitData(line); });
        }
        return editor;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->text.isEmpty() && index.data(DifferingRole).toBool()) {
            option->text = OtherFramesTable::tr("<différentes valeurs>");
            option->palette.setColor(QPalette::Text,
                                     option->palette.color(QPalette::PlaceholderText));
        }
    }
};

// The row of a frame: its name (the key in KeyRole), and its value, or its size.
QTreeWidgetItem *frameItem(const tags::SharedFrame &frame)
{
    auto *item = new QTreeWidgetItem;
    item->setText(0, tags::frameName(frame.key));
    item->setData(0, KeyRole, frame.key);
    item->setToolTip(0, frame.key);
    item->setData(1, DifferingRole, frame.differing);
    if (frame.text) {
        item->setText(1, frame.value);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    } else {
        if (!frame.differing)
            item->setText(1, OtherFramesTable::tr("%1 octets").arg(frame.size));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    return item;
}

QString keyOf(const QTreeWidgetItem *item)
{
    return item->data(0, KeyRole).toString();
}

} // namespace

OtherFramesTable::OtherFramesTable(QWidget *parent) : QGroupBox(tr("Autres champs"), parent)
{
    setObjectName(QStringLiteral("OtherFramesTable"));
    tblAutresChamps = named<QTreeWidget>(this, "tblAutresChamps");
    tblAutresChamps->setAccessibleName(tr("Autres champs"));
    tblAutresChamps->setColumnCount(2);
    tblAutresChamps->setHeaderLabels({tr("Champ"), tr("Valeur")});
    tblAutresChamps->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tblAutresChamps->header()->setStretchLastSection(true);
    tblAutresChamps->setRootIsDecorated(false);
    tblAutresChamps->setUniformRowHeights(true);
    tblAutresChamps->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tblAutresChamps->setEditTriggers(QAbstractItemView::DoubleClicked |
                                     QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed);
    tblAutresChamps->setItemDelegate(new DifferingDelegate(tblAutresChamps));
    tblAutresChamps->setMinimumHeight(fontMetrics().lineSpacing() * 6);

    cboNouveauChamp = named<QComboBox>(this, "cboNouveauChamp");
    cboNouveauChamp->setEditable(true);
    cboNouveauChamp->setInsertPolicy(QComboBox::NoInsert);
    cboNouveauChamp->addItems(tags::addableNames());
    cboNouveauChamp->setCurrentIndex(-1);
    cboNouveauChamp->setAccessibleName(tr("Champ à ajouter"));
    cboNouveauChamp->lineEdit()->setPlaceholderText(tr("Nom ou identifiant (TXXX:Description)"));
    cboNouveauChamp->lineEdit()->setAccessibleName(cboNouveauChamp->accessibleName());
    cmdAjouterChamp = named<QPushButton>(this, "cmdAjouterChamp", tr("A&jouter"));
    cmdRetirerChamp = named<QPushButton>(this, "cmdRetirerChamp", tr("S&upprimer le champ"));
    connect(cmdAjouterChamp, &QPushButton::clicked, this, &OtherFramesTable::addFrame);
    connect(cmdRetirerChamp, &QPushButton::clicked, this, &OtherFramesTable::removeSelected);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cboNouveauChamp, 1);
    buttons->addWidget(cmdAjouterChamp);
    buttons->addWidget(cmdRetirerChamp);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tblAutresChamps, 1);
    layout->addLayout(buttons);
}

void OtherFramesTable::showFrames(const QList<tags::SharedFrame> &frames)
{
    m_loaded = frames;
    m_removed.clear();
    tblAutresChamps->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(frames.size());
    for (const tags::SharedFrame &frame : frames)
        items.append(frameItem(frame));
    tblAutresChamps->addTopLevelItems(items);
}

void OtherFramesTable::clearFrames()
{
    showFrames({});
}

QList<tags::FrameChange> OtherFramesTable::changes() const
{
    QList<tags::FrameChange> changes;
    for (const QString &key : m_removed)
        changes.append({key, std::nullopt});
    for (int row = 0; row < tblAutresChamps->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = tblAutresChamps->topLevelItem(row);
        if (!(item->flags() & Qt::ItemIsEditable))
            continue;
        const QString key = keyOf(item), value = item->text(1);
        const auto loaded = std::find_if(m_loaded.cbegin(), m_loaded.cend(),
                                         [&](const tags::SharedFrame &f) { return f.key == key; });
        const bool untouched = loaded == m_loaded.cend()
                                   ? value.isEmpty()
                                   : (loaded->differing ? value.isEmpty() : value == loaded->value);
        if (!untouched)
            changes.append({key, value});
    }
    return changes;
}

void OtherFramesTable::addFrame()
{
    const QString key = tags::keyOfTyped(cboNouveauChamp->currentText());
    if (key.isEmpty()) {
        cboNouveauChamp->setFocus();
        return;
    }
    QTreeWidgetItem *item = nullptr;
    for (int row = 0; row < tblAutresChamps->topLevelItemCount() && !item; ++row) {
        if (keyOf(tblAutresChamps->topLevelItem(row)) == key)
            item = tblAutresChamps->topLevelItem(row);
    }
    if (!item) {
        tags::SharedFrame frame;
        frame.key = key;
        frame.text = true;
        item = frameItem(frame);
        tblAutresChamps->addTopLevelItem(item);
        m_removed.removeAll(key);
    }
    cboNouveauChamp->setCurrentIndex(-1);
    cboNouveauChamp->clearEditText();
    tblAutresChamps->setCurrentItem(item, 1);
    tblAutresChamps->setFocus();
    tblAutresChamps->editItem(item, 1);
}

void OtherFramesTable::removeSelected()
{
    for (QTreeWidgetItem *item : tblAutresChamps->selectedItems()) {
        const QString key = keyOf(item);
        const bool loaded = std::any_of(m_loaded.cbegin(), m_loaded.cend(),
                                        [&](const tags::SharedFrame &f) { return f.key == key; });
        if (loaded && !m_removed.contains(key))
            m_removed.append(key);
        delete item;
    }
}

} // namespace app
