#include "scan/frmMain.h"

#include "app/AppContext.h"
#include "app/Look.h"

namespace vt {

frmMain::frmMain(AppContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setWindowTitle(QStringLiteral("ديسك جديد"));
    setFixedSize(Look::px(4770), Look::px(3720));
    Look::applyWindowLook(*this);
}

void frmMain::Form_Load() {}

}  // namespace vt
