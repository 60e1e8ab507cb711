#pragma once

#include <QWidget>
#include <vector>

#include "search/DiscBrowsing.h"
#include "search/SaveFileWindow.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeView;

namespace vt {

struct AppContext;
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
    // Shows the disc catalogued under `disc` (its root folder), when the list has it.
    void browseDisc(const QString& disc);
    // Shows the folder of the file recorded under `recordedPath` on `disc`, with the file selected.
    void showFile(const QString& disc, const QString& recordedPath);

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
    void showFacts(const DiscBrowsing::DiscFacts& facts);
    void showFolder(const QString& folderPath);
    void showCount();
    const ListedFile* selectedFile() const;
    std::vector<ListedFolder> subfoldersOf(const QString& folderPath);
    void saveFolder(const QString& folderPath, bool withSubfolders);
    void reportCatalogueFailure(const QString& detail);

    AppContext& context_;
    SaveFileChooser chooseSaveFile_;
    std::vector<DiscBrowsing::DiscFacts> discs_;
    QString disc_;  // the disc shown, empty for none
    QString shownFolder_;

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
