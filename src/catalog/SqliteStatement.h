#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace vt {

// A prepared SQLite statement, finalised when the object goes. Throws CatalogError on failure.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, const QVariant& value);  // index counted from 1
    // Advances to the next row; false when the statement is done.
    bool step();
    void reset();
    int columnCount() const;
    QVariant column(int index) const;  // index counted from 0
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// The SQLite error of `db` as a readable text.
QString sqliteMessage(sqlite3* db);

// Runs statements that return no rows. Throws CatalogError.
void executeSql(sqlite3* db, const QString& sql);

}  // namespace vt
