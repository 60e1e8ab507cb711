#include "scan/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "button/MyButton.h"
#include "catalog/CatalogError.h"
#include "platform/AttachedImages.h"
#include "platform/DriveTable.h"
#include "platform/MessageService.h"
#include "platform/Shell.h"
#include "scan/DiscRecognition.h"
#include "scan/DriveDetails.h"
#include "scan/ImageTexts.h"
#include "scan/ScanCommand.h"
#include "scan/ScanPace.h"
#include "scan/ScanTexts.h"
#include "search/LeftToRight.h"
#include "window/AppContext.h"
#include "window/BusyCursor.h"
#include "window/CatalogueFailureTexts.h"
#include "window/DiscUpdateFlow.h"
#include "window/ImageAttaching.h"
#include "window/Look.h"

namespace vt {

namespace {

// Rows of the details frame: caption label index, value label index, top in twips.
struct DetailRow {
    int caption;
    int value;
    int top;
};
// Often enough to follow a disc change, seldom enough to cost nothing (the drive's details are cached).
constexpr int kMediumWatchMs = 1000;

constexpr std::array<DetailRow, 4> kDetailRows = {{{0, 5, 480}, {1, 4, 840}, {2, 6, 1200}, {3, 7, 1560}}};

}  // namespace

frmMain::frmMain(AppContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setWindowTitle(ScanTexts::windowCaption());
    setFixedSize(Look::px(4770), Look::px(3720));
    Look::applyWindowLook(*this);
    setLayoutDirection(Qt::RightToLeft);
    const QFont controlFont = Look::controlFont();

    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->setGeometry(Look::twipsRect(120, 120, 3495, 330));
    Combo1_->setLayoutDirection(Qt::LeftToRight);  // drive roots read left to right
    connect(Combo1_, qOverload<int>(&QComboBox::activated), this, &frmMain::Combo1_Click);
    Label3_ = addLabel(this, ScanTexts::label3(), Look::twipsRect(3720, 120, 1215, 255), controlFont);
    Label3_->setObjectName(QStringLiteral("Label3"));

    Text3_ = new QLineEdit(QStringLiteral("NewDisk1"), this);
    Text3_->setObjectName(QStringLiteral("Text3"));
    Text3_->setGeometry(Look::twipsRect(120, 600, 3495, 375));
    Label4_ = addLabel(this, ScanTexts::label4(), Look::twipsRect(3720, 600, 1215, 375), controlFont);
    Label4_->setObjectName(QStringLiteral("Label4"));
    // Both boxes reach past the window's right edge by design; text anchored at their left edge stays whole.
    Label3_->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    Label4_->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);

