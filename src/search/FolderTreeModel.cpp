#include "search/FolderTreeModel.h"

#include "search/LeftToRight.h"

namespace vt {

struct FolderTreeModel::Node {
    QString name;
    QString path;
    Node* parent = nullptr;
    int row = 0;
    bool fetched = false;
    std::vector<std::unique_ptr<Node>> children;
};

FolderTreeModel::FolderTreeModel(SubfolderLister lister, QObject* parent)
    : QAbstractItemModel(parent), lister_(std::move(lister)) {}

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::setRoot(const QString& rootName, const QString& rootPath) {
    beginResetModel();
    root_.reset();
    if (!rootPath.isEmpty()) {
        root_ = std::make_unique<Node>();
        root_->name = rootName;
        root_->path = rootPath;
    }
    endResetModel();
}

void FolderTreeModel::clear() {
    setRoot(QString(), QString());
}

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

QModelIndex FolderTreeModel::indexOf(Node* node) const {
    return node ? createIndex(node->row, 0, node) : QModelIndex();
}

QString FolderTreeModel::folderPath(const QModelIndex& index) const {
    const Node* node = nodeOf(index);
    return node ? node->path : QString();
}

QModelIndex FolderTreeModel::locate(const QString& folderPath) {
    Node* node = root_.get();
    // Paths end with a backslash, so a folder holds exactly the paths that begin with its own.
    if (!node || !folderPath.startsWith(node->path)) return {};
    while (node->path != folderPath) {
        if (!node->fetched) fetchMore(indexOf(node));
        Node* next = nullptr;
        for (const auto& child : node->children) {
            if (folderPath.startsWith(child->path)) {
                next = child.get();
                break;
            }
        }
        if (!next) return {};
        node = next;
    }
    return indexOf(node);
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    if (!parent.isValid()) return row == 0 && root_ ? indexOf(root_.get()) : QModelIndex();
    const Node* node = nodeOf(parent);
    if (row >= int(node->children.size())) return {};
    return createIndex(row, 0, node->children[size_t(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    const Node* node = nodeOf(child);
    return node ? indexOf(node->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return root_ ? 1 : 0;
    if (parent.column() != 0) return 0;
    return int(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    const Node* node = nodeOf(index);
    if (!node) return {};
    if (role == Qt::DisplayRole) return node->name;
    if (role == Qt::ToolTipRole) return leftToRight(node->path);
    return {};
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) return root_ != nullptr;
    const Node* node = nodeOf(parent);
    // Until a folder is opened, whether it has subfolders is not known; it is offered as if it had.
    return !node->fetched || !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    const Node* node = nodeOf(parent);
    return node && !node->fetched;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    Node* node = nodeOf(parent);
    if (!node || node->fetched) return;
    node->fetched = true;
    const std::vector<QString> names = lister_(node->path);
    if (names.empty()) {
        // The expander goes: the folder turned out to have none.
        emit dataChanged(parent, parent);
        return;
    }
    beginInsertRows(parent, 0, int(names.size()) - 1);
    node->children.reserve(names.size());
    for (const QString& name : names) {
        auto child = std::make_unique<Node>();
        child->name = name;
        child->path = node->path + name + QLatin1Char('\\');
        child->parent = node;
        child->row = int(node->children.size());
        node->children.push_back(std::move(child));
    }
    endInsertRows();
}

}  // namespace vt
