#include "window/SaveFileWindow.h"

#include <QDir>
#include <QFileDialog>

namespace vt {

SaveFileChooser csvSaveFileWindow() {
    return [](QWidget* owner, const QString& suggestedName) {
        return QFileDialog::getSaveFileName(owner, QStringLiteral("Vellumtrove"),
                                            QDir::home().filePath(suggestedName),
                                            QStringLiteral("CSV (*.csv)"));
    };
}

}  // namespace vt