    Frame1_ = new QGroupBox(ScanTexts::frame1(), this);
    Frame1_->setObjectName(QStringLiteral("Frame1"));
    Frame1_->setGeometry(Look::twipsRect(120, 1080, 4575, 2055));
    const std::array<QString, 4> captions = {ScanTexts::labelVolume(), ScanTexts::labelSize(),
                                             ScanTexts::labelFormat(), ScanTexts::labelSerial()};
    for (const DetailRow& row : kDetailRows) {
        Label1_[size_t(row.caption)] = addLabel(Frame1_, captions[size_t(row.caption)],
                                                Look::twipsRect(3120, row.top, 1215, 255), Look::labelFont());
        Label1_[size_t(row.value)] = addLabel(Frame1_, QStringLiteral("0"),
                                              Look::twipsRect(240, row.top, 2775, 255), Look::labelFont());
    }
    for (size_t i = 0; i < Label1_.size(); ++i) {
        Label1_[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Label1_[i]->installEventFilter(this);
    }

    // Below the last row of details, in the room the frame leaves there.
    lblRecognised_ = addLabel(Frame1_, QString(), Look::twipsRect(240, 1815, 4095, 225), Look::controlFont());
    lblRecognised_->setObjectName(QStringLiteral("lblRecognised"));
    lblRecognised_->setToolTip(ScanTexts::clickToUpdate());
    lblRecognised_->setCursor(Qt::PointingHandCursor);
    QPalette recognisedPalette = lblRecognised_->palette();
    recognisedPalette.setColor(QPalette::WindowText, QColor(0, 0, 160));
    lblRecognised_->setPalette(recognisedPalette);
    lblRecognised_->installEventFilter(this);

    // A disc put in or taken out while the window is open shows at once, with whether it is catalogued.
    auto* mediumWatch = new QTimer(this);
    connect(mediumWatch, &QTimer::timeout, this, &frmMain::WatchMedium);
    mediumWatch->start(kMediumWatchMs);

    cmdStart_ = new MyButton(this);
    cmdStart_->setObjectName(QStringLiteral("cmdStart"));
    cmdStart_->setCaption(ScanTexts::cmdStart());
    cmdStart_->setGeometry(Look::twipsRect(120, 3240, 4575, 375));
    connect(cmdStart_, &MyButton::Click, this, &frmMain::cmdStart_Click);

    BusyForm_ = new QWidget(this);
    BusyForm_->setObjectName(QStringLiteral("BusyForm"));
    BusyForm_->setGeometry(Look::twipsRect(120, 600, 4575, 3015));
    BusyForm_->setAutoFillBackground(true);
    QPalette busyPalette = BusyForm_->palette();
    busyPalette.setColor(QPalette::Window, Look::frameColor());
    BusyForm_->setPalette(busyPalette);
    Label2_[0] =
        addLabel(BusyForm_, ScanTexts::busyWorking(), Look::twipsRect(360, 720, 3855, 375), controlFont);
    Label2_[1] =
        addLabel(BusyForm_, ScanTexts::busyPleaseWait(), Look::twipsRect(240, 1320, 3855, 375), controlFont);
    Label2_[0]->setObjectName(QStringLiteral("Label2_0"));
    Label2_[1]->setObjectName(QStringLiteral("Label2_1"));
    lblCount_ =
        addLabel(BusyForm_, QStringLiteral("0"), Look::twipsRect(1440, 2040, 1815, 495), Look::font(14.25));
    lblCount_->setObjectName(QStringLiteral("lblCount"));
    // Above the panel's first line and below the count: the room its design leaves free.
    lblRate_ = addLabel(BusyForm_, QString(), Look::twipsRect(240, 240, 4095, 375), controlFont);
    lblRate_->setObjectName(QStringLiteral("lblRate"));
    lblRate_->setAlignment(Qt::AlignCenter);
    cmdCancel_ = new MyButton(BusyForm_);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setCaption(ScanTexts::cmdCancel());
    cmdCancel_->setGeometry(Look::twipsRect(1440, 2580, 1815, 375));
    connect(cmdCancel_, &MyButton::Click, this, &frmMain::cmdCancel_Click);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &frmMain::cmdCancel_Click);
    BusyForm_->hide();

    mnuSys_ = new QMenu(QStringLiteral("Sys"), this);
    mnuSys_->setObjectName(QStringLiteral("mnuSys"));
    mnuCopy_ = mnuSys_->addAction(QStringLiteral("Copy"));
    mnuCopy_->setObjectName(QStringLiteral("mnuCopy"));
    connect(mnuCopy_, &QAction::triggered, this, &frmMain::mnuCopy_Click);

    if (context_.platform.images) {
        mnuImage_ = new QMenu(this);
        mnuImage_->setObjectName(QStringLiteral("mnuImage"));
        mnuAttachImage_ = mnuImage_->addAction(ImageTexts::attachMenu());
        mnuAttachImage_->setObjectName(QStringLiteral("mnuAttachImage"));
        mnuDetachImage_ = mnuImage_->addAction(ImageTexts::detachMenu());
        mnuDetachImage_->setObjectName(QStringLiteral("mnuDetachImage"));
        connect(mnuAttachImage_, &QAction::triggered, this, &frmMain::mnuAttachImage_Click);
        connect(mnuDetachImage_, &QAction::triggered, this, &frmMain::mnuDetachImage_Click);
        Combo1_->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(Combo1_, &QWidget::customContextMenuRequested, this, &frmMain::Combo1_ContextMenu);
        setAcceptDrops(true);
    }
}

QLabel* frmMain::addLabel(QWidget* parent, const QString& caption, QRect twips, const QFont& font) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(twips);
    label->setFont(font);
    return label;
}

