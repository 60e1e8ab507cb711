#include "app/MDIForm1.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include "app/CatalogueSetting.h"
#include "app/StartupMessages.h"
#include "app/WindowRegistry.h"
#include "app/frmAbout.h"
#include "button/MyButton.h"
#include "catalog/CatalogError.h"
#include "catalog/SearchIndexUpkeep.h"
#include "platform/MessageService.h"
#include "scan/frmMain.h"
#include "window/AboutPictures.h"
#include "window/AppContext.h"
#include "window/ButtonForms.h"
#include "window/ImageAttaching.h"
#include "window/Look.h"

namespace vt {

MDIForm1::MDIForm1(AppContext& context, QWidget* parent) : QMainWindow(parent), context_(context) {
    setWindowTitle(QStringLiteral("Vellumtrove"));
    setFont(Look::controlFont());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* strip = new QWidget(central);
    strip->setObjectName(QStringLiteral("Picture1"));
    strip->setFixedHeight(Look::px(615));
    strip->setAutoFillBackground(true);
    QPalette stripPalette = strip->palette();
    stripPalette.setColor(QPalette::Window, Look::windowColor());
    strip->setPalette(stripPalette);
    layout->addWidget(strip);

    cmdAddnew_ = addStripButton(strip, "cmdAddnew", QStringLiteral("ديسك جديد"), 120);
    cmdRemDisk_ = addStripButton(strip, "cmdRemDisk", QStringLiteral("حذف ديسك"), 2040);
    cmdFind_ = addStripButton(strip, "cmdFind", QStringLiteral("جستجو"), 3960);
    cmdSetting_ = addStripButton(strip, "cmdSetting", QStringLiteral("تنظيمات"), 5880);
    cmdAbout_ = addStripButton(strip, "cmdAbout", QStringLiteral("درباره"), 7800);
    connect(cmdAddnew_, &MyButton::Click, this, &MDIForm1::cmdAddnew_Click);
    connect(cmdRemDisk_, &MyButton::Click, this, &MDIForm1::cmdRemDisk_Click);
    connect(cmdFind_, &MyButton::Click, this, &MDIForm1::cmdFind_Click);
    connect(cmdSetting_, &MyButton::Click, this, &MDIForm1::cmdSetting_Click);
    connect(cmdAbout_, &MyButton::Click, this, &MDIForm1::cmdAbout_Click);
    button::loadStoredButtons(*this, context_.platform.systemColors);

    mdiArea_ = new QMdiArea(central);
    mdiArea_->setBackground(Look::frameColor());
    layout->addWidget(mdiArea_, 1);
    setCentralWidget(central);
    setAcceptDrops(context_.platform.images != nullptr);

    timePanel_ = new QLabel(this);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addPermanentWidget(timePanel_);
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &MDIForm1::showTime);
    clock->start(1000);
    showTime();

    // Wide enough for the whole strip: the last button ends at 9615 twips, past the 9285-twip design width.
    resize(Look::px(9615 + 120), 480);
    setWindowIcon(QIcon(aboutDiscPicture()));
    windows_ = std::make_unique<WindowRegistry>(context_, *mdiArea_);
}

MDIForm1::~MDIForm1() = default;

MyButton* MDIForm1::addStripButton(QWidget* strip, const char* name, const QString& caption, int leftTwips) {
    auto* button = new MyButton(strip);
    button->setObjectName(QLatin1String(name));
    button->setCaption(caption);
    button->setGeometry(Look::twipsRect(leftTwips, 120, 1815, 375));
    return button;
}

void MDIForm1::showTime() {
    timePanel_->setText(QTime::currentTime().toString(QStringLiteral("HH:mm")));
}

void MDIForm1::MDIForm_Initialize() {
    // The common controls (status bar, list view) need no initialising here: Qt provides them.
}

bool MDIForm1::MDIForm_Load() {
    const QString& folder = context_.platform.programFolder;
    context_.helpFile = folder + QStringLiteral("/Help.chm");
    const QString& dataFolder =
        context_.platform.dataFolder.isEmpty() ? folder : context_.platform.dataFolder;
    // Opening a catalogue of an older version builds its search index first; for a large one that takes
    // a while, so a progress window appears when it does not finish within a second.
    std::unique_ptr<QProgressDialog> progress;
    const auto showProgress = [&](qint64 done, qint64 total) {
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(QStringLiteral("در حال ساختن فهرست جستجو ..."),
                                                         QString(), 0, 1000, this);
            progress->setWindowTitle(QStringLiteral("Vellumtrove"));
            progress->setWindowModality(Qt::ApplicationModal);
            progress->setCancelButton(nullptr);
            progress->setMinimumDuration(1000);
        }
        progress->setValue(total > 0 ? int(done * 1000 / total) : 1000);
    };
    const CatalogueSetting setting = readCatalogueSetting(dataFolder);
    context_.settingsFile = setting.settingsFile;
    if (setting.problem != CatalogueSetting::Problem::None) {
        context_.platform.messages.information(this, catalogueSettingMessage(setting));
        return false;
    }
    try {
        openCatalogue(context_.cnCatalog, setting.connectionString, CatalogueAccess::ReadWrite, showProgress);
    } catch (const CatalogOpenError& error) {
        progress.reset();
        context_.platform.messages.information(
            this, catalogueOpenMessage(error, setting.onServer() ? setting.settingsFile : QString()));
        return false;
    }
    // The path index and its upkeep are the file's; a server keeps its own trigram index current.
    if (!context_.cnCatalog.server()) indexUpkeep_ = std::make_unique<SearchIndexUpkeep>(context_.cnCatalog);
    return true;
}

void MDIForm1::closeEvent(QCloseEvent* event) {
    if (frmMain* scan = windows_->mainWindow(); scan && scan->scanning()) {
        // The scan unwinds in the call that started it; the program closes once it has.
        event->ignore();
        if (scan->askToCancelScan()) {
            connect(scan, &frmMain::scanEnded, this, &MDIForm1::close, Qt::SingleShotConnection);
        }
        return;
    }
    QMainWindow::closeEvent(event);
}

void MDIForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (context_.platform.images && !droppedLocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MDIForm1::dropEvent(QDropEvent* event) {
    const QStringList paths = droppedLocalFiles(event->mimeData());
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, paths] { windows_->showMain().attachImages(paths); });
}

void MDIForm1::cmdAddnew_Click() {
    windows_->showMain();
}
void MDIForm1::cmdRemDisk_Click() {
    windows_->showDelete();
}
void MDIForm1::cmdFind_Click() {
    windows_->showFind();
}

void MDIForm1::cmdSetting_Click() {
    context_.platform.messages.information(this, QStringLiteral("In future version !"));
}

void MDIForm1::cmdAbout_Click() {
    windows_->showAbout(this);
}

}  // namespace vt
