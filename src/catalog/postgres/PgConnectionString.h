#pragma once

#include <QString>

namespace vt {

// Connection strings of catalogues kept on a PostgreSQL server: libpq's URI ("postgresql://user@host/db")
// or its key/value form ("host=... dbname=..."). They may hold a password; it is never shown: the program
// describes a server catalogue only through describeServerCatalogue, and every message that libpq gives
// passes through withoutPassword. (A password is best kept in libpq's password file, ~/.pgpass, or a
// service file, so that it is in no connection string at all.)

// Whether `text` names a catalogue on a PostgreSQL server rather than a catalogue file.
bool isPostgresConnectionString(const QString& text);

// Whether `connectionString` carries a password of its own (rather than leaving it to libpq's password or
// service file). A string libpq cannot read is judged by its shape.
bool holdsPassword(const QString& connectionString);

// "postgresql://user@host:port/database" with whatever parts the string gives, never its password; for
// messages and logs.
QString describeServerCatalogue(const QString& connectionString);

// `message` with every occurrence of the connection string's password replaced by "***".
QString withoutPassword(const QString& message, const QString& connectionString);

}  // namespace vt
