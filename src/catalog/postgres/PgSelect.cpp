#include "catalog/postgres/PgSelect.h"

#include <QRegularExpression>

#include "catalog/CatalogError.h"
#include "catalog/FoldedText.h"
#include "catalog/PathSearch.h"
#include "catalog/SelectRouting.h"

namespace vt {

namespace {

// The folded comparisons of the catalogue's `like` and of a disc's name; a path is kept folded beside it.
constexpr const char kLike[] = "vt_fold(%1) LIKE vt_fold(%2) ESCAPE ''";
constexpr const char kPathLike[] = "FoldedPath LIKE vt_fold(%1) ESCAPE ''";
constexpr const char kSameName[] = "vt_fold(DiskName) = vt_fold(%1)";
// The same two with the text folded by the program, as vt_fold would: planning a statement inlines every
// vt_fold of a constant, which costs more than a search for a missing text takes to run.
constexpr const char kFoldedPathLike[] = "FoldedPath LIKE %1 ESCAPE ''";
constexpr const char kSameFoldedName[] = "vt_fold(DiskName) = %1";

// Replaces every single-quoted literal of `statement` by $1, $2, ... (numbered on from `parameters`'
// size), its text undoubled into `parameters`. Throws CatalogError for an unterminated literal.
QString literalsAsParameters(const QString& statement, std::vector<QVariant>& parameters) {
    QString result;
    for (qsizetype i = 0; i < statement.size(); ++i) {
        if (statement[i] != QLatin1Char('\'')) {
            result += statement[i];
            continue;
        }
        QString value;
        for (++i;; ++i) {
            if (i >= statement.size())
                throw CatalogError(QStringLiteral("unterminated text in: ") + statement);
            if (statement[i] == QLatin1Char('\'')) {
                if (i + 1 < statement.size() && statement[i + 1] == QLatin1Char('\'')) {
                    value += QLatin1Char('\'');
                    ++i;
                    continue;
                }
                break;
            }
            value += statement[i];
        }
        parameters.emplace_back(value);
        result += QStringLiteral("$%1").arg(parameters.size());
    }
    return result;
}

QString withoutFinalSemicolon(QString text) {
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(';'))) text = text.chopped(1).trimmed();
    return text;
}

// `search` through the path index alone, for a plan made once: ordered by an expression, the rows cannot
// come from the rowid index in order, which leaves the path index as the way in for any text, intersected
// with the name index for one disc. The pattern takes LIKE's own escape character, the backslash, doubled:
// no ESCAPE clause to evaluate again for every row the index finds.
PgSelect::ThroughPathIndex throughPathIndex(const PathSearch& search, const QString& columns) {
    PgSelect::ThroughPathIndex indexed;
    indexed.foldedPattern = foldedText(search.pattern);
    indexed.limit = search.limit;
    indexed.parameters = {QString(indexed.foldedPattern).replace(QLatin1Char('\\'), QStringLiteral("\\\\"))};
    QString condition = QStringLiteral("FoldedPath LIKE $1");
    if (search.diskName) {
        indexed.parameters.emplace_back(foldedText(*search.diskName));
        condition += QStringLiteral(" AND ") + QString::fromLatin1(kSameFoldedName).arg(QStringLiteral("$2"));
    }
    indexed.name = (search.diskName ? "vt_disc_path_search_" : "vt_path_search_") +
                   QByteArray::number(qlonglong(search.limit));
    indexed.sql = QStringLiteral("SELECT RowId, %1 FROM BankList WHERE %2 ORDER BY RowId + 0 LIMIT %3")
                      .arg(columns, condition)
                      .arg(search.limit);
    return indexed;
}

