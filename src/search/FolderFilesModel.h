#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "catalog/DiscTree.h"

namespace vt {

// The files of one folder, as a table: name, size in bytes, readable size, date, attributes. Sorting and
// the type-to-filter text work on a list of row numbers over the rows, so a folder of tens of thousands of
// files sorts and filters without copying a row; sizes and dates sort by value, names without regard to
// case. The filter keeps the files whose name holds the text, compared as the catalogue's `like` compares
// (case, and the Arabic and Persian forms of yeh and kaf, do not count).
class FolderFilesModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Name, Bytes, Size, Modified, Attributes, ColumnCount };

    explicit FolderFilesModel(QObject* parent = nullptr);

    // Replaces the listed files; the sort order and filter in force apply to the new ones.
    void setFiles(std::vector<DiscFile> files);
    void setFilterText(const QString& text);
    const QString& filterText() const { return filter_; }

    // The file shown at `row`.
    const DiscFile& file(int row) const { return files_[size_t(shown_[size_t(row)])]; }
    // The row showing the file recorded under `path`, -1 when none does.
    int rowOf(const QString& path) const;
    // Every file of the folder, listed or filtered out.
    const std::vector<DiscFile>& allFiles() const { return files_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    void rebuildShown();
    void sortShown();

    std::vector<DiscFile> files_;
    std::vector<int> shown_;  // indexes into files_, in display order
    QString filter_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace vt
