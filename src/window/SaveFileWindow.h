#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vt {

// Asks where to save a CSV file, over `owner`, offering `suggestedName`; an empty text when the user
// cancels. Windows that save lists hold one, so that it can be replaced where no one answers a dialog.
using SaveFileChooser = std::function<QString(QWidget* owner, const QString& suggestedName)>;

// The desktop's save-file dialog, for CSV files.
SaveFileChooser csvSaveFileWindow();

}  // namespace vt
