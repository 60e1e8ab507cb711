#pragma once

#include <QString>

namespace vt {

class Connection;
class DriveTable;
class FileSystem;
class Recordset;
class ScanProgress;

// What the user asked to catalogue, as the new-disk window shows it when the start button is clicked.
struct ScanRequest {
    QString driveRoot;  // such as "D:\"; empty when no drive is listed
    QString diskName;   // as typed, untrimmed
    QString serial;     // the serial text shown (stored as is)
    QString usedSize;   // the used-size text shown (stored as is)
};

enum class ScanOutcome {
    NoName,     // the name is empty or only blanks: nothing was opened
    NoDisc,     // no drive, not an optical drive, it shows zero used bytes or holds no readable medium:
                // nothing was opened
    NameTaken,  // a catalogued disc already matches the name: nothing was written
    DiscGone,   // the disc went away or became unreadable during the scan, or the drive holds another
                // one by its end: nothing of it was written
    Cancelled,  // the progress receiver asked to stop: nothing of the disc was written
    Finished,   // the disc's file rows and its Disks row are in the catalogue
};

struct ScanSummary {
    ScanOutcome outcome = ScanOutcome::NoDisc;
    long recorded = 0;  // files recorded (the Disks row's file count)
    long skipped = 0;   // files and folders that could not be read
    QString detail;     // DiscGone: how it showed (English, for the command line)
};

// A disc is found, searched and removed by its name, so a name must have more than blanks in it.
bool isUsableDiskName(const QString& name);

// Catalogues one disc, without any window: the checks, the walk and the writing of the start button.
// Everything from the name test to the Disks row happens in one write transaction on the given connection,
// while the rows are written on a thread of their own (BankListAppender). So a disc is in the catalogue
// whole or not at all, and no other writer can come between. The transaction stays open while the walk
// yields to the event loop: give the command a connection of its own, so that what the rest of the program
// does meanwhile on another connection never joins it (other writers are kept waiting until it ends).
//
// Files and folders that cannot be read are skipped and counted. A disc that goes away during the walk
// (or can no longer be read at all) fails the scan instead, as does a drive that no longer holds the same
// medium (same mount, same serial) when the walk ends: the outcome is then DiscGone. The progress receiver
// can stop the scan at any entry and right before the disc row is written: the outcome is then Cancelled.
//
// rsDisks and rsBankList are closed if open and reopened on the connection at every run, and left open
// after it. The references must outlive the command.
class ScanCommand {
  public:
    ScanCommand(Connection& connection, Recordset& rsDisks, Recordset& rsBankList, const DriveTable& drives,
                FileSystem& fileSystem);

    // Runs the whole command. Throws CatalogError when the catalogue fails; nothing of the disc is then
    // in the catalogue.
    ScanSummary run(const ScanRequest& request, ScanProgress& progress);

  private:
    Connection& connection_;
    Recordset& rsDisks_;
    Recordset& rsBankList_;
    const DriveTable& drives_;
    FileSystem& fileSystem_;
};

}  // namespace vt
