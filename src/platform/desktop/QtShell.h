#pragma once

#include "platform/Shell.h"

namespace vt {

// Opens files through the desktop's default-application launcher (xdg-open) and uses Qt's clipboard.
class QtShell final : public Shell {
  public:
    void openWithDefaultApplication(QWidget* owner, const QString& nativeFile, const QString& workingFolder,
                                    OpenFinished finished) override;
    void setClipboardText(const QString& text) override;
};

}  // namespace vt
