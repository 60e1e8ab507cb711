#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "catalog/DiscTree.h"
#include "window/SaveFileWindow.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeView;

namespace vt {

struct AppContext;
class CatalogError;
class FolderFilesModel;
class FolderTreeModel;

// The disc browser "مرورگر ديسك": walks a catalogued disc's folders as recorded, without the disc. A disc
// is chosen from the catalogued ones; its facts are shown, its folder tree is read a level at a time as
// folders are opened, and the chosen folder's files are listed with size, date and attributes, sortable
// and filtered by what is typed. A double-clicked file opens as a search result does. It only reads the
// catalogue.
//
// Controls carry their names as object names: Combo1 (discs), Tree1 (folders), Text1 (filter), List1
// (files), lblCount, and the facts' value labels lblName, lblLabel, lblFileSystem, lblSerial, lblSize,
// lblFiles, lblCatalogued. Menu actions: actOpen, actCopyPath, actSaveFolder (files list) and
// actSaveTree (folder tree).
class frmBrowse : public QWidget {
    Q_OBJECT
  public:
    explicit frmBrowse(AppContext& context, QWidget* parent = nullptr);
    ~frmBrowse() override;

    // Fills the disc list from the catalogue; a catalogue that cannot be read is reported.
    void Form_Load();
    // Shows the disc catalogued under `disc` (its root folder); the disc list is read again first when it
    // does not hold the disc yet.
    void browseDisc(const QString& disc);
    // Shows the folder of the file recorded under `recordedPath` on `disc`, with the file selected.
    // Folders are named by the recorded path their files begin with, ending with a backslash ("D:\dir\").
    void showFile(const QString& disc, const QString& recordedPath);
    // The rows of `disc` were replaced: shows it afresh, at its root, when it is the disc shown.
    void discUpdated(const QString& disc);

    QSize sizeHint() const override { return {880, 560}; }

    void setSaveFileChooser(SaveFileChooser chooser) { chooseSaveFile_ = std::move(chooser); }

    // The folder whose files are listed, and the listed files.
    QString shownFolder() const { return shownFolder_; }
    FolderFilesModel& files() const { return *filesModel_; }
    FolderTreeModel& folders() const { return *treeModel_; }

    // The actions of the two context menus, which act on the selected file and on the current folder.
    void openSelectedFile();
    void copySelectedPath();
    void saveShownFolder();
    void saveTreeFolder();

  private:
    void buildControls();
    void Combo1_Click(int index);
    void showFacts(const DiscFacts& facts);
    DiscFolder& listing(const QString& folderPath);
    void showFolder(const QString& folderPath);
    void showCount();
    const DiscFile* selectedFile() const;
    std::vector<QString> subfoldersOf(const QString& folderPath);
    void saveFolder(const QString& folderPath, bool withSubfolders);
    void reportCatalogueFailure(const CatalogError& error);

    AppContext& context_;
    SaveFileChooser chooseSaveFile_;
    std::unique_ptr<DiscTree> disc_;  // the disc shown, none at first
    QString shownFolder_;
    // The last folder read, kept for the other of the two that ask for it: opening a folder in the tree
    // wants its subfolders, listing it its files; one read serves both.
    QString listingPath_;
    DiscFolder listing_;
    bool listingRead_ = false;
    bool listingFilesTaken_ = false;

    QComboBox* Combo1_ = nullptr;
    QTreeView* Tree1_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QTreeView* List1_ = nullptr;
    QLabel* lblCount_ = nullptr;
    QLabel* lblName_ = nullptr;
    QLabel* lblLabel_ = nullptr;
    QLabel* lblFileSystem_ = nullptr;
    QLabel* lblSerial_ = nullptr;
    QLabel* lblSize_ = nullptr;
    QLabel* lblFiles_ = nullptr;
    QLabel* lblCatalogued_ = nullptr;
    QAction* actOpen_ = nullptr;
    QAction* actCopyPath_ = nullptr;
    QAction* actSaveFolder_ = nullptr;
    QAction* actSaveTree_ = nullptr;
    FolderTreeModel* treeModel_ = nullptr;
    FolderFilesModel* filesModel_ = nullptr;
};

}  // namespace vt
