#pragma once

#include <QString>
#include <stdexcept>

namespace vt {

// Why the catalogue engine failed, as far as the user can do something about it.
enum class CatalogFailureCause {
    General,   // anything else: the engine's own text is all there is to say
    DiskFull,  // no room left on the catalogue's disk
    ReadOnly,  // the catalogue or its folder cannot be written
    Locked,    // another program holds the catalogue
    Damaged,   // the file's contents are not a sound catalogue
    // The connection to a server was lost as it committed, and it could not be asked afterwards: the
    // change may or may not have been kept.
    OutcomeUnknown,
};

// A catalogue operation that failed: a statement the store rejected, a move past the rows, a refused row.
// Callers decide what a failure means: stop the operation, or pass over the step and go on.
class CatalogError : public std::runtime_error {
  public:
    explicit CatalogError(const QString& message, CatalogFailureCause cause = CatalogFailureCause::General)
        : std::runtime_error(message.toStdString()), cause_(cause) {}
    QString message() const { return QString::fromStdString(what()); }
    CatalogFailureCause cause() const { return cause_; }

  private:
    CatalogFailureCause cause_;
};

// The catalogue file could not be opened (or made) without risk to what is there.
class CatalogOpenError : public CatalogError {
  public:
    enum class Reason {
        NotACatalogue,      // the file exists but is not one of our catalogues
        UnknownVersion,     // a catalogue written by a newer program
        ReadOnlyFile,       // the file cannot be written
        FolderNotWritable,  // the folder cannot take the catalogue or its journal
        CannotOpen,         // any other failure, described by `detail` (and by `cause` where known)
    };

    CatalogOpenError(Reason reason, QString path, QString detail,
                     CatalogFailureCause cause = CatalogFailureCause::General)
        : CatalogError(path + QStringLiteral(": ") + detail, cause),
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
