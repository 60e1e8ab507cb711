#include "app/WindowRegistry.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/frmAbout.h"
#include "remove/frmDelete.h"
#include "scan/frmMain.h"
#include "search/frmBrowse.h"
#include "search/frmFind.h"
#include "window/AppContext.h"
#include "window/ButtonForms.h"

namespace vt {

WindowRegistry::WindowRegistry(AppContext& context, QMdiArea& area) : context_(context), area_(area) {}

WindowRegistry::~WindowRegistry() {
    // The windows go before the recordsets they borrow.
    delete main_;
    delete find_;
    delete delete_;
    delete browse_;
    delete about_;
}

template <class Form, class Make>
Form& WindowRegistry::showChild(QPointer<Form>& slot, Make make, bool storedButtons) {
    if (!slot) {
        Form* form = make();
        if (storedButtons) button::loadStoredButtons(*form, context_.platform.systemColors);
        form->setAttribute(Qt::WA_DeleteOnClose);
        QMdiSubWindow* sub = area_.addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        slot = form;
        form->Form_Load();
        sub->adjustSize();
        sub->show();
    }
    bringToFront(*slot);
    return *slot;
}

void WindowRegistry::bringToFront(QWidget& form) {
    auto* sub = qobject_cast<QMdiSubWindow*>(form.parentWidget());
    if (!sub) return;
    if (sub->isMinimized()) sub->showNormal();
    area_.setActiveSubWindow(sub);
    sub->raise();
}

frmMain* WindowRegistry::mainWindow() const {
    return main_;
}
frmFind* WindowRegistry::findWindow() const {
    return find_;
}
frmDelete* WindowRegistry::deleteWindow() const {
    return delete_;
}
frmBrowse* WindowRegistry::browseWindow() const {
    return browse_;
}
frmAbout* WindowRegistry::aboutWindow() const {
    return about_;
}

frmMain& WindowRegistry::showMain() {
    return showChild(main_, [this] { return new frmMain(context_); });
}

frmFind& WindowRegistry::showFind() {
    return showChild(find_, [this] {
        auto* form = new frmFind(context_, findRecordset_);
        QObject::connect(form, &frmFind::browseRequested, form,
                         [this](const QString& disc, const QString& path) { browse(disc, path); });
        return form;
    });
}

frmDelete& WindowRegistry::showDelete() {
    return showChild(delete_, [this] {
        auto* form = new frmDelete(context_, deleteRecordset_);
        QObject::connect(form, &frmDelete::browseRequested, form,
                         [this](const QString& disc, const QString& path) { browse(disc, path); });
        return form;
    });
}

frmBrowse& WindowRegistry::showBrowse() {
    return showChild(
        browse_, [this] { return new frmBrowse(context_); }, false);
}

void WindowRegistry::browse(const QString& disc, const QString& recordedPath) {
    frmBrowse& form = showBrowse();
    if (recordedPath.isEmpty()) {
        form.browseDisc(disc);
    } else {
        form.showFile(disc, recordedPath);
    }
}

frmAbout& WindowRegistry::showAbout(QWidget* owner) {
    if (!about_) {
        about_ = new frmAbout(owner);
        button::loadStoredButtons(*about_, context_.platform.systemColors);
        about_->setAttribute(Qt::WA_DeleteOnClose);
        about_->setWindowModality(Qt::ApplicationModal);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
    return *about_;
}

}  // namespace vt
