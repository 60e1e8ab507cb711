#include "app/frmSetting.h"

#include "window/Look.h"

namespace vt {

frmSetting::frmSetting(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("تنظيمات"));
    Look::applyWindowLook(*this);
}

}  // namespace vt
