#pragma once

#include <QStringList>

class QMimeData;
class QWidget;

namespace vt {

struct Platform;

// Attaches the image files `paths` as drives, telling the user (over `owner`) of each one refused.
// Returns the root of the last one attached ("E:\"), empty when none was or images cannot be attached.
QString attachImageFiles(const Platform& platform, QWidget* owner, const QStringList& paths);

// The local files among what is dragged or dropped (`data` may be null).
QStringList droppedLocalFiles(const QMimeData* data);

}  // namespace vt
