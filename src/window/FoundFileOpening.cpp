#include "window/FoundFileOpening.h"

#include <QPointer>
#include <QWidget>

#include "platform/DriveTable.h"
#include "platform/MessageService.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "search/OpenFailedText.h"
#include "search/OpticalDriveSearch.h"

namespace vt {

namespace {
const QString kOfferToOpen = QStringLiteral("آيا مايل به احظار فايل مورد نظر هستيد ؟");
const QString kNotOnAnyDrive = QStringLiteral("در هيچ يک از درايو هاي موجود ،فايل مورد نظر وجود ندارد");
}  // namespace

void openFoundFile(const Platform& platform, QWidget* owner, const QString& recordedPath) {
    // Stored paths begin with the root of the drive the disc was scanned from; the rest is the path
    // within the disc, which any drive holding the disc now can serve.
    const QString withinDisc = recordedPath.mid(3);
    const QString root = firstOpticalDriveHolding(platform.drives, platform.fileSystem, withinDisc);
    if (root.isEmpty()) {
        platform.messages.information(owner, kNotOnAnyDrive);
        return;
    }
    if (!platform.messages.askYesNo(owner, kOfferToOpen)) return;
    // A file of a disc image is opened from a copy taken out of the image.
    const OpenableFile file = platform.drives.openableFile(root + withinDisc);
    if (file.file.isEmpty() && !file.error.isEmpty()) {
        platform.messages.information(owner, copyOutFailedText(file.error));
        return;
    }
    // The launcher reports later; by then the window may have been closed, and then nobody is told.
    const QPointer<QWidget> window(owner);
    MessageService& messages = platform.messages;
    platform.shell.openWithDefaultApplication(owner, file.file, file.folder,
                                              [window, &messages](OpenOutcome outcome) {
                                                  if (!window || outcome == OpenOutcome::Opened) return;
                                                  messages.information(window, openFailedText(outcome));
                                              });
}

}  // namespace vt