PgSelect pathSearch(const PathSearch& search) {
    PgSelect select;
    select.table = QStringLiteral("BankList");
    select.parameters = {foldedText(search.pattern)};
    const QString columns = pgCatalogueColumns(select.table);
    select.throughPathIndex = throughPathIndex(search, columns);
    if (!search.diskName) {
        select.sql = QStringLiteral("SELECT RowId, %1 FROM BankList WHERE %2 ORDER BY RowId LIMIT %3")
                         .arg(columns, QString::fromLatin1(kFoldedPathLike).arg(QStringLiteral("$1")))
                         .arg(search.limit);
        return select;
    }
    // Within one disc only the disc's rows are tested, found through the name index: a disc's rows lie
    // together, so this costs what the disc holds. Left to itself the planner cannot know that they lie
    // together and intersects the name index with the path index instead, which for a common text means
    // collecting every row of the catalogue that holds it (tens of milliseconds at a million rows). The
    // path is compared in the "C" collation, which the path index was not made in, so that the planner
    // does not consider it.
    select.parameters.emplace_back(foldedText(*search.diskName));
    select.sql = QStringLiteral(
                     "SELECT RowId, %1 FROM BankList WHERE %2 AND FoldedPath COLLATE \"C\" LIKE $1 "
                     "ESCAPE '' ORDER BY RowId LIMIT %3")
                     .arg(columns, QString::fromLatin1(kSameFoldedName).arg(QStringLiteral("$2")))
                     .arg(search.limit);
    return select;
}

PgSelect general(const QString& source) {
    static const QRegularExpression head(QStringLiteral("^\\s*select\\s+(?:top\\s+(\\d+)\\s+)?"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression starFrom(QStringLiteral("^\\*\\s*from\\s+([A-Za-z_][A-Za-z0-9_]*)\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression like(QStringLiteral("\\b([A-Za-z_][A-Za-z0-9_.]*)\\s+like\\s+(\\$\\d+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression foldedPath(
        QStringLiteral("vt_fold\\(FilePath\\) LIKE vt_fold\\((\\$\\d+)\\) ESCAPE ''"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);

    const QRegularExpressionMatch headMatch = head.match(source);
    if (!headMatch.hasMatch()) throw CatalogError(QStringLiteral("not a select statement: ") + source);
    PgSelect select;
    QString body = withoutFinalSemicolon(
        literalsAsParameters(source.mid(headMatch.capturedLength()), select.parameters));
    body.replace(like, QString::fromLatin1(kLike).arg(QStringLiteral("\\1"), QStringLiteral("\\2")));
    body.replace(foldedPath, QString::fromLatin1(kPathLike).arg(QStringLiteral("\\1")));

    const QRegularExpressionMatch star = starFrom.match(body);
    if (star.hasMatch() && !pgCatalogueColumns(star.captured(1)).isEmpty()) {
        // The catalogue's rows: their identity first, the catalogue's columns, in order of arrival.
        select.table = star.captured(1);
        body = pgCatalogueColumns(select.table) + body.mid(1);
        select.sql = QStringLiteral("SELECT RowId, ") + body;
        if (!orderBy.match(body).hasMatch()) select.sql += QStringLiteral(" ORDER BY RowId");
    } else {
        // Anything else (a count, a list of columns) has no row identity to give.
        select.sql = QStringLiteral("SELECT NULL::bigint, ") + body;
    }
    if (headMatch.capturedLength(1) > 0) select.sql += QStringLiteral(" LIMIT ") + headMatch.captured(1);
    return select;
}

}  // namespace

QString pgCatalogueColumns(const QString& table) {
    if (table.compare(QLatin1String("BankList"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("DiskName, FileName, FilePath, FileSize, FileAttr, FileModified");
    }
    if (table.compare(QLatin1String("Disks"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral(
            "DiskName, SerialNo, DiskSize, FileCount, VolumeLabel, FileSystem, CataloguedAt");
    }
    return {};
}

PgSelect PgSelect::translate(const QString& source) {
    if (source.contains(QChar(0)))
        throw CatalogError(QStringLiteral("a statement cannot hold a zero character"));
    if (const std::optional<PathSearch> search = PathSearch::recognise(source)) return pathSearch(*search);
    if (const auto rows = rowsOfOneDisc(source)) {
        PgSelect select;
        select.table = rows->first;
        select.parameters = {rows->second};
        select.sql = QStringLiteral("SELECT RowId, %1 FROM %2 WHERE %3 ORDER BY RowId")
                         .arg(pgCatalogueColumns(rows->first), rows->first,
                              QString::fromLatin1(kSameName).arg(QStringLiteral("$1")));
        return select;
    }
    return general(source);
}

}  // namespace vt
