#pragma once

#include <QStringList>

namespace vt {

class Connection;

// What a check of a catalogue found. Problems are faults of the file (the catalogue is not sound while
// there is one); notes are states that are in order but worth knowing.
struct CatalogCheckReport {
    qint64 disks = 0;
    qint64 rows = 0;
    QStringList problems;
    QStringList notes;

    bool sound() const { return problems.isEmpty(); }
};

// Checks an open catalogue without changing it: SQLite's own integrity check of the file, then what the
// program keeps true of it: every disc's file count equals its rows, every row belongs to a disc, no two
// discs share a name, and the path index lists exactly the rows it covers (besides removed rows waiting
// to leave it). A catalogue on a server is checked for what the program keeps true of its discs and rows,
// all counted in one snapshot; the server answers for its own storage and indexes. Works on a catalogue
// opened for reading. Throws CatalogError when the catalogue cannot be read.
CatalogCheckReport checkCatalogue(Connection& connection);

}  // namespace vt
