#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

#include "platform/FileSystem.h"

namespace vt {

class Connection;
class Recordset;
class ScanProgress;
class Transaction;

// Walks a drive's tree and appends one row per file to an open BankList recordset, the way the catalogue
// has always been filled: depth-first, each folder's files before its subfolders, entries in the order the
// file system lists them, "." and ".." never entered. The walk keeps its own stack, so no tree is too deep.
//
// Rows are written in batches, one short transaction per time slice of about 15 ms; between slices the
// progress receiver runs (and with it the event loop), with no transaction open. Files and folders that
// cannot be read are skipped and counted. A catalogue failure throws CatalogError; the batch under way is
// rolled back.
//
// The connection, recordset, file system and progress receiver must outlive the scanner.
class DiskScanner {
  public:
    DiskScanner(Connection& connection, Recordset& rsBankList, FileSystem& fileSystem, ScanProgress& progress,
                QString diskName);
    ~DiskScanner();
    DiskScanner(const DiskScanner&) = delete;
    DiskScanner& operator=(const DiskScanner&) = delete;

    // Walks `folder` and everything below it, recording the files that match `pattern` ("*.*" for all);
    // subfolders are entered whatever the pattern. Returns with every row committed to the recordset's
    // target.
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
    void endBatch();

    Connection& connection_;
    Recordset& rsBankList_;
    FileSystem& fileSystem_;
    ScanProgress& progress_;
    QString diskName_;
    long recorded_ = 0;
    long skipped_ = 0;
    QElapsedTimer slice_;
    std::unique_ptr<Transaction> batch_;
};

}  // namespace vt
