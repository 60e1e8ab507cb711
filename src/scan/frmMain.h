// The new-disk window: frmMain, which catalogues the disc in a chosen optical drive.
#pragma once

#include <QElapsedTimer>
#include <QStringList>
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
class MyButton;

// The new-disk window "ديسك جديد": choose an optical drive, see its details, name the disc, catalogue it.
// While a scan runs the busy panel covers the name and the start button and shows the count, the time and
// the rate; the drive list stays usable. The panel's cancel button (or Escape) stops the scan, which then
// records nothing of the disc; closing the window meanwhile asks whether to do so, and closes once the scan
// has wound down. The context must outlive the window.
class frmMain : public QWidget, private ScanProgress {
    Q_OBJECT
  public:
    explicit frmMain(AppContext& context, QWidget* parent = nullptr);
    void Form_Load();

    // Shows volume label, file-system name and serial of the drive under `root` in value labels 5 to 7.
    void Info(const QString& root);
    // Walks the medium in the chosen drive, shows how it differs from the disc catalogued as `name` and,
    // if the user agrees, replaces that disc's rows with what the medium holds (its name kept).
    void UpdateDisc(const QString& name);
    bool scanning() const { return scanning_; }
    // During a scan: asks whether to cancel it; if so, the scan stops at its next entry (nothing of the
    // disc recorded) and scanEnded() follows. Returns the answer.
    bool askToCancelScan();

    // Controls, for the program's other parts and for tests.
    QComboBox* Combo1() const { return Combo1_; }
    QLineEdit* Text3() const { return Text3_; }
    QGroupBox* Frame1() const { return Frame1_; }
    QLabel* Label1(int index) const { return Label1_.at(size_t(index)); }
    QLabel* Label2(int index) const { return Label2_.at(size_t(index)); }
    QLabel* Label3() const { return Label3_; }
    QLabel* Label4() const { return Label4_; }
    // The line in the details frame naming the catalogued discs the medium is; empty when it is none.
    QLabel* lblRecognised() const { return lblRecognised_; }
    const QStringList& recognisedAs() const { return recognisedAs_; }
    QWidget* BusyForm() const { return BusyForm_; }
    QLabel* lblCount() const { return lblCount_; }
    QLabel* lblRate() const { return lblRate_; }
    MyButton* cmdCancel() const { return cmdCancel_; }
    MyButton* cmdStart() const { return cmdStart_; }
    QMenu* mnuSys() const { return mnuSys_; }
    QAction* mnuCopy() const { return mnuCopy_; }
    // The drive list's own menu: attach a disc image, detach the chosen one (null where images cannot
    // be attached).
    QMenu* mnuImage() const { return mnuImage_; }
    QAction* mnuAttachImage() const { return mnuAttachImage_; }
    QAction* mnuDetachImage() const { return mnuDetachImage_; }

    // Attaches the image files `paths` as drives, lists them and shows the last one attached.
    void attachImages(const QStringList& paths);
    // Lists the drives afresh and shows `root` (the first drive when it is not listed).
    void relistDrives(const QString& root);

  public slots:
    void Combo1_Click();
    void Label1_Click(int index);
    void mnuCopy_Click();
    void cmdStart_Click();
    void mnuAttachImage_Click();
    void mnuDetachImage_Click();
    void cmdCancel_Click();

  signals:
    // A scan has ended, whatever its outcome, and its messages have been answered.
    void scanEnded();
    // The rows of the disc catalogued as `name` were replaced by what a medium holds now.
    void discUpdated(const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void ListDrives();
    void Combo1_ContextMenu(const QPoint& position);
    void ShowDriveInfo(const QString& root);
    void ShowRecognition(const QString& root);
    void WatchMedium();
    void Recognised_Click();
    void enterBusy();
    void leaveBusy();
    void started() override;
    void pause(long recorded) override;
    bool cancelRequested() const override { return cancelRequested_; }
    QLabel* addLabel(QWidget* parent, const QString& caption, QRect twips, const QFont& font);

    AppContext& context_;
    QComboBox* Combo1_;
    QLabel* Label3_;
    QLineEdit* Text3_;
    QLabel* Label4_;
    QGroupBox* Frame1_;
    std::array<QLabel*, 8> Label1_{};
    QLabel* lblRecognised_;
    QStringList recognisedAs_;
    QString shownMedium_;  // the medium whose details are shown, to notice another one put in
    MyButton* cmdStart_;
    QWidget* BusyForm_;
    std::array<QLabel*, 2> Label2_{};
    QLabel* lblCount_;
    QLabel* lblRate_;
    MyButton* cmdCancel_;
    QElapsedTimer scanClock_;
    QMenu* mnuSys_;
    QAction* mnuCopy_;
    QMenu* mnuImage_ = nullptr;
    QAction* mnuAttachImage_ = nullptr;
    QAction* mnuDetachImage_ = nullptr;
    bool scanning_ = false;
    bool cancelRequested_ = false;
    bool closeAfterScan_ = false;
};

}  // namespace vt
