#pragma once

#include <QString>

namespace vt {

class AttachedImages;
class DriveTable;
class FileSystem;
class MessageService;
class Shell;
class SystemColors;

// Everything the operating system gives the program. Windows and controls reach the OS only through
// these references; the program wires real implementations, tests wire fakes.
// The referenced services must outlive every window that uses them.
struct Platform {
    MessageService& messages;
    DriveTable& drives;
    FileSystem& fileSystem;
    Shell& shell;
    SystemColors& systemColors;
    QString programFolder;  // the folder the program runs from, without a trailing separator
    // Where disc images are attached as drives (the same object as `drives`); null where none can be.
    AttachedImages* images = nullptr;
    // Where the program keeps its data (ProgramDataFolder); empty for the program's folder.
    QString dataFolder{};
};

}  // namespace vt
