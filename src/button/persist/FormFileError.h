#pragma once

#include <QString>
#include <stdexcept>

namespace vt::button {

// A form file as a whole cannot be used: it cannot be read or written, it is not a form file, or its
// structure outside any control's section is broken. Names the file and, where known, the line.
// (Problems inside a control's section surface as PropertyBagError when the affected key is read.)
class FormFileError : public std::runtime_error {
  public:
    FormFileError(const QString& file, int line, const QString& reason)
        : std::runtime_error(describe(file, line, reason).toStdString()), file_(file), line_(line) {}

    const QString& file() const { return file_; }
    int line() const { return line_; }  // 0 when the problem is not tied to a line

  private:
    static QString describe(const QString& file, int line, const QString& reason) {
        return line > 0 ? QStringLiteral("%1, line %2: %3").arg(file).arg(line).arg(reason)
                        : QStringLiteral("%1: %2").arg(file, reason);
    }

    QString file_;
    int line_;
};

}  // namespace vt::button
