#pragma once

#include <QString>

namespace vt {

// Where the window program takes its catalogue from: the file Mydb.mdb in its data folder, unless the
// settings file in that folder, vellumtrove.conf, names a catalogue on a PostgreSQL server in a line
// "catalog=postgresql://host/dbname". A file in the data folder is found by whoever looks for the
// catalogue, and the about window names it; no password may stand in it (see Problem::HoldsPassword).
struct CatalogueSetting {
    enum class Problem {
        None,
        Unreadable,     // the settings file is there but cannot be read (`detail` says why)
        FaultyLine,     // line `line` is neither a comment nor "key=value", or repeats a key
        UnknownKey,     // a key other than "catalog" (`detail`)
        NotAServer,     // "catalog" names no "postgresql://" address
        HoldsPassword,  // the address carries a password, which belongs in ~/.pgpass or a service file
    };

    static constexpr const char* kFileName = "vellumtrove.conf";

    QString settingsFile;      // where the setting lives, whether or not the file is there
    QString connectionString;  // the catalogue to open; empty unless `problem` is None
    Problem problem = Problem::None;
    int line = 0;
    QString detail;

    bool onServer() const;
};

// The setting of the program whose data folder is `dataFolder` (see ProgramDataFolder). Settings with any
// fault name no catalogue at all: opening the file instead would put the user's discs where the others
// sharing the server never see them.
CatalogueSetting readCatalogueSetting(const QString& dataFolder);

}  // namespace vt
