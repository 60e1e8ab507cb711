// The disk-removal window: frmDelete, which deletes a catalogued disc and its file rows.
#pragma once

#include <QWidget>
#include <array>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;

namespace vt {

struct AppContext;
class MyButton;
class Recordset;

// The disk-removal window "حذف اطلاعات ديسك": choose a catalogued disc, see its stored details and delete
// it with all of its file rows.
//
// Combo1's entry k belongs to row k + 1 of the window recordset, which Form_Load and every deletion fill
// from the Disks table. Value label 4 + k shows field k of the chosen disc's row. An entry counts as
// chosen only when picked from the list: typing in the combo leaves none chosen, the value labels go back
// to "0" and the delete button does nothing. The combo's text menu also holds actBrowseDisc, which asks
// for the disc browser on the chosen disc, and actUpdateDisc, which asks to bring it up to date.
class frmDelete : public QWidget {
    Q_OBJECT
  public:
    // `context` and `windowRecordset` outlive this window; the recordset belongs to the window object
    // across close and reopen.
    frmDelete(AppContext& context, Recordset& windowRecordset, QWidget* parent = nullptr);
    void Form_Load();

    // The controls, owned by the window.
    QLabel& Label1(int index) const { return *Label1_.at(size_t(index)); }
    QComboBox& Combo1() const { return *Combo1_; }
    QGroupBox& Frame1() const { return *Frame1_; }
    MyButton& cmdDelete() const { return *cmdDelete_; }
    MyButton& cmdCancel() const { return *cmdCancel_; }
    // The entry picked from the list, -1 for none.
    int ListIndex() const { return listIndex_; }

    void LoadDiskList();
    void Combo1_Click();
    void Combo1_Change();
    void cmdDelete_Click();
    void cmdCancel_Click();
    // A disc's rows were replaced: the list is read again, the chosen disc staying chosen with its
    // details as they are now.
    void discUpdated();

  signals:
    // The disc browser is asked for, at the root of `disc` (no file path is ever given from here).
    void browseRequested(const QString& disc, const QString& recordedPath);
    // The user asks to bring `disc` up to date from a medium.
    void updateRequested(const QString& disc);

  private:
    QLabel* addLabel(QWidget* parent, int index, const QString& caption, const QRect& geometry);
    void clearDetails();
    void browseChosenDisc();
    void updateChosenDisc();

    AppContext& context_;
    Recordset& recordset_;
    std::array<QLabel*, 9> Label1_{};
    QComboBox* Combo1_ = nullptr;
    QGroupBox* Frame1_ = nullptr;
    MyButton* cmdDelete_ = nullptr;
    MyButton* cmdCancel_ = nullptr;
    QAction* actBrowseDisc_ = nullptr;
    QAction* actUpdateDisc_ = nullptr;
    int listIndex_ = -1;
    // The entry whose details the value labels show, -1 while they show "0".
    int shownIndex_ = -1;
};

}  // namespace vt
