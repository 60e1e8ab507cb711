#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "catalog/BankListAppender.h"
#include "scan/DiscDifferences.h"
#include "scan/DriveDetails.h"

namespace vt {

class Connection;
class DriveTable;
class FileSystem;
class ScanProgress;

// Brings a catalogued disc up to date with what the medium in a drive holds now, in two steps so that the
// user can see the differences before anything changes: read() walks the medium into memory and compares
// it with the disc's rows, writing nothing; apply() then replaces the disc's file rows and its Disks row's
// serial, size, file count, label, file system and cataloguing time in one transaction, keeping its name. The
// references must outlive the object.
class DiscUpdate {
  public:
    enum class ReadOutcome {
        Read,         // differences() tells what changed
        NoDisc,       // the drive holds no readable medium
        UnknownDisc,  // no catalogued disc has the name
        DiscGone,     // the medium went away during the walk (detail() says how)
        Cancelled,    // the progress receiver asked to stop
    };

    DiscUpdate(Connection& connection, const DriveTable& drives, FileSystem& fileSystem);

    // Walks the medium in `root` for the disc catalogued as `name` (found as a scan's name test finds it,
    // case ignored). Throws CatalogError.
    ReadOutcome read(const QString& root, const QString& name, ScanProgress& progress);

    // After a successful read():
    const QString& name() const { return storedName_; }  // as catalogued
    const DiscDifferences& differences() const { return differences_; }
    long files() const { return long(now_.size()); }
    long skipped() const { return skipped_; }
    const QString& detail() const { return detail_; }

    // Replaces the disc's rows with what read() found: all of it or nothing. False, with nothing changed,
    // when the drive no longer holds the medium that was read. `beforeEachBatch` runs on the writer thread
    // before each batch of rows (see BankListAppender). Throws CatalogError; nothing is changed then.
    bool apply(std::function<void()> beforeEachBatch = {});

  private:
    // How the disc asked for as `name` is stored (the first catalogued of its spellings), if it is.
    std::optional<QString> storedDiscName(const QString& name);
    // Takes out the disc's rows and gives its disc row the medium's facts.
    void replaceDiscRow();

    Connection& connection_;
    const DriveTable& drives_;
    FileSystem& fileSystem_;
    QString root_;
    QString medium_;
    DriveDetails details_;
    QString storedName_;
    std::vector<QString> spellings_;
    std::vector<BankListRow> now_;
    DiscDifferences differences_;
    long skipped_ = 0;
    QString detail_;
};

}  // namespace vt
