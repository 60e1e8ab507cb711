#include "scan/frmUpdateDisc.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <algorithm>

#include "button/MyButton.h"
#include "catalog/CatalogError.h"
#include "platform/DriveTable.h"
#include "platform/MessageService.h"
#include "scan/DiscRecognition.h"
#include "scan/DriveDetails.h"
#include "scan/ImageTexts.h"
#include "scan/ScanPace.h"
#include "scan/ScanTexts.h"
#include "scan/UpdateTexts.h"
#include "search/LeftToRight.h"
#include "window/AppContext.h"
#include "window/DiscUpdateFlow.h"
#include "window/ImageAttaching.h"
#include "window/Look.h"

namespace vt {

namespace {

// The tops of the detail rows (label, used size, serial), in twips.
constexpr int kDetailTops[] = {600, 900, 1200};

}  // namespace

frmUpdateDisc::frmUpdateDisc(AppContext& context, const QString& diskName, QWidget* parent)
    : QDialog(parent), context_(context), diskName_(diskName) {
    setWindowTitle(UpdateTexts::windowCaption(diskName));
    setFixedSize(Look::px(4770), Look::px(2520));
    Look::applyWindowLook(*this);
    setLayoutDirection(Qt::RightToLeft);

    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->setGeometry(Look::twipsRect(120, 120, 3255, 330));
    Combo1_->setLayoutDirection(Qt::LeftToRight);  // drive roots read left to right
    connect(Combo1_, qOverload<int>(&QComboBox::currentIndexChanged), this, &frmUpdateDisc::showMedium);
    addLabel(this, ScanTexts::label3(), Look::twipsRect(3480, 120, 1215, 255));

    const std::array<QString, 3> captions = {ScanTexts::labelVolume(), ScanTexts::labelSize(),
                                             ScanTexts::labelSerial()};
    for (size_t i = 0; i < lblValue_.size(); ++i) {
        addLabel(this, captions[i], Look::twipsRect(3480, kDetailTops[i], 1215, 255));
        lblValue_[i] = addLabel(this, QString(), Look::twipsRect(120, kDetailTops[i], 3255, 255));
        lblValue_[i]->setObjectName(QStringLiteral("lblValue_%1").arg(i));
    }
    lblRecognised_ = addLabel(this, QString(), Look::twipsRect(120, 1500, 4575, 255));
    lblRecognised_->setObjectName(QStringLiteral("lblRecognised"));
    QPalette recognisedPalette = lblRecognised_->palette();
    recognisedPalette.setColor(QPalette::WindowText, QColor(0, 0, 160));
    lblRecognised_->setPalette(recognisedPalette);

    cmdStart_ = new MyButton(this);
    cmdStart_->setObjectName(QStringLiteral("cmdStart"));
    cmdStart_->setCaption(ScanTexts::cmdStart());
    cmdStart_->setGeometry(Look::twipsRect(2460, 1920, 2235, 375));
    connect(cmdStart_, &MyButton::Click, this, &frmUpdateDisc::cmdStart_Click);
    cmdClose_ = new MyButton(this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));
    cmdClose_->setCaption(UpdateTexts::cmdClose());
    cmdClose_->setGeometry(Look::twipsRect(120, 1920, 2235, 375));
    connect(cmdClose_, &MyButton::Click, this, &frmUpdateDisc::reject);

    // Covers all but the drive list while the medium is walked, as the new-disk window's panel does.
    BusyForm_ = new QWidget(this);
    BusyForm_->setObjectName(QStringLiteral("BusyForm"));
    BusyForm_->setGeometry(Look::twipsRect(120, 540, 4575, 1860));
    BusyForm_->setAutoFillBackground(true);
    QPalette busyPalette = BusyForm_->palette();
    busyPalette.setColor(QPalette::Window, Look::frameColor());
    BusyForm_->setPalette(busyPalette);
    QLabel* working = addLabel(BusyForm_, ScanTexts::busyWorking(), Look::twipsRect(240, 60, 4095, 375));
    working->setAlignment(Qt::AlignCenter);
    lblRate_ = addLabel(BusyForm_, QString(), Look::twipsRect(240, 420, 4095, 375));
    lblRate_->setObjectName(QStringLiteral("lblRate"));
    lblRate_->setAlignment(Qt::AlignCenter);
    lblCount_ = addLabel(BusyForm_, QStringLiteral("0"), Look::twipsRect(1380, 780, 1815, 495));
    lblCount_->setObjectName(QStringLiteral("lblCount"));
    lblCount_->setFont(Look::font(14.25));
    lblCount_->setAlignment(Qt::AlignCenter);
    cmdCancel_ = new MyButton(BusyForm_);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setCaption(ScanTexts::cmdCancel());
    cmdCancel_->setGeometry(Look::twipsRect(1380, 1380, 1815, 375));
    connect(cmdCancel_, &MyButton::Click, this, &frmUpdateDisc::cmdCancel_Click);
    BusyForm_->hide();

