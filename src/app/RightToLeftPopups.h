#pragma once

#include <QObject>

namespace vt {

// Makes the drop-down lists of right-to-left combo boxes open right to left, for as long as it lives: a list
// wider than its box (long disc names) lines up with the box's right edge. Qt shows a combo box's list as a
// window of its own and grows it rightwards from the box's left edge whatever the box's direction.
class RightToLeftPopups : public QObject {
  public:
    RightToLeftPopups();
    ~RightToLeftPopups() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vt
