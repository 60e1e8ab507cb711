#pragma once

#include <QAbstractItemModel>
#include <functional>
#include <memory>
#include <vector>

namespace vt {

// A folder of a catalogued disc as the browser's tree knows it.
struct ListedFolder {
    QString name;
    // The folder's full path as recorded (drive root included, no closing backslash except the root's);
    // a subfolder's path is its parent's followed by a backslash and its name.
    QString path;
};

// The folder tree of one disc, loaded a level at a time: a folder's subfolders are asked for when the
// view first expands it, so opening a disc of a million files reads one level, not the whole disc.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The subfolders of the folder recorded under the given path, in the order they are to be shown.
    using SubfolderLister = std::function<std::vector<ListedFolder>(const QString& folderPath)>;

    explicit FolderTreeModel(SubfolderLister lister, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // Shows a new tree with `root` as its one top item (nothing when `root` has no path).
    void setRoot(const ListedFolder& root);
    void clear();
    // The path of the folder at `index`.
    QString folderPath(const QModelIndex& index) const;
    // The index of the folder recorded under `folderPath`, loading the levels on the way to it; invalid
    // when the tree holds no such folder.
    QModelIndex locate(const QString& folderPath);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Node;
    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(Node* node) const;

    SubfolderLister lister_;
    std::unique_ptr<Node> root_;
};

}  // namespace vt
