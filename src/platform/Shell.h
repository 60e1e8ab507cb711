#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vt {

// How handing a file to its default application ended.
enum class OpenOutcome {
    Opened,
    LauncherMissing,  // the desktop's launcher (xdg-open) is not installed
    NoApplication,    // no application is set up for the file's type
    FileMissing,      // the file was not there any more
    Failed,           // the launcher or the application failed otherwise
};

// Called once, from the event loop, when the outcome is known.
using OpenFinished = std::function<void(OpenOutcome)>;

// What the desktop does for the program: open a file with its default application, and the clipboard.
class Shell {
  public:
    virtual ~Shell() = default;

    // Hands a native file path (as text: see nativePathText in FileNames.h, so any bytes can be told) to
    // the desktop's default application, started in `workingFolder`, and returns at once; `finished`
    // learns later how it went.
    virtual void openWithDefaultApplication(QWidget* owner, const QString& nativeFile,
                                            const QString& workingFolder, OpenFinished finished) = 0;
    // Replaces the clipboard's text.
    virtual void setClipboardText(const QString& text) = 0;
};

}  // namespace vt
