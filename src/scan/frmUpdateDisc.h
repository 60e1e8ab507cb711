// The update window: frmUpdateDisc, which brings a catalogued disc up to date from a medium the user picks.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <array>

#include "scan/ScanProgress.h"

class QComboBox;
class QLabel;
class QMenu;

namespace vt {

struct AppContext;
class MyButton;

// Brings the disc catalogued under a name up to date from the medium in a drive the user chooses, whether
// or not that medium is recognised as the disc (a disc burnt again, an image copied, a serial changed).
// The drive list holds the drives with a medium, attached images among them; its menu and a drop attach
// more. Start warns first when the medium is recognised as another catalogued disc, then walks it under a
// busy panel whose cancel button (or Escape) stops the walk, shows the differences and records them if the
// user accepts. The window closes after the walk: accepted when the disc's rows were replaced, rejected
// otherwise (nothing then changed). The context must outlive the window.
class frmUpdateDisc : public QDialog, private ScanProgress {
    Q_OBJECT
  public:
    frmUpdateDisc(AppContext& context, const QString& diskName, QWidget* parent = nullptr);

    const QString& diskName() const { return diskName_; }
    bool walking() const { return walking_; }

    QComboBox* Combo1() const { return Combo1_; }
    // Value labels: label, used size, serial of the chosen medium.
    QLabel* lblValue(int index) const { return lblValue_.at(size_t(index)); }
    // The catalogued discs the chosen medium is, as the new-disk window names them; empty for none.
    QLabel* lblRecognised() const { return lblRecognised_; }
    MyButton* cmdStart() const { return cmdStart_; }
    MyButton* cmdClose() const { return cmdClose_; }
    QWidget* BusyForm() const { return BusyForm_; }
    QLabel* lblCount() const { return lblCount_; }
    MyButton* cmdCancel() const { return cmdCancel_; }

    // Attaches the image files `paths` as drives and chooses the last one attached.
    void attachImages(const QStringList& paths);

  public slots:
    void cmdStart_Click();
    void cmdCancel_Click();
    // Escape and the close button stop a walk rather than the window.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void listDrives(const QString& root);
    void showMedium();
    QStringList recognisedAs(const QString& root) const;
    QLabel* addLabel(QWidget* parent, const QString& caption, QRect twips);
    void started() override;
    void pause(long recorded) override;
    bool cancelRequested() const override { return cancelRequested_; }

    AppContext& context_;
    QString diskName_;
    QComboBox* Combo1_;
    std::array<QLabel*, 3> lblValue_{};
    QLabel* lblRecognised_;
    MyButton* cmdStart_;
    MyButton* cmdClose_;
    QWidget* BusyForm_;
    QLabel* lblCount_;
    QLabel* lblRate_;
    MyButton* cmdCancel_;
    QMenu* mnuImage_ = nullptr;
    QElapsedTimer walkClock_;
    bool walking_ = false;
    bool cancelRequested_ = false;
};

}  // namespace vt
