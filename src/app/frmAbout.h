// The about window: frmAbout.
#pragma once

#include <QDialog>

class QLabel;

namespace vt {

struct AppContext;
class MyButton;

// The about window: three pictures, which catalogue the program works on and where that is set, and a
// close button.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(const AppContext& context, QWidget* parent = nullptr);

    MyButton* cmdDelete() const { return cmdDelete_; }
    QLabel* lblCatalogue() const { return lblCatalogue_; }

  private slots:
    void cmdDelete_Click();

  private:
    QLabel* lblCatalogue_;
    MyButton* cmdDelete_;
};

}  // namespace vt
