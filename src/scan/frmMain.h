#pragma once

#include <QWidget>

namespace vt {

struct AppContext;

// The new-disk window "ديسك جديد": choose an optical drive, name the disc, catalogue it.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(AppContext& context, QWidget* parent = nullptr);
    void Form_Load();

private:
    AppContext& context_;
};

}  // namespace vt
