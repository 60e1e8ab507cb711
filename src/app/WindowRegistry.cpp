#include "app/WindowRegistry.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/frmAbout.h"
#include "platform/MessageService.h"
#include "remove/frmDelete.h"
#include "scan/UpdateTexts.h"
#include "scan/frmMain.h"
#include "scan/frmUpdateDisc.h"
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
    return showChild(main_, [this] {
        auto* form = new frmMain(context_);
        QObject::connect(form, &frmMain::discUpdated, form,
                         [this](const QString& disc) { discUpdated(disc); });
        return form;
    });
}

frmFind& WindowRegistry::showFind() {
    return showChild(find_, [this] {
        auto* form = new frmFind(context_, findRecordset_);
        QObject::connect(form, &frmFind::browseRequested, form,
                         [this](const QString& disc, const QString& path) { browse(disc, path); });
        QObject::connect(form, &frmFind::updateRequested, form,
                         [this](const QString& disc) { updateDisc(disc); });
        return form;
    });
}

frmDelete& WindowRegistry::showDelete() {
    return showChild(delete_, [this] {
        auto* form = new frmDelete(context_, deleteRecordset_);
        QObject::connect(form, &frmDelete::browseRequested, form,
                         [this](const QString& disc, const QString& path) { browse(disc, path); });
        QObject::connect(form, &frmDelete::updateRequested, form,
                         [this](const QString& disc) { updateDisc(disc); });
        return form;
    });
}

frmBrowse& WindowRegistry::showBrowse() {
    const bool opening = !browse_;
    frmBrowse& form = showChild(
        browse_, [this] { return new frmBrowse(context_); }, false);
    if (opening) fitWithinArea(form);
    return form;
}

void WindowRegistry::fitWithinArea(QWidget& form) {
    // A window wider than the frame shows only its left part, and in a right-to-left window that is its
    // end: the browser would open with its disc list and names cut off.
    auto* sub = qobject_cast<QMdiSubWindow*>(form.parentWidget());
    const QSize room = area_.viewport()->size();
    if (!sub || (sub->width() <= room.width() && sub->height() <= room.height())) return;
    sub->resize(sub->size().boundedTo(room));
    sub->move(0, 0);
}

void WindowRegistry::browse(const QString& disc, const QString& recordedPath) {
    frmBrowse& form = showBrowse();
    if (recordedPath.isEmpty()) {
        form.browseDisc(disc);
    } else {
        form.showFile(disc, recordedPath);
    }
}

bool WindowRegistry::updateDisc(const QString& disc) {
    QWidget* frame = area_.window();
    // A scan, or the new-disk window's own update, writes through the scan's connection while the event loop
    // runs; another writer there would join its transaction.
    if ((main_ && main_->scanning()) || context_.cnScan.inTransaction() ||
        context_.cnCatalog.inTransaction()) {
        context_.platform.messages.information(frame, UpdateTexts::catalogueBusy());
        return false;
    }
    frmUpdateDisc window(context_, disc, frame);
    const bool updated = window.exec() == QDialog::Accepted;
    // Images attached in the update window are drives the new-disk window lists too.
    if (main_) main_->relistDrives(main_->Combo1()->currentText());
    if (updated) discUpdated(disc);
    return updated;
}

void WindowRegistry::discUpdated(const QString& disc) {
    if (find_) find_->discUpdated(disc);
    if (delete_) delete_->discUpdated();
    if (browse_) browse_->discUpdated(disc);
    if (main_ && !main_->scanning()) main_->Combo1_Click();  // whether the medium shown is the disc
}

frmAbout& WindowRegistry::showAbout(QWidget* owner) {
    if (!about_) {
        about_ = new frmAbout(context_, owner);
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
