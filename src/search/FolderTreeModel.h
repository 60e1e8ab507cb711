#pragma once

#include <QAbstractItemModel>
#include <functional>
#include <memory>
#include <vector>

namespace vt {

// The folder tree of one disc, loaded a level at a time: a folder's subfolders are asked for when the
// view first expands it, so opening a disc of a million files reads one level, not the whole disc.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    // The names of the subfolders of the folder at the given path, in the order they are to be shown. A
    // folder's path is the recorded path its files begin with, ending with a backslash ("D:\dir\"); a
    // subfolder's is its parent's followed by its name and a backslash. Must not throw.
    using SubfolderLister = std::function<std::vector<QString>(const QString& folderPath)>;

    explicit FolderTreeModel(SubfolderLister lister, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // Shows a new tree whose one top item is the folder at `rootPath`, shown as `rootName` (no tree when
    // the path is empty).
    void setRoot(const QString& rootName, const QString& rootPath);
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
