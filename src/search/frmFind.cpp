#include "search/frmFind.h"

#include "app/AppContext.h"
#include "app/Look.h"

namespace vt {

frmFind::frmFind(AppContext& context, Recordset& windowRecordset, QWidget* parent)
    : QWidget(parent), context_(context), recordset_(windowRecordset) {
    setWindowTitle(QStringLiteral("پويشگر"));
    setFixedSize(Look::px(9615), Look::px(4020));
    Look::applyWindowLook(*this);
}

void frmFind::Form_Load() {}

}  // namespace vt
