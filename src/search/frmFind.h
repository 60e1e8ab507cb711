// The search window: frmFind, which finds catalogued files and opens them from their disc.
#pragma once

#include <QWidget>

#include "window/SaveFileWindow.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace vt {

struct AppContext;
class MyButton;
class Recordset;

// The search window "پويشگر": finds catalogued files by part of their recorded path, in every disc or
// in one, lists at most 2000 matches, and opens a double-clicked match from whichever CD holds it now.
// It only reads the catalogue.
//
// Controls carry their names as object names: Label1_0 .. Label1_2, Text1, Combo1, cmdDelete (search),
// cmdCancel (close) and ListView1 (columns Address, DiskName, Size). The results' context menu holds
// actOpen, actShowInBrowser, actCopyPath and actSaveResults; the disc list's holds actBrowseDisc and
// actUpdateDisc.
class frmFind : public QWidget {
    Q_OBJECT
  public:
    // `context` and `windowRecordset` outlive this window; the recordset belongs to the window object
    // across close and reopen, and holds the rows of the last search.
    frmFind(AppContext& context, Recordset& windowRecordset, QWidget* parent = nullptr);

    // Fills the disc list from the catalogue. A catalogue that cannot be read leaves the list empty or
    // partly filled, without a message; the window stays usable.
    void Form_Load();
    // Runs the search; a failure of the catalogue is reported and leaves the window usable.
    void cmdDelete_Click();
    // Unloads the window.
    void cmdCancel_Click();
    // Offers to open the selected match from the first optical drive that holds its path.
    void ListView1_DblClick();

    // The rows of `disc` were replaced: the disc list is read again (the chosen disc kept) and results
    // listing files of that disc are searched again, so that none shows what is no longer catalogued.
    void discUpdated(const QString& disc);

    void setSaveFileChooser(SaveFileChooser chooser) { chooseSaveFile_ = std::move(chooser); }

  signals:
    // The disc browser is asked for: `disc` at its root, or at the folder of `recordedPath` with that
    // file selected when a path is given.
    void browseRequested(const QString& disc, const QString& recordedPath);
    // The user asks to bring `disc` up to date from a medium.
    void updateRequested(const QString& disc);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Search {
        QString text;
        bool allDisks = true;
        QString disc;
    };
    void runSearch(const Search& wanted);
    void buildControls();
    void listResults();
    void buildMenus();
    QTreeWidgetItem* selectedRow() const;
    void showInBrowser();
    void copyPath();
    void saveResults();
    void browseChosenDisc();
    void updateChosenDisc();

    AppContext& context_;
    Recordset& recordset_;
    QLineEdit* Text1_ = nullptr;
    QComboBox* Combo1_ = nullptr;
    MyButton* cmdDelete_ = nullptr;
    MyButton* cmdCancel_ = nullptr;
    QTreeWidget* ListView1_ = nullptr;
    QAction* actOpen_ = nullptr;
    QAction* actShowInBrowser_ = nullptr;
    QAction* actCopyPath_ = nullptr;
    QAction* actSaveResults_ = nullptr;
    QAction* actBrowseDisc_ = nullptr;
    QAction* actUpdateDisc_ = nullptr;
    Search lastSearch_;  // the search whose results are listed
    SaveFileChooser chooseSaveFile_;
};

}  // namespace vt
