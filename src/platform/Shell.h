#pragma once

#include <QString>

class QWidget;

namespace vt {

// What the desktop does for the program: open a file with its default application, and the clipboard.
class Shell {
public:
    virtual ~Shell() = default;

    // Hands a native file path (as text: see nativePathText in FileNames.h, so any bytes can be told) to
    // the desktop's default application, started in `workingFolder`.
    // Returns false when the request could not be handed over.
    virtual bool openWithDefaultApplication(QWidget* owner, const QString& nativeFile,
                                            const QString& workingFolder) = 0;
    // Replaces the clipboard's text.
    virtual void setClipboardText(const QString& text) = 0;
};

}  // namespace vt