void frmMain::Form_Load() {
    ListDrives();
    // With no optical drive there is no first entry to choose; the details keep their design values.
    if (Combo1_->count() == 0) return;
    Combo1_->setCurrentIndex(0);
    Combo1_Click();
}

void frmMain::ListDrives() {
    const DriveTable& drives = context_.platform.drives;
    for (const QString& root : opticalDriveRoots(drives)) {
        Combo1_->addItem(root);
        Combo1_->setItemData(Combo1_->count() - 1, leftToRight(drives.mountPoint(root)), Qt::ToolTipRole);
    }
}

void frmMain::relistDrives(const QString& root) {
    Combo1_->clear();
    ListDrives();
    Combo1_->setCurrentIndex(std::max(0, Combo1_->findText(root)));
    // With no drive left, the details show what an empty drive shows, not the drive that went.
    Combo1_Click();
}

void frmMain::attachImages(const QStringList& paths) {
    const QString root = attachImageFiles(context_.platform, this, paths);
    if (!root.isEmpty()) relistDrives(root);
}

void frmMain::Combo1_ContextMenu(const QPoint& position) {
    mnuDetachImage_->setEnabled(!context_.platform.images->imagePath(Combo1_->currentText()).isEmpty());
    mnuImage_->popup(Combo1_->mapToGlobal(position));
}

void frmMain::mnuAttachImage_Click() {
    const QStringList paths = QFileDialog::getOpenFileNames(this, ImageTexts::fileDialogCaption(), QString(),
                                                            ImageTexts::fileDialogFilter());
    attachImages(paths);
}

void frmMain::mnuDetachImage_Click() {
    if (context_.platform.images->detach(Combo1_->currentText())) relistDrives(QString());
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedLocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const QStringList paths = droppedLocalFiles(event->mimeData());
    event->acceptProposedAction();
    // Attached once the drop is over: a refused image is told in a box, which must not hold the drag.
    QTimer::singleShot(0, this, [this, paths] { attachImages(paths); });
}

void frmMain::Combo1_Click() {
    // Which folder "D:\" stands for, also while the list is closed.
    Combo1_->setToolTip(Combo1_->currentData(Qt::ToolTipRole).toString());
    ShowDriveInfo(Combo1_->currentText());
}

void frmMain::ShowDriveInfo(const QString& root) {
    shownMedium_ = context_.platform.drives.mediumIdentity(root);
    Label1_[4]->setText(readDriveDetails(context_.platform.drives, root).usedSize);
    Info(root);
    ShowRecognition(root);
}

void frmMain::ShowRecognition(const QString& root) {
    recognisedAs_.clear();
    Connection& catalogue = context_.cnCatalog;
    try {
        if (catalogue.State() != 0)
            recognisedAs_ = recogniseDisc(catalogue, readDriveDetails(context_.platform.drives, root));
    } catch (const CatalogError&) {
        // Recognising is a courtesy: a catalogue that cannot answer now shows nothing.
        recognisedAs_.clear();
    }
    lblRecognised_->setText(recognisedAs_.isEmpty() ? QString() : ScanTexts::recognisedAs(recognisedAs_));
}

void frmMain::WatchMedium() {
    if (scanning_ || Combo1_->count() == 0) return;
    const QString root = Combo1_->currentText();
    if (context_.platform.drives.mediumIdentity(root) != shownMedium_) ShowDriveInfo(root);
}

void frmMain::Recognised_Click() {
    if (scanning_ || recognisedAs_.isEmpty()) return;
    if (recognisedAs_.size() == 1) {
        UpdateDisc(recognisedAs_.front());
        return;
    }
    // Several discs share the serial and size: the user says which one this is.
    QMenu choice(this);
    for (const QString& name : recognisedAs_) choice.addAction(name);
    if (QAction* chosen = choice.exec(QCursor::pos())) UpdateDisc(chosen->text());
}

