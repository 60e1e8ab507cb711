#include "catalog/postgres/PgResult.h"

#include "catalog/postgres/Libpq.h"

namespace vt {

namespace {

// Type OIDs of the built-in types (server/catalog/pg_type_d.h, which the client headers do not ship).
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700;

}  // namespace

void PgResult::Clear::operator()(pg_result* result) const {
    libpq().clear(result);
}

PgResult::PgResult(pg_result* result) : result_(result) {}
PgResult::~PgResult() = default;
PgResult::PgResult(PgResult&&) noexcept = default;
PgResult& PgResult::operator=(PgResult&&) noexcept = default;

int PgResult::rowCount() const {
    return libpq().ntuples(result_.get());
}

int PgResult::columnCount() const {
    return libpq().nfields(result_.get());
}

QString PgResult::columnName(int column) const {
    return QString::fromUtf8(libpq().fname(result_.get(), column));
}

QVariant PgResult::value(int row, int column) const {
    const PGresult* result = result_.get();
    if (libpq().getisnull(result, row, column)) return QVariant();
    const char* text = libpq().getvalue(result, row, column);
    switch (libpq().ftype(result, column)) {
        case kInt2:
        case kInt4:
        case kInt8:
        case kOid:
            return QVariant(qlonglong(QByteArray(text).toLongLong()));
        case kBool:
            return QVariant(qlonglong(text[0] == 't' ? 1 : 0));
        case kFloat4:
        case kFloat8:
        case kNumeric:
            // The server writes "Infinity" and "NaN", which QByteArray::toDouble reads as well.
            return QVariant(QByteArray(text).toDouble());
        default:
            return QVariant(QString::fromUtf8(text, libpq().getlength(result, row, column)));
    }
}

long long PgResult::affectedRows() const {
    return QByteArray(libpq().cmdTuples(result_.get())).toLongLong();
}

}  // namespace vt
