#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdint>

#include "platform/FileSystem.h"

namespace vt {

class BankListAppender;
class ScanProgress;

// Walks a drive's tree and hands one BankList row per file to an appender, the way the catalogue has always
// been filled: depth-first, each folder's files before its subfolders, entries in the order the file system
// lists them, "." and ".." never entered. The walk keeps its own stack, so no tree is too deep.
//
// About every 15 ms of work the progress receiver runs (and with it the event loop). Files and folders that
// cannot be read are skipped and counted. A catalogue failure throws CatalogError.
//
// The appender, file system and progress receiver must outlive the scanner.
class DiskScanner {
  public:
    DiskScanner(BankListAppender& appender, FileSystem& fileSystem, ScanProgress& progress, QString diskName);
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

    Folder listFolder(const QString& dir, const QString& pattern);
    void collectSubfolders(const QString& dir, Folder& folder);
    void RecordFile(const QString& path, const FindData& entry);
    void afterEntry();

    BankListAppender& appender_;
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
