#pragma once

#include <QString>
#include <QVariant>
#include <memory>

struct pg_result;

namespace vt {

// The rows of one statement run on a PostgreSQL server, freed when the object goes. Values come as the
// SQLite catalogue gives them, so that readers need not know the engine: integers as qlonglong, floating
// point as double, NULL as an invalid QVariant, everything else as text.
class PgResult {
  public:
    explicit PgResult(pg_result* result);
    ~PgResult();
    PgResult(PgResult&&) noexcept;
    PgResult& operator=(PgResult&&) noexcept;

    int rowCount() const;
    int columnCount() const;
    QString columnName(int column) const;
    QVariant value(int row, int column) const;  // both counted from 0
    // The rows an INSERT, UPDATE or DELETE touched.
    long long affectedRows() const;

  private:
    struct Clear {
        void operator()(pg_result* result) const;
    };
    std::unique_ptr<pg_result, Clear> result_;
};

}  // namespace vt
