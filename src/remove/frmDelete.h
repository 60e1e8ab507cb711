#pragma once

#include <QWidget>

namespace vt {

struct AppContext;
class Recordset;

// The disk-removal window "حذف اطلاعات ديسك": choose a catalogued disc and delete it with its files.
class frmDelete : public QWidget {
    Q_OBJECT
public:
    // `windowRecordset` outlives this window: it belongs to the window object across close and reopen.
    frmDelete(AppContext& context, Recordset& windowRecordset, QWidget* parent = nullptr);
    void Form_Load();

private:
    AppContext& context_;
    Recordset& recordset_;
};

}  // namespace vt
