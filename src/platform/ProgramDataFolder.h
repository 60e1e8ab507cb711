#pragma once

#include <QString>

namespace vt {

// The places the program may keep its data in.
struct ProgramDataPlaces {
    QString programFolder;    // the folder the program runs from
    QString installedFolder;  // the folder `cmake --install` puts the programs in
    QString userDataFolder;   // the user's own folder for this program's data
};

// Where the program keeps its data file `fileName`. Beside the program, as it always has (a copy of the
// program carries its data with it), when the file is already there or the folder is the program's own to
// write in. A program installed for every user (its folder is the installed one, or cannot be written)
// keeps it in the user's data folder instead, made when missing: no one user's data belongs in a folder
// of programs.
QString programDataFolder(const ProgramDataPlaces& places, const QString& fileName);

// The same for this process: its folder, the folder it was installed to and the user's data folder.
QString programDataFolder(const QString& fileName);

}  // namespace vt
