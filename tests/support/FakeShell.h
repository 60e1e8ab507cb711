#pragma once

#include <vector>

#include "platform/Shell.h"

namespace vt::test {

// Records what would have been opened and what was put on the clipboard; launches nothing.
class FakeShell final : public Shell {
public:
    struct Opened {
        QString file;
        QString workingFolder;
    };

    bool openWithDefaultApplication(QWidget*, const QString& nativeFile, const QString& workingFolder) override {
        opened.push_back({nativeFile, workingFolder});
        return true;
    }
    void setClipboardText(const QString& text) override { clipboard = text; }

    std::vector<Opened> opened;
    QString clipboard;
};

}  // namespace vt::test
