#include "search/FolderFilesModel.h"

#include <QDateTime>
#include <algorithm>

#include "catalog/FoldedText.h"
#include "search/LeftToRight.h"
#include "search/PersianDate.h"
#include "search/PlainDecimal.h"
#include "search/ReadableSize.h"

namespace vt {

namespace {

const char16_t* const kHeaders[FolderFilesModel::ColumnCount] = {
    u"نام", u"اندازه (بايت)", u"اندازه", u"تاريخ", u"ويژگيها",
};

QString dateText(const std::optional<qint64>& modified) {
    if (!modified) return QString();
    return solarHijriText(QDateTime::fromSecsSinceEpoch(*modified));
}

}  // namespace

FolderFilesModel::FolderFilesModel(QObject* parent) : QAbstractTableModel(parent) {}

void FolderFilesModel::setFiles(std::vector<DiscFile> files) {
    beginResetModel();
    files_ = std::move(files);
    // Most files of a folder have the same attributes: one shared text for them all, not one each.
    for (size_t i = 1; i < files_.size(); ++i) {
        if (files_[i].attributes == files_[i - 1].attributes) files_[i].attributes = files_[i - 1].attributes;
    }
    rebuildShown();
    endResetModel();
}

void FolderFilesModel::setFilterText(const QString& text) {
    if (text == filter_) return;
    beginResetModel();
    filter_ = text;
    rebuildShown();
    endResetModel();
}

void FolderFilesModel::rebuildShown() {
    shown_.clear();
    shown_.reserve(files_.size());
    const QString needle = foldedText(filter_);
    for (size_t i = 0; i < files_.size(); ++i) {
        if (needle.isEmpty() || foldedText(files_[i].name).contains(needle)) shown_.push_back(int(i));
    }
    sortShown();
}

void FolderFilesModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> heldFiles;
    heldFiles.reserve(size_t(before.size()));
    for (const QModelIndex& index : before) heldFiles.push_back(shown_[size_t(index.row())]);

    sortColumn_ = column;
    sortOrder_ = order;
    sortShown();

    // Selections and the current row follow their files to where the sort put them.
    std::vector<int> rowOfFile(files_.size(), -1);
    for (size_t row = 0; row < shown_.size(); ++row) rowOfFile[size_t(shown_[row])] = int(row);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.append(index(rowOfFile[size_t(heldFiles[size_t(i)])], before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FolderFilesModel::sortShown() {
    if (sortColumn_ < 0) return;
    // Names compare case-folded once each, rather than folded again in every comparison.
    std::vector<QString> nameKeys;
    nameKeys.reserve(files_.size());
    for (const DiscFile& f : files_) nameKeys.push_back(f.name.toCaseFolded());
    const auto less = [this, &nameKeys](int a, int b) {
        const DiscFile& x = files_[size_t(a)];
        const DiscFile& y = files_[size_t(b)];
        switch (sortColumn_) {
            case Bytes:
            case Size:
                if (x.size != y.size) return x.size < y.size;
                break;
            case Modified:
                // Files of unknown date come first, as the oldest.
                if (x.modified != y.modified) return x.modified < y.modified;
                break;
            case Attributes:
                if (const int c = x.attributes.compare(y.attributes); c != 0) return c < 0;
                break;
            default:
                break;
        }
        if (const int c = nameKeys[size_t(a)].compare(nameKeys[size_t(b)]); c != 0) return c < 0;
        return a < b;
    };
    if (sortOrder_ == Qt::AscendingOrder) {
        std::sort(shown_.begin(), shown_.end(), less);
    } else {
        std::sort(shown_.begin(), shown_.end(), [&less](int a, int b) { return less(b, a); });
    }
}

int FolderFilesModel::rowOf(const QString& path) const {
    for (size_t row = 0; row < shown_.size(); ++row) {
        if (files_[size_t(shown_[row])].path == path) return int(row);
    }
    return -1;
}

int FolderFilesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

int FolderFilesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FolderFilesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(shown_.size())) return {};
    const DiscFile& f = file(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case Name:
                return f.name;
            case Bytes:
                return plainDecimal(f.size);
            case Size:
                return leftToRight(readableSize(f.size));
            case Modified:
                return leftToRight(dateText(f.modified));
            case Attributes:
                return leftToRight(f.attributes);
            default:
                return {};
        }
    }
    if (role == Qt::ToolTipRole && index.column() == Modified && f.modified) {
        return leftToRight(gregorianUtcText(QDateTime::fromSecsSinceEpoch(*f.modified)));
    }
    if (role == Qt::TextAlignmentRole && (index.column() == Bytes || index.column() == Size)) {
        return QVariant(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    }
    return {};
}

QVariant FolderFilesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromUtf16(kHeaders[section]);
}

}  // namespace vt
