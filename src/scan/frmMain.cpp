#include "scan/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include "button/MyButton.h"
#include "catalog/CatalogError.h"
#include "platform/DriveTable.h"
#include "platform/MessageService.h"
#include "platform/Shell.h"
#include "scan/DriveDetails.h"
#include "scan/ScanCommand.h"
#include "scan/ScanTexts.h"
#include "window/AppContext.h"
#include "window/Look.h"

namespace vt {

namespace {

// The busy pointer for the whole program while it lives.
class BusyCursor {
  public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Rows of the details frame: caption label index, value label index, top in twips.
struct DetailRow {
    int caption;
    int value;
    int top;
};
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
    BusyForm_->hide();

    mnuSys_ = new QMenu(QStringLiteral("Sys"), this);
    mnuSys_->setObjectName(QStringLiteral("mnuSys"));
    mnuCopy_ = mnuSys_->addAction(QStringLiteral("Copy"));
    mnuCopy_->setObjectName(QStringLiteral("mnuCopy"));
    connect(mnuCopy_, &QAction::triggered, this, &frmMain::mnuCopy_Click);
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
    const std::uint32_t mask = drives.logicalDrives();
    for (int i = 0; i < 16; ++i) {  // A to P only
        if (!(mask & (1u << i))) continue;
        const QString root = QString(QChar('A' + i)) + QStringLiteral(":\\");
        if (drives.driveType(root) != kDriveTypeCdRom) continue;
        Combo1_->addItem(root);
        Combo1_->setItemData(Combo1_->count() - 1, drives.mountPoint(root), Qt::ToolTipRole);
    }
}

void frmMain::Combo1_Click() {
    // Which folder "D:\" stands for, also while the list is closed.
    Combo1_->setToolTip(Combo1_->currentData(Qt::ToolTipRole).toString());
    ShowDriveInfo(Combo1_->currentText());
}

void frmMain::ShowDriveInfo(const QString& root) {
    Label1_[4]->setText(readDriveDetails(context_.platform.drives, root).usedSize);
    Info(root);
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
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void frmMain::started() {
    BusyForm_->show();
    BusyForm_->raise();
    lblCount_->setText(QStringLiteral("0"));
}

void frmMain::pause(long recorded) {
    lblCount_->setText(QString::number(recorded));
    QCoreApplication::processEvents();
}

Connection& frmMain::scanConnection() {
    Connection& connection = context_.cnScan;
    if (connection.State() == 0) {
        connection.setConnectionString(context_.cnCatalog.connectionString());
        connection.setCursorLocation(context_.cnCatalog.cursorLocation());
        connection.Open();
        // The large write of a scan is copied into the catalogue file later, in idle time, by the main
        // connection, rather than while the user waits for the end of the scan.
        connection.Execute(QStringLiteral("PRAGMA wal_autocheckpoint = 0;"));
    }
    return connection;
}

void frmMain::cmdStart_Click() {
    if (scanning_) return;
    const ScanRequest request{Combo1_->currentText(), Text3_->text(), Label1_[7]->text(), Label1_[4]->text()};
    MessageService& messages = context_.platform.messages;
    scanning_ = true;
    Text3_->setEnabled(false);
    cmdStart_->setEnabled(false);
    ScanSummary summary;
    QString failure;
    {
        BusyCursor busy;
        try {
            ScanCommand command(scanConnection(), context_.rsDisks, context_.rsBankList,
                                context_.platform.drives, context_.platform.fileSystem);
            summary = command.run(request, *this);
        } catch (const CatalogError& error) {
            failure = error.message();
        }
    }
    if (!failure.isEmpty()) {
        messages.information(this, ScanTexts::catalogueFailed(failure));
    } else if (summary.outcome == ScanOutcome::NoName) {
        messages.information(this, ScanTexts::noName());
    } else if (summary.outcome == ScanOutcome::NoDisc) {
        messages.information(this, ScanTexts::noDisc());
    } else if (summary.outcome == ScanOutcome::NameTaken) {
        messages.information(this, ScanTexts::nameTaken());
    } else if (summary.outcome == ScanOutcome::DiscGone) {
        messages.information(this, ScanTexts::discGone());
    } else {
        lblCount_->setText(QString::number(summary.recorded));
        messages.information(this, ScanTexts::finished());
        if (summary.skipped > 0) messages.information(this, ScanTexts::skippedFiles(summary.skipped));
    }
    BusyForm_->hide();
    Text3_->setEnabled(true);
    cmdStart_->setEnabled(true);
    scanning_ = false;
}

}  // namespace vt
