#include "app/filelistmodel.h"

#include "base/safefs.h"
#include "gain/replaygain.h"
#include "tags/tagpattern.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <numeric>

namespace app {

namespace {

constexpr tags::PatternField tagFields[] = {tags::PatternField::Titre, tags::PatternField::Artiste,
                                            tags::PatternField::Album, tags::PatternField::Piste,
                                            tags::PatternField::Annee};

bool isTagColumn(int column)
{
    return column >= FileListModel::Titre && column < FileListModel::ColumnCount;
}

} // namespace

FileListModel::FileListModel(QObject *parent) : QAbstractTableModel(parent) {}

FileListModel::~FileListModel()
{
    stopReading();
}

void FileListModel::setFiles(const QString &folder, const QStringList &names)
{
    stopReading();
    ++m_generation;
    beginResetModel();
    m_folder = folder;
    m_rows.clear();
    m_rows.resize(size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        m_rows[size_t(i)].name = names[i];
        m_rows[size_t(i)].id = int(i);
    }
    m_tags.clear();
    m_tagsMissing = 0;
    endResetModel();
    if (m_sortColumn != Name || m_sortOrder != Qt::AscendingOrder)
        sort(m_sortColumn, m_sortOrder);
    if (m_tagsWanted)
        startReading();
}

QString FileListModel::path(int row) const
{
    return base::joinPath(m_folder, name(row));
}

int FileListModel::rowOf(const QString &name) const
{
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [&](const Row &row) { return row.name == name; });
    return found == m_rows.end() ? -1 : int(found - m_rows.begin());
}

void FileListModel::setChecked(int row, bool checked)
{
    m_rows[size_t(row)].checked = checked;
    const QModelIndex cell = index(row, Name);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void FileListModel::setAllChecked(bool checked)
{
    for (Row &row : m_rows)
        row.checked = checked;
    if (!m_rows.empty())
        emit dataChanged(index(0, Name), index(count() - 1, Name), {Qt::CheckStateRole});
}

QStringList FileListModel::checkedNames() const
{
    QStringList names;
    for (const Row &row : m_rows) {
        if (row.checked)
            names.append(row.name);
    }
    return names;
}

void FileListModel::setNewName(int row, const QString &text, const QColor &colour)
{
    m_rows[size_t(row)].newName = text;
    m_rows[size_t(row)].newNameColour = colour;
    const QModelIndex cell = index(row, NewName);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::ForegroundRole});
}

void FileListModel::setNewNames(const QList<std::pair<QString, QColor>> &cells)
{
    const qsizetype rows = std::min<qsizetype>(cells.size(), count());
    for (qsizetype i = 0; i < rows; ++i) {
        m_rows[size_t(i)].newName = cells[i].first;
        m_rows[size_t(i)].newNameColour = cells[i].second;
    }
    if (rows > 0)
        emit dataChanged(index(0, NewName), index(int(rows) - 1, NewName),
                         {Qt::DisplayRole, Qt::ForegroundRole});
}

void FileListModel::setTagsWanted(bool wanted)
{
    if (wanted == m_tagsWanted)
        return;
    m_tagsWanted = wanted;
    if (wanted)
        startReading();
    else
        stopReading();
}

void FileListModel::rereadTags(const QStringList &paths)
{
    emit tagsChanged(paths);
    if (m_tags.size() != m_rows.size())
        return; // nothing read yet: the reading to come sees the new tags
    stopReading();
    ++m_generation; // cells read before the save and not yet handed over are dropped
    const QSet<QString> saved(paths.cbegin(), paths.cend());
    for (const Row &row : m_rows) {
        TagCells &cells = m_tags[size_t(row.id)];
        if (cells.read && saved.contains(base::joinPath(m_folder, row.name))) {
            cells.read = false;
            ++m_tagsMissing;
        }
    }
    if (m_tagsWanted)
        startReading();
}

bool FileListModel::allTagsRead() const
{
    return m_tags.size() == m_rows.size() && m_tagsMissing == 0;
}

void FileListModel::startReading()
{
    stopReading();
    if (m_tags.size() != m_rows.size()) {
        m_tags.assign(m_rows.size(), TagCells());
        m_tagsMissing = count();
    }
    std::vector<std::pair<int, QString>> files;
    for (const Row &row : m_rows) {
        if (!m_tags[size_t(row.id)].read)
            files.emplace_back(row.id, base::joinPath(m_folder, row.name));
    }
    if (files.empty()) {
        emit tagsRead();
        return;
    }
    // The thread reads the files in list order and hands the cells over in small batches (a
    // few times a second), so that the view fills from the top without a repaint per file.
    m_stopReader = std::make_shared<std::atomic_bool>(false);
    m_reader = QThread::create([this, files = std::move(files), stop = m_stopReader,
                                generation = m_generation] {
        std::vector<std::pair<int, TagCells>> batch;
        QElapsedTimer sinceSent;
        sinceSent.start();
        const auto send = [&] {
            QMetaObject::invokeMethod(
                this, [this, generation, batch] { applyTags(generation, batch); },
                Qt::QueuedConnection);
            batch.clear();
            sinceSent.restart();
        };
        for (const auto &[id, path] : files) {
            if (*stop)
                return;
            TagCells cells;
            cells.read = true;
            QList<tags::UserText> texts;
            const tags::Result<tags::PatternValues> values = tags::readPatternValues(path, &texts);
            if (values.ok()) {
                for (int c = 0; c < int(std::size(tagFields)); ++c)
                    cells.values[c] = values->value(tagFields[c]);
                cells.values[GainPiste - Titre] = gain::trackGainOf(texts);
                cells.values[GainAlbum - Titre] = gain::albumGainOf(texts);
            }
            batch.emplace_back(id, std::move(cells));
            if (sinceSent.elapsed() >= 150)
                send();
        }
        send();
    });
    m_reader->start(QThread::LowPriority);
}

