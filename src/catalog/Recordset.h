#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace vt {

class Connection;
class Recordset;
class SqliteStatement;

// One field of the current row, by position counted from 0.
class Field {
  public:
    QVariant Value() const;
    // Only a row begun with AddNew can be given values.
    void setValue(const QVariant& value);

  private:
    friend class Recordset;
    Field(Recordset& owner, int index) : owner_(owner), index_(index) {}
    Recordset& owner_;
    int index_;
};

// The rows of one statement, held on the client side as the program's recordsets always were, so that
// RecordCount is exact at once. A recordset opened on a statement over one table knows that table:
// AddNew/Update insert into it and Delete removes the current row from it.
//
// The dialect is the catalogue program's: "select top N ..." limits the rows, `like` matches with '%'
// and '_' regardless of case, names of tables and columns ignore case. Searches by part of a path go
// through the path index when the connection allows it (PathSearchRouter), with the same rows as the
// statement itself gives. On a catalogue on a PostgreSQL server the same statements give the same rows in
// the same order (PgSelect). Every failure throws CatalogError.
// The connection must outlive the open recordset.
class Recordset {
  public:
    static constexpr int adOpenDynamic = 2;
    static constexpr int adLockOptimistic = 3;
    static constexpr int adCmdUnspecified = -1;
    static constexpr int adAffectCurrent = 1;

    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void Open(const QString& source, Connection& activeConnection, int cursorType = adOpenDynamic,
              int lockType = adLockOptimistic, int options = adCmdUnspecified);
    // 0 when closed, 1 when open.
    int State() const { return open_ ? 1 : 0; }
    // Closes; a row begun with AddNew and not updated is dropped.
    void Close();

    long RecordCount() const;
    void MoveFirst();
    void MoveNext();
    bool EOF_() const;
    // Row n, counted from 1 among the rows not deleted, becomes current.
    void setAbsolutePosition(long n);

    Field Fields(int index) { return Field(*this, index); }
    int fieldCount() const { return columnCount_; }

    void AddNew();
    void Update();
    void Delete(int affectRecords = adAffectCurrent);

    // The statement last given to Open, as given (also when the store refused it).
    const QString& Source() const { return source_; }

  private:
    friend class Field;
    struct Row {
        qint64 rowid = 0;
        std::vector<QVariant> values;
        bool deleted = false;
    };

    void requireOpen() const;
    Row& currentRow();
    long nextLiveIndex(long from) const;

    Connection* connection_ = nullptr;
    bool open_ = false;
    QString source_;
    QString table_;
    int columnCount_ = 0;
    std::vector<Row> rows_;
    long current_ = 0;  // index into rows_; rows_.size() means past the end
    bool adding_ = false;
    std::vector<QVariant> pending_;
    std::unique_ptr<SqliteStatement> insert_;
    std::unique_ptr<SqliteStatement> delete_;
};

// Translates a statement of the program's dialect into what SQLite runs: "select top N" becomes a
// LIMIT, and the row identity is read first so that rows can be deleted. Exposed for tests.
QString translateSelect(const QString& source, QString* tableName);

}  // namespace vt
