#include "app/Startup.h"

#include <QApplication>

#include "app/AppContext.h"
#include "app/MDIForm1.h"
#include "app/QtPersianTexts.h"
#include "app/RightToLeftPopups.h"
#include "app/WindowRegistry.h"
#include "platform/LinuxDriveTable.h"
#include "platform/LinuxFileSystem.h"
#include "platform/QtMessageService.h"
#include "platform/QtShell.h"
#include "platform/QtSystemColors.h"

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
    LinuxDriveTable drives;
    LinuxFileSystem fileSystem(drives);
    QtShell shell;
    QtSystemColors systemColors;
    AppContext context(Platform{messages, drives, fileSystem, shell, systemColors,
                                QApplication::applicationDirPath()});

    std::unique_ptr<MDIForm1> frame = startUp(context);
    if (!frame) return 1;
    return QApplication::exec();
}

}  // namespace vt
