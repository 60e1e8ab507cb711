// The settings window: frmSetting.
#pragma once

#include <QWidget>

namespace vt {

// The settings window "تنظيمات": it has no controls yet and nothing shows it.
class frmSetting : public QWidget {
    Q_OBJECT
  public:
    explicit frmSetting(QWidget* parent = nullptr);
};

}  // namespace vt
