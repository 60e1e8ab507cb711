// The about window: frmAbout.
#pragma once

#include <QDialog>

namespace vt {

class MyButton;

// The about window: three pictures and a close button.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);

    MyButton* cmdDelete() const { return cmdDelete_; }

  private slots:
    void cmdDelete_Click();

  private:
    MyButton* cmdDelete_;
};

}  // namespace vt
