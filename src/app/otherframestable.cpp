#include "app/otherframestable.h"

#include "app/widgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace app {

namespace {

constexpr int KeyRole = Qt::UserRole;
constexpr int DifferingRole = Qt::UserRole + 1;

// Paints "<différentes valeurs>" in an empty cell of a row that differs between files, as the
// fields show it.
class DifferingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

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

QTableWidgetItem *nameItem(const QString &key)
{
    auto *item = new QTableWidgetItem(tags::frameName(key));
    item->setData(KeyRole, key);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setToolTip(key);
    return item;
}

QTableWidgetItem *valueItem(const tags::SharedFrame &frame)
{
    auto *item = new QTableWidgetItem;
    item->setData(DifferingRole, frame.differing);
    if (frame.text) {
        item->setText(frame.value);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    } else {
        if (!frame.differing)
            item->setText(OtherFramesTable::tr("%1 octets").arg(frame.size));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    return item;
}

} // namespace

OtherFramesTable::OtherFramesTable(QWidget *parent) : QGroupBox(tr("Autres champs"), parent)
{
    setObjectName(QStringLiteral("OtherFramesTable"));
    tblAutresChamps = named<QTableWidget>(this, "tblAutresChamps");
    tblAutresChamps->setAccessibleName(tr("Autres champs"));
    tblAutresChamps->setColumnCount(2);
    tblAutresChamps->setHorizontalHeaderLabels({tr("Champ"), tr("Valeur")});
    tblAutresChamps->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tblAutresChamps->horizontalHeader()->setStretchLastSection(true);
    tblAutresChamps->verticalHeader()->hide();
    tblAutresChamps->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblAutresChamps->setEditTriggers(QAbstractItemView::DoubleClicked |
                                     QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed);
    tblAutresChamps->setTabKeyNavigation(false);
    tblAutresChamps->setItemDelegate(new DifferingDelegate(tblAutresChamps));
    tblAutresChamps->setMinimumHeight(fontMetrics().lineSpacing() * 6);

    cboNouveauChamp = named<QComboBox>(this, "cboNouveauChamp");
    cboNouveauChamp->setEditable(true);
    cboNouveauChamp->setInsertPolicy(QComboBox::NoInsert);
    cboNouveauChamp->addItems(tags::addableNames());
    cboNouveauChamp->setCurrentIndex(-1);
    cboNouveauChamp->setAccessibleName(tr("Champ à ajouter"));
    cboNouveauChamp->lineEdit()->setPlaceholderText(tr("Nom ou identifiant (TXXX:Description)"));
    cmdAjouterChamp = named<QPushButton>(this, "cmdAjouterChamp", tr("Ajou&ter"));
    cmdRetirerChamp = named<QPushButton>(this, "cmdRetirerChamp", tr("Reti&rer"));
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
    tblAutresChamps->setRowCount(0);
    tblAutresChamps->setRowCount(int(frames.size()));
    for (int row = 0; row < frames.size(); ++row) {
        tblAutresChamps->setItem(row, 0, nameItem(frames[row].key));
        tblAutresChamps->setItem(row, 1, valueItem(frames[row]));
    }
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
    for (int row = 0; row < tblAutresChamps->rowCount(); ++row) {
        const QString key = tblAutresChamps->item(row, 0)->data(KeyRole).toString();
        const QTableWidgetItem *value = tblAutresChamps->item(row, 1);
        if (!(value->flags() & Qt::ItemIsEditable))
            continue;
        const auto loaded = std::find_if(m_loaded.cbegin(), m_loaded.cend(),
                                         [&](const tags::SharedFrame &f) { return f.key == key; });
        const bool untouched =
            loaded != m_loaded.cend() &&
            (loaded->differing ? value->text().isEmpty() : value->text() == loaded->value);
        if (!untouched && !(loaded == m_loaded.cend() && value->text().isEmpty()))
            changes.append({key, value->text()});
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
    int row = 0;
    while (row < tblAutresChamps->rowCount() &&
           tblAutresChamps->item(row, 0)->data(KeyRole).toString() != key)
        ++row;
    if (row == tblAutresChamps->rowCount()) {
        tblAutresChamps->insertRow(row);
        tblAutresChamps->setItem(row, 0, nameItem(key));
        tags::SharedFrame frame;
        frame.key = key;
        frame.text = true;
        tblAutresChamps->setItem(row, 1, valueItem(frame));
        m_removed.removeAll(key);
    }
    cboNouveauChamp->setCurrentIndex(-1);
    cboNouveauChamp->clearEditText();
    tblAutresChamps->setCurrentCell(row, 1);
    tblAutresChamps->setFocus();
    tblAutresChamps->editItem(tblAutresChamps->item(row, 1));
}

void OtherFramesTable::removeSelected()
{
    QList<int> rows;
    for (const QModelIndex &index : tblAutresChamps->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (int row : rows) {
        const QString key = tblAutresChamps->item(row, 0)->data(KeyRole).toString();
        const bool loaded = std::any_of(m_loaded.cbegin(), m_loaded.cend(),
                                        [&](const tags::SharedFrame &f) { return f.key == key; });
        if (loaded && !m_removed.contains(key))
            m_removed.append(key);
        tblAutresChamps->removeRow(row);
    }
}

} // namespace app
