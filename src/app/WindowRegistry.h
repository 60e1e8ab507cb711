#pragma once

#include <QPointer>

#include "catalog/Recordset.h"

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace vt {

struct AppContext;
class frmAbout;
class frmBrowse;
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
    // The disc browser, reached from the disc and result lists of the search and removal windows.
    frmBrowse& showBrowse();
    // Shows the about window modal over `owner`; returns at once, the window blocks the rest meanwhile.
    frmAbout& showAbout(QWidget* owner);
    // Asks, in a window of its own over the main frame, which medium to bring the catalogued `disc` up to
    // date from and does so; refused with a message while a disc is being catalogued or updated. Returns
    // once the window is closed: true when the disc's rows were replaced, the windows showing it then
    // showing it afresh.
    bool updateDisc(const QString& disc);

    // The loaded windows, or null.
    frmMain* mainWindow() const;
    frmFind* findWindow() const;
    frmDelete* deleteWindow() const;
    frmBrowse* browseWindow() const;
    frmAbout* aboutWindow() const;

  private:
    // `storedButtons`: the window's buttons have a stored look to load (every window with buttons has).
    template <class Form, class Make>
    Form& showChild(QPointer<Form>& slot, Make make, bool storedButtons = true);
    void bringToFront(QWidget& form);
    // Makes a resizable window that opens larger than the frame fit inside it.
    void fitWithinArea(QWidget& form);
    // Opens the browser on `disc`, at the folder of `recordedPath` when one is given.
    void browse(const QString& disc, const QString& recordedPath);
    // Shows the disc catalogued as `disc` afresh wherever a loaded window shows it.
    void discUpdated(const QString& disc);

    AppContext& context_;
    QMdiArea& area_;
    QPointer<frmMain> main_;
    QPointer<frmFind> find_;
    QPointer<frmDelete> delete_;
    QPointer<frmBrowse> browse_;
    QPointer<frmAbout> about_;
    Recordset findRecordset_;
    Recordset deleteRecordset_;
};

}  // namespace vt
