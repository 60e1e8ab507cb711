// The new-disk window: frmMain, which catalogues the disc in a chosen optical drive.
#pragma once

#include <QWidget>
#include <array>

#include "scan/ScanProgress.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;

namespace vt {

struct AppContext;
class Connection;
class MyButton;

// The new-disk window "ديسك جديد": choose an optical drive, see its details, name the disc, catalogue it.
// While a scan runs the busy panel covers the name and the start button, the drive list stays usable, and
// the window refuses to close (so no scan is ever cut off half-way). The context must outlive the window.
class frmMain : public QWidget, private ScanProgress {
    Q_OBJECT
  public:
    explicit frmMain(AppContext& context, QWidget* parent = nullptr);
    void Form_Load();

    // Shows volume label, file-system name and serial of the drive under `root` in value labels 5 to 7.
    void Info(const QString& root);
    bool scanning() const { return scanning_; }

    // Controls, for the program's other parts and for tests.
    QComboBox* Combo1() const { return Combo1_; }
    QLineEdit* Text3() const { return Text3_; }
    QGroupBox* Frame1() const { return Frame1_; }
    QLabel* Label1(int index) const { return Label1_.at(size_t(index)); }
    QLabel* Label2(int index) const { return Label2_.at(size_t(index)); }
    QLabel* Label3() const { return Label3_; }
    QLabel* Label4() const { return Label4_; }
    QWidget* BusyForm() const { return BusyForm_; }
    QLabel* lblCount() const { return lblCount_; }
    MyButton* cmdStart() const { return cmdStart_; }
    QMenu* mnuSys() const { return mnuSys_; }
    QAction* mnuCopy() const { return mnuCopy_; }

  public slots:
    void Combo1_Click();
    void Label1_Click(int index);
    void mnuCopy_Click();
    void cmdStart_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void ListDrives();
    void ShowDriveInfo(const QString& root);
    void started() override;
    void pause(long recorded) override;
    Connection& scanConnection();
    QLabel* addLabel(QWidget* parent, const QString& caption, QRect twips, const QFont& font);

    AppContext& context_;
    QComboBox* Combo1_;
    QLabel* Label3_;
    QLineEdit* Text3_;
    QLabel* Label4_;
    QGroupBox* Frame1_;
    std::array<QLabel*, 8> Label1_{};
    MyButton* cmdStart_;
    QWidget* BusyForm_;
    std::array<QLabel*, 2> Label2_{};
    QLabel* lblCount_;
    QMenu* mnuSys_;
    QAction* mnuCopy_;
    bool scanning_ = false;
};

}  // namespace vt
