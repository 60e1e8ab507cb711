#pragma once

#include <vector>

#include "platform/Shell.h"

namespace vt::test {

// Records what would have been opened and what was put on the clipboard; launches nothing. Every opening
// ends at once with `outcome`.
class FakeShell final : public Shell {
  public:
    struct Opened {
        QString file;
        QString workingFolder;
    };

    void openWithDefaultApplication(QWidget*, const QString& nativeFile, const QString& workingFolder,
                                    OpenFinished finished) override {
        opened.push_back({nativeFile, workingFolder});
        finished(outcome);
    }
    void setClipboardText(const QString& text) override { clipboard = text; }

    std::vector<Opened> opened;
    QString clipboard;
    OpenOutcome outcome = OpenOutcome::Opened;
};

}  // namespace vt::test
