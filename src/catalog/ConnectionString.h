#pragma once

#include <QString>

namespace vt {

// The connection string of the catalogue, built from the program's folder exactly as the program
// always has: provider, data source (folder + "\Mydb.mdb;"), an empty element, the password element.
QString buildConnectionString(const QString& programFolder);

// The catalogue file named by the "data source" element of a connection string, as a native path:
// backslashes become '/', and the doubled separator of a program at the root collapses.
// Returns an empty string when the element is missing.
QString dataSourcePath(const QString& connectionString);

}  // namespace vt
