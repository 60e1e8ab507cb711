#pragma once

#include <QString>
#include <stdexcept>

namespace vt {

// A catalogue operation that failed: a statement the store rejected, a move past the rows, a refused row.
// Callers decide what a failure means: stop the operation, or pass over the step and go on.
class CatalogError : public std::runtime_error {
  public:
    explicit CatalogError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// The catalogue file could not be opened (or made) without risk to what is there.
class CatalogOpenError : public CatalogError {
  public:
    enum class Reason {
        NotACatalogue,      // the file exists but is not one of our catalogues
        UnknownVersion,     // a catalogue written by a newer program
        ReadOnlyFile,       // the file cannot be written
        FolderNotWritable,  // the folder cannot take the catalogue or its journal
        CannotOpen,         // any other failure, described by `detail`
    };

    CatalogOpenError(Reason reason, QString path, QString detail)
        : CatalogError(path + QStringLiteral(": ") + detail),
          reason_(reason),
          path_(std::move(path)),
          detail_(std::move(detail)) {}

    Reason reason() const { return reason_; }
    const QString& path() const { return path_; }
    const QString& detail() const { return detail_; }

  private:
    Reason reason_;
    QString path_;
    QString detail_;
};

}  // namespace vt
