#include "remove/frmDelete.h"

#include "app/AppContext.h"
#include "app/Look.h"

namespace vt {

frmDelete::frmDelete(AppContext& context, Recordset& windowRecordset, QWidget* parent)
    : QWidget(parent), context_(context), recordset_(windowRecordset) {
    setWindowTitle(QStringLiteral("حذف اطلاعات ديسك"));
    setFixedSize(Look::px(3780), Look::px(3450));
    Look::applyWindowLook(*this);
}

void frmDelete::Form_Load() {}

}  // namespace vt
