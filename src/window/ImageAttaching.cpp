#include "window/ImageAttaching.h"

#include <QMimeData>
#include <QUrl>

#include "platform/AttachedImages.h"
#include "platform/MessageService.h"
#include "platform/Platform.h"
#include "scan/ImageTexts.h"

namespace vt {

QString attachImageFiles(const Platform& platform, QWidget* owner, const QStringList& paths) {
    if (!platform.images) return {};
    QString last;
    for (const QString& path : paths) {
        const AttachedImages::Attached attached = platform.images->attach(path);
        switch (attached.refusal) {
            case AttachedImages::Refusal::None:
                last = attached.root;
                break;
            case AttachedImages::Refusal::Unreadable:
                platform.messages.information(owner, ImageTexts::unreadable(path, attached.error));
                break;
            case AttachedImages::Refusal::NoFreeLetter:
                platform.messages.information(owner, ImageTexts::noFreeLetter(path));
                break;
        }
    }
    return last;
}

QStringList droppedLocalFiles(const QMimeData* data) {
    QStringList files;
    if (!data) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files << url.toLocalFile();
    }
    return files;
}

}  // namespace vt
