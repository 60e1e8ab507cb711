#include "app/Startup.h"

#include <QApplication>

#include "app/MDIForm1.h"
#include "app/QtPersianTexts.h"
#include "app/RightToLeftPopups.h"
#include "app/WindowRegistry.h"
#include "platform/AttachedImageFileSystem.h"
#include "platform/AttachedImages.h"
#include "platform/LinuxDriveTable.h"
#include "platform/LinuxFileSystem.h"
#include "platform/ProgramDataFolder.h"
#include "platform/desktop/QtMessageService.h"
#include "platform/desktop/QtShell.h"
#include "platform/desktop/QtSystemColors.h"
#include "window/AppContext.h"
#include "window/ImageAttaching.h"

namespace vt {

std::unique_ptr<MDIForm1> startUp(AppContext& context) {
    auto frame = std::make_unique<MDIForm1>(context);
    frame->MDIForm_Initialize();
    if (!frame->MDIForm_Load()) return nullptr;
    frame->windows().showMain();
    frame->show();
    return frame;
}

int runApplication(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumtrove"));
    const QtPersianTexts qtTexts;
    const RightToLeftPopups rightToLeftPopups;

    QtMessageService messages;
    LinuxDriveTable mountedDrives;
    LinuxFileSystem mountedFiles(mountedDrives);
    AttachedImages drives(mountedDrives);
    AttachedImageFileSystem fileSystem(mountedFiles, drives);
    QtShell shell;
    QtSystemColors systemColors;
    AppContext context(Platform{messages, drives, fileSystem, shell, systemColors,
                                QApplication::applicationDirPath(), &drives,
                                programDataFolder(QStringLiteral("Mydb.mdb"))});
    // Image files named on the command line are drives from the start, listed when the first window loads.
    attachImageFiles(context.platform, nullptr, QApplication::arguments().mid(1));

    std::unique_ptr<MDIForm1> frame = startUp(context);
    if (!frame) return 1;
    return QApplication::exec();
}

}  // namespace vt
