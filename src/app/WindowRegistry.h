#pragma once

#include <QPointer>

#include "catalog/Recordset.h"

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace vt {

struct AppContext;
class frmAbout;
class frmDelete;
class frmFind;
class frmMain;

// The program's windows: each exists at most once, is made and loaded on first use, and shows inside
// the main frame (the about window modally, on its own). Showing an open window brings it to the front;
// closing one unloads it, and the next show loads it afresh with its controls at their design values.
// The search and removal windows keep their window recordset here, so it outlives their closing.
class WindowRegistry {
public:
    WindowRegistry(AppContext& context, QMdiArea& area);
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    frmMain& showMain();
    frmFind& showFind();
    frmDelete& showDelete();
    // Shows the about window modal over `owner`; returns at once, the window blocks the rest meanwhile.
    frmAbout& showAbout(QWidget* owner);

    // The loaded windows, or null.
    frmMain* mainWindow() const;
    frmFind* findWindow() const;
    frmDelete* deleteWindow() const;
    frmAbout* aboutWindow() const;

private:
    template <class Form, class Make>
    Form& showChild(QPointer<Form>& slot, Make make);
    void bringToFront(QWidget& form);

    AppContext& context_;
    QMdiArea& area_;
    QPointer<frmMain> main_;
    QPointer<frmFind> find_;
    QPointer<frmDelete> delete_;
    QPointer<frmAbout> about_;
    Recordset findRecordset_;
    Recordset deleteRecordset_;
};

}  // namespace vt
