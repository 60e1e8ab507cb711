#pragma once

#include <QString>
#include <QTextStream>

namespace vt {
class AttachedImages;
class DriveTable;
class FileSystem;
}  // namespace vt

namespace vt::cli {

// Exit codes of the command-line companion.
enum ExitCode : int {
    kSuccess = 0,
    kNothingFound = 1,  // nothing matched, or the request was refused
    kUsageError = 2,
    kCatalogueError = 3,
    kOutputError = 4,    // the output could not be written whole (full disk, closed output, ...)
    kDiscGone = 5,       // the disc went away or became unreadable during a scan; nothing of it was recorded
    kInterrupted = 130,  // SIGINT stopped a scan; nothing of the disc was recorded (the shells' 128 + 2)
    kTerminated = 143,   // SIGTERM stopped a scan; likewise (128 + 15)
};

// What a command works with; the program wires the real terminal and drives, tests wire their own.
// Everything referenced must outlive the command.
struct CliEnvironment {
    QTextStream& out;
    QTextStream& err;
    QTextStream& in;               // answers to confirmations
    bool interactive = false;      // standard input and error are a terminal
    QString defaultCatalogFolder;  // where the windows' catalogue lives (see ProgramDataFolder)
    DriveTable& drives;
    FileSystem& fileSystem;
    // Where `scan IMAGE` and `drives --image` attach disc images (the same object as `drives`); null where
    // none can be.
    AttachedImages* images = nullptr;
};

}  // namespace vt::cli