void FileListModel::stopReading()
{
    if (!m_reader)
        return;
    *m_stopReader = true;
    m_reader->wait();
    delete m_reader;
    m_reader = nullptr;
}

void FileListModel::applyTags(quint64 generation,
                              const std::vector<std::pair<int, TagCells>> &cells)
{
    if (generation != m_generation || cells.empty())
        return;
    std::vector<int> rowOfId(m_rows.size());
    for (int row = 0; row < count(); ++row)
        rowOfId[size_t(m_rows[size_t(row)].id)] = row;
    int first = count();
    int last = -1;
    for (const auto &[id, tag] : cells) {
        if (!m_tags[size_t(id)].read)
            --m_tagsMissing;
        m_tags[size_t(id)] = tag;
        first = std::min(first, rowOfId[size_t(id)]);
        last = std::max(last, rowOfId[size_t(id)]);
    }
    emit dataChanged(index(first, Titre), index(last, ColumnCount - 1), {Qt::DisplayRole});
    if (m_tagsMissing == 0) {
        if (isTagColumn(m_sortColumn))
            sort(m_sortColumn, m_sortOrder);
        emit tagsRead();
    }
}

QString FileListModel::tagCell(const Row &row, int column) const
{
    if (size_t(row.id) >= m_tags.size())
        return {};
    return m_tags[size_t(row.id)].values[column - Titre];
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Row &row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == Name)
            return row.name;
        if (index.column() == NewName)
            return row.newName;
        return tagCell(row, index.column());
    case Qt::CheckStateRole:
        if (index.column() == Name)
            return row.checked ? Qt::Checked : Qt::Unchecked;
        break;
    case Qt::ForegroundRole:
        if (index.column() == NewName && row.newNameColour.isValid())
            return row.newNameColour;
        break;
    default:
        break;
    }
    return {};
}

bool FileListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != Name || role != Qt::CheckStateRole)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags FileListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == Name)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    // A first click on a header sorts A to Z, 1 to 9 (the view's default is the reverse).
    if (role == Qt::InitialSortOrderRole)
        return Qt::AscendingOrder;
    if (role != Qt::DisplayRole)
        return {};
    static const char *const titles[ColumnCount] = {
        QT_TR_NOOP("Nom du fichier"), QT_TR_NOOP("Nouveau nom de fichier"),
        QT_TR_NOOP("Titre"),          QT_TR_NOOP("Artiste"),
        QT_TR_NOOP("Album"),          QT_TR_NOOP("Piste"),
        QT_TR_NOOP("Année"),          QT_TR_NOOP("Gain piste"),
        QT_TR_NOOP("Gain album")};
    return section >= 0 && section < ColumnCount ? tr(titles[section]) : QVariant();
}

void FileListModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> rows(m_rows.size());
    std::iota(rows.begin(), rows.end(), 0);
    const bool descending = order == Qt::DescendingOrder;
    if (column == Name) {
        std::sort(rows.begin(), rows.end(), [&](int a, int b) {
            return descending ? m_rows[size_t(a)].id > m_rows[size_t(b)].id
                              : m_rows[size_t(a)].id < m_rows[size_t(b)].id;
        });
    } else {
        // Sort keys are made once per row: comparing them is far cheaper than collating texts.
        // The C locale compares code points and ignores the numeric mode: English rules then.
        const QLocale system;
        QCollator collator(system.language() == QLocale::C ? QLocale(QLocale::English) : system);
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        // Gains ("-6.48 dB") by their number, which a collator does not read with its sign.
        const bool gains = column == GainPiste || column == GainAlbum;
        std::vector<QCollatorSortKey> keys;
        std::vector<double> numbers;
        std::vector<char> empty;
        keys.reserve(m_rows.size());
        for (const Row &row : m_rows) {
            const QString text = column == NewName ? row.newName : tagCell(row, column);
            keys.push_back(collator.sortKey(text));
            numbers.push_back(gains ? text.section(u' ', 0, 0).toDouble() : 0);
            empty.push_back(text.isEmpty());
        }
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) -> bool {
            if (empty[size_t(a)] != empty[size_t(b)])
                return empty[size_t(b)];
            const double x = numbers[size_t(a)], y = numbers[size_t(b)];
            const int compared =
                x != y ? (x < y ? -1 : 1) : keys[size_t(a)].compare(keys[size_t(b)]);
            if (compared != 0)
                return descending ? compared > 0 : compared < 0;
            return m_rows[size_t(a)].id < m_rows[size_t(b)].id;
        });
    }
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newRow(m_rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        newRow[size_t(rows[i])] = int(i);
        sorted.push_back(std::move(m_rows[size_t(rows[i])]));
    }
    m_rows = std::move(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &old : from)
        to.append(index(newRow[size_t(old.row())], old.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace app
