#include "catalog/PathIndexQuery.h"

namespace vt {

const QString kPathIndexDiscRange = QStringLiteral(
    " AND p.rowid >= (SELECT min(_rowid_) FROM BankList WHERE DiskName = ?3)"
    " AND p.rowid <= (SELECT max(_rowid_) FROM BankList WHERE DiskName = ?3)");

QString pathIndexQuery(const std::string& token, bool prefix) {
    QString text = QString::fromUtf8(token.data(), qsizetype(token.size()));
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"') + (prefix ? QStringLiteral("*") : QString());
}

QString pathIndexQuery(const std::vector<IndexTerm>& terms, bool prefixes) {
    QString query;
    for (const IndexTerm& term : terms) {
        if (!query.isEmpty()) query += QLatin1String(" AND ");
        query += pathIndexQuery(term.token, prefixes);
    }
    return query;
}

}  // namespace vt