    if (context_.platform.images) {
        mnuImage_ = new QMenu(this);
        mnuImage_->setObjectName(QStringLiteral("mnuImage"));
        QAction* attach = mnuImage_->addAction(ImageTexts::attachMenu());
        attach->setObjectName(QStringLiteral("mnuAttachImage"));
        connect(attach, &QAction::triggered, this, [this] {
            attachImages(QFileDialog::getOpenFileNames(this, ImageTexts::fileDialogCaption(), QString(),
                                                       ImageTexts::fileDialogFilter()));
        });
        Combo1_->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(Combo1_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
            if (!walking_) mnuImage_->popup(Combo1_->mapToGlobal(at));
        });
        setAcceptDrops(true);
    }
    listDrives(QString());
}

QLabel* frmUpdateDisc::addLabel(QWidget* parent, const QString& caption, QRect twips) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(twips);
    label->setFont(Look::labelFont());
    // Disc names and labels are shown as stored, never read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

void frmUpdateDisc::listDrives(const QString& root) {
    const DriveTable& drives = context_.platform.drives;
    const QSignalBlocker quiet(Combo1_);
    Combo1_->clear();
    for (const QString& each : opticalDriveRoots(drives)) {
        // Only a drive with something in it can bring the disc up to date.
        if (drives.mediumIdentity(each).isEmpty() ||
            readDriveDetails(drives, each).usedSize == formatUsedSize(0)) {
            continue;
        }
        Combo1_->addItem(each);
        Combo1_->setItemData(Combo1_->count() - 1, leftToRight(drives.mountPoint(each)), Qt::ToolTipRole);
    }
    Combo1_->setCurrentIndex(std::max(0, Combo1_->findText(root)));
    showMedium();
}

void frmUpdateDisc::showMedium() {
    const QString root = Combo1_->currentText();
    Combo1_->setToolTip(Combo1_->currentData(Qt::ToolTipRole).toString());
    if (root.isEmpty()) {
        for (QLabel* value : lblValue_) value->clear();
        lblRecognised_->setText(ScanTexts::noDisc());
        cmdStart_->setEnabled(false);
        return;
    }
    const DriveDetails details = readDriveDetails(context_.platform.drives, root);
    lblValue_[0]->setText(details.label);
    lblValue_[1]->setText(details.usedSize);
    lblValue_[2]->setText(details.serial);
    const QStringList names = recognisedAs(root);
    lblRecognised_->setText(names.isEmpty() ? QString() : ScanTexts::recognisedAs(names));
    cmdStart_->setEnabled(true);
}

QStringList frmUpdateDisc::recognisedAs(const QString& root) const {
    Connection& catalogue = context_.cnCatalog;
    try {
        if (catalogue.State() != 0)
            return recogniseDisc(catalogue, readDriveDetails(context_.platform.drives, root));
    } catch (const CatalogError&) {
        // Recognising is a courtesy: a catalogue that cannot answer now names no disc, and warns of none.
    }
    return {};
}

void frmUpdateDisc::attachImages(const QStringList& paths) {
    const QString root = attachImageFiles(context_.platform, this, paths);
    if (!root.isEmpty()) listDrives(root);
}

void frmUpdateDisc::dragEnterEvent(QDragEnterEvent* event) {
    if (!walking_ && !droppedLocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void frmUpdateDisc::dropEvent(QDropEvent* event) {
    const QStringList paths = droppedLocalFiles(event->mimeData());
    event->acceptProposedAction();
    // Attached once the drop is over: a refused image is told in a box, which must not hold the drag.
    QTimer::singleShot(0, this, [this, paths] { attachImages(paths); });
}

void frmUpdateDisc::cmdStart_Click() {
    if (walking_) return;
    const QString root = Combo1_->currentText();
    MessageService& messages = context_.platform.messages;
    if (root.isEmpty()) {
        messages.information(this, ScanTexts::noDisc());
        return;
    }
    const QStringList names = recognisedAs(root);
    const bool thisDisc = names.contains(diskName_, Qt::CaseInsensitive);
    if (!names.isEmpty() && !thisDisc &&
        !messages.askQuestion(this, UpdateTexts::askOtherDisc(names, diskName_)))
        return;

    walking_ = true;
    cancelRequested_ = false;
    Combo1_->setEnabled(false);
    const bool updated =
        updateDiscFromMedium(context_, this, root, diskName_, *this, [this] { BusyForm_->hide(); });
    walking_ = false;
    Combo1_->setEnabled(true);
    done(updated ? QDialog::Accepted : QDialog::Rejected);
}

void frmUpdateDisc::cmdCancel_Click() {
    if (walking_) cancelRequested_ = true;
}

void frmUpdateDisc::reject() {
    if (walking_) {
        cmdCancel_Click();
        return;
    }
    QDialog::reject();
}

void frmUpdateDisc::closeEvent(QCloseEvent* event) {
    if (walking_) {
        // The walk unwinds in the click that started it, which then closes the window.
        event->ignore();
        cmdCancel_Click();
        return;
    }
    QDialog::closeEvent(event);
}

void frmUpdateDisc::started() {
    BusyForm_->show();
    BusyForm_->raise();
    lblCount_->setText(QStringLiteral("0"));
    lblRate_->setText(ScanTexts::elapsedAndRate(elapsedText(0), 0));
    walkClock_.start();
}

void frmUpdateDisc::pause(long recorded) {
    const qint64 ms = walkClock_.elapsed();
    lblCount_->setText(QString::number(recorded));
    lblRate_->setText(ScanTexts::elapsedAndRate(elapsedText(ms), filesPerSecond(recorded, ms)));
    QCoreApplication::processEvents();
}

}  // namespace vt