void frmMain::Info(const QString& root) {
    const DriveDetails details = readDriveDetails(context_.platform.drives, root);
    Label1_[5]->setText(details.label);
    Label1_[6]->setText(details.fileSystemName);
    Label1_[7]->setText(details.serial);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (size_t i = 0; i < Label1_.size(); ++i) {
            if (watched == Label1_[i]) Label1_Click(int(i));
        }
        if (watched == lblRecognised_) Recognised_Click();
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::Label1_Click(int index) {
    if (index == 5) mnuSys_->popup(QCursor::pos());
}

void frmMain::mnuCopy_Click() {
    context_.platform.shell.setClipboardText(Label1_[5]->text());
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (scanning_) {
        // The scan is unwound by the click that started it; the window closes when it has.
        event->ignore();
        if (askToCancelScan()) closeAfterScan_ = true;
        return;
    }
    QWidget::closeEvent(event);
}

bool frmMain::askToCancelScan() {
    if (!scanning_) return false;
    if (cancelRequested_) return true;
    if (!context_.platform.messages.askQuestion(this, ScanTexts::askCancelScan())) return false;
    cmdCancel_Click();
    return true;
}

void frmMain::cmdCancel_Click() {
    if (scanning_) cancelRequested_ = true;
}

void frmMain::started() {
    BusyForm_->show();
    BusyForm_->raise();
    lblCount_->setText(QStringLiteral("0"));
    lblRate_->setText(ScanTexts::elapsedAndRate(elapsedText(0), 0));
    scanClock_.start();
}

void frmMain::pause(long recorded) {
    const qint64 ms = scanClock_.elapsed();
    lblCount_->setText(QString::number(recorded));
    lblRate_->setText(ScanTexts::elapsedAndRate(elapsedText(ms), filesPerSecond(recorded, ms)));
    QCoreApplication::processEvents();
}

void frmMain::cmdStart_Click() {
    if (scanning_) return;
    const ScanRequest request{Combo1_->currentText(), Text3_->text(), Label1_[7]->text(), Label1_[4]->text()};
    MessageService& messages = context_.platform.messages;
    enterBusy();
    ScanSummary summary;
    QString failure;
    {
        BusyCursor busy;
        try {
            ScanCommand command(scanConnection(context_), context_.rsDisks, context_.rsBankList,
                                context_.platform.drives, context_.platform.fileSystem);
            summary = command.run(request, *this);
        } catch (const CatalogError& error) {
            failure = discWriteFailure(error);
        }
    }
    if (!failure.isEmpty()) {
        messages.information(this, failure);
    } else if (summary.outcome == ScanOutcome::NoName) {
        messages.information(this, ScanTexts::noName());
    } else if (summary.outcome == ScanOutcome::NoDisc) {
        messages.information(this, ScanTexts::noDisc());
    } else if (summary.outcome == ScanOutcome::NameTaken) {
        messages.information(this, ScanTexts::nameTaken());
    } else if (summary.outcome == ScanOutcome::DiscGone) {
        messages.information(this, ScanTexts::discGone());
    } else if (summary.outcome == ScanOutcome::Cancelled) {
        messages.information(this, ScanTexts::cancelled());
    } else {
        lblCount_->setText(QString::number(summary.recorded));
        messages.information(this, ScanTexts::finished());
        if (summary.skipped > 0) messages.information(this, ScanTexts::skippedFiles(summary.skipped));
    }
    leaveBusy();
    ShowRecognition(request.driveRoot);
}

void frmMain::enterBusy() {
    scanning_ = true;
    cancelRequested_ = false;
    Text3_->setEnabled(false);
    cmdStart_->setEnabled(false);
}

void frmMain::leaveBusy() {
    BusyForm_->hide();
    Text3_->setEnabled(true);
    cmdStart_->setEnabled(true);
    scanning_ = false;
    cancelRequested_ = false;
    emit scanEnded();
    if (closeAfterScan_) {
        closeAfterScan_ = false;
        // Inside the main frame the window is the child of its sub-window, which is what the user closed.
        auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
        if (sub) {
            sub->close();
        } else {
            close();
        }
    }
}

void frmMain::UpdateDisc(const QString& name) {
    if (scanning_) return;
    const QString root = Combo1_->currentText();
    enterBusy();
    const bool updated =
        updateDiscFromMedium(context_, this, root, name, *this, [this] { BusyForm_->hide(); });
    leaveBusy();
    ShowRecognition(root);
    if (updated) emit discUpdated(name);
}

}  // namespace vt
