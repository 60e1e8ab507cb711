#pragma once

#include <QWidget>

namespace vt {

struct AppContext;
class Recordset;

// The search window "پويشگر": finds catalogued files by part of their path.
class frmFind : public QWidget {
    Q_OBJECT
public:
    // `windowRecordset` outlives this window: it belongs to the window object across close and reopen.
    frmFind(AppContext& context, Recordset& windowRecordset, QWidget* parent = nullptr);
    void Form_Load();

private:
    AppContext& context_;
    Recordset& recordset_;
};

}  // namespace vt
