#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <stdexcept>

#include "platform/FileSystem.h"

namespace vt {

class BankListSink;
class ScanProgress;

// The medium under a walk went away, or can no longer be read at all, before the walk ended: what was
// walked of it must not be recorded as the disc.
class MediumGoneError : public std::runtime_error {
  public:
    explicit MediumGoneError(const QString& detail) : std::runtime_error(detail.toStdString()) {}
    // Where and how it showed, for the command line and logs (English).
    QString detail() const { return QString::fromStdString(what()); }
};

// The receiver of the progress asked to stop: what was walked must not be recorded.
class ScanCancelled : public std::runtime_error {
  public:
    ScanCancelled() : std::runtime_error("the scan was cancelled") {}
};

// Walks a drive's tree and hands one BankList row per file to a sink (an appender), the way the catalogue has
// always been filled: depth-first, each folder's files before its subfolders, entries in the order the file
// system lists them, "." and ".." never entered. The walk keeps its own stack, so no tree is too deep, and
// reads through one DriveWalk of the file system, relative to the folder it began at.
//
// About every 15 ms of work the progress receiver runs (and with it the event loop). Files and folders that
// cannot be read are skipped and counted; a medium that goes away throws MediumGoneError. A catalogue
// failure throws CatalogError. After every entry the receiver is asked whether to stop; if so the walk
// throws ScanCancelled.
//
// The appender, file system and progress receiver must outlive the scanner.
class DiskScanner {
  public:
    DiskScanner(BankListSink& appender, FileSystem& fileSystem, ScanProgress& progress, QString diskName);
    ~DiskScanner();
    DiskScanner(const DiskScanner&) = delete;
    DiskScanner& operator=(const DiskScanner&) = delete;

    // Walks `folder` and everything below it, recording the files that match `pattern` ("*.*" for all);
    // subfolders are entered whatever the pattern. Returns with every row handed to the appender.
    void ScanFolder(const QString& folder, const QString& pattern);

    long recorded() const { return recorded_; }
    // Files that could not be measured and folders that could not be listed (each counts once).
    long skipped() const { return skipped_; }

  private:
    struct Folder;

    void listFolder(DriveWalk& walk, Folder& folder, const QString& pattern);
    void collectSubfolders(DriveWalk& walk, Folder& folder);
    void RecordFile(const QString& path, const FindData& entry);
    void afterEntry();

    BankListSink& appender_;
    FileSystem& fileSystem_;
    ScanProgress& progress_;
    QString diskName_;
    long recorded_ = 0;
    long skipped_ = 0;
    QElapsedTimer slice_;
    std::uint32_t lastAttributes_ = 0;
    QString lastAttributeText_;
};

}  // namespace vt
