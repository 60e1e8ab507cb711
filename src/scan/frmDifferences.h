#pragma once

#include <QDialog>

class QLabel;
class QListWidget;

namespace vt {

struct DiscDifferences;
class MyButton;

// Shows what changed on a catalogued disc (the counts, then every file added, removed or resized) and
// asks whether to record it. Accepted means: replace the disc's rows.
class frmDifferences : public QDialog {
    Q_OBJECT
  public:
    frmDifferences(const QString& diskName, const DiscDifferences& differences, QWidget* parent = nullptr);

    QLabel* lblCounts() const { return lblCounts_; }
    QListWidget* lstFiles() const { return lstFiles_; }
    MyButton* cmdApply() const { return cmdApply_; }
    MyButton* cmdCancel() const { return cmdCancel_; }

  private:
    QLabel* lblCounts_;
    QListWidget* lstFiles_;
    MyButton* cmdApply_;
    MyButton* cmdCancel_;
};

}  // namespace vt
