#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>

#include <atomic>
#include <memory>
#include <vector>

class QThread;

namespace app {

// The rows of the file list LV1: one per file of the listed folder, with its check box, the
// new-name cell the renaming preview and the conversion fill, and the tag columns (title,
// artist, album, track, year, track and album ReplayGain), which are read in a background
// thread only while one of them is shown. A row is a few small strings; the tags of a row take room
// only once read.
class FileListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        Name,
        NewName,
        Titre,
        Artiste,
        Album,
        Piste,
        Annee,
        GainPiste,
        GainAlbum,
        ColumnCount
    };

    explicit FileListModel(QObject *parent = nullptr);
    ~FileListModel() override;

    // Replaces the rows by the names of `folder`, all unchecked, with empty cells; the current
    // sort applies to them.
    void setFiles(const QString &folder, const QStringList &names);
    QString folder() const { return m_folder; }
    int count() const { return int(m_rows.size()); }
    QString name(int row) const { return m_rows[size_t(row)].name; }
    QString path(int row) const;
    // The row that shows the file name, or -1.
    int rowOf(const QString &name) const;

    bool isChecked(int row) const { return m_rows[size_t(row)].checked; }
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);
    // The names of the checked rows, in list order.
    QStringList checkedNames() const;

    QString newName(int row) const { return m_rows[size_t(row)].newName; }
    // The new-name cell; an invalid colour is the view's text colour.
    void setNewName(int row, const QString &text, const QColor &colour = {});
    // The new-name cells of the first rows at once, in row order.
    void setNewNames(const QList<std::pair<QString, QColor>> &cells);

    // Whether the tag columns are wanted (one of them is shown). Wanting them reads the tags of
    // the rows not read yet, in the background; tagsRead() is emitted when every row has them.
    void setTagsWanted(bool wanted);
    bool allTagsRead() const;
    // The tag cells of these files (full paths) are read again: their tags were saved.
    void rereadTags(const QStringList &paths);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Sorting by name keeps the folder's order (names ignoring case), or its reverse; the tag
    // columns sort as a person reads them ("2" before "10", gains by their number), rows without
    // a value last.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

signals:
    void tagsRead();
    // The tags of these files (full paths) were saved.
    void tagsChanged(const QStringList &paths);

private:
    struct Row
    {
        QString name;
        QString newName;
        QColor newNameColour;
        int id = 0; // position in the folder's order; indexes m_tags
        bool checked = false;
    };
    // The tag columns of a file, in column order from Titre.
    struct TagCells
    {
        QString values[ColumnCount - Titre];
        bool read = false;
    };

    void startReading();
    void stopReading();
    void applyTags(quint64 generation, const std::vector<std::pair<int, TagCells>> &cells);
    QString tagCell(const Row &row, int column) const;

    QString m_folder;
    std::vector<Row> m_rows;
    std::vector<TagCells> m_tags; // by row id, empty until tags are wanted
    int m_tagsMissing = 0;
    bool m_tagsWanted = false;
    int m_sortColumn = Name;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;

    QThread *m_reader = nullptr;
    std::shared_ptr<std::atomic_bool> m_stopReader;
    quint64 m_generation = 0; // results of an older listing, or read before a save, are dropped
};

} // namespace app
