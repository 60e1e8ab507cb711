#include "catalog/ConnectionString.h"

#include <QRegularExpression>

namespace vt {

QString buildConnectionString(const QString& programFolder) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;data source=") + programFolder +
           QStringLiteral("\\Mydb.mdb;") + QStringLiteral(";Jet OLEDB:Database Password=tandrimo");
}

QString dataSourcePath(const QString& connectionString) {
    const auto elements = connectionString.split(QLatin1Char(';'));
    for (const QString& element : elements) {
        const int eq = element.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        if (element.left(eq).trimmed().compare(QLatin1String("data source"), Qt::CaseInsensitive) != 0) {
            continue;
        }
        QString path = element.mid(eq + 1).trimmed();
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        static const QRegularExpression repeatedSeparators(QStringLiteral("/{2,}"));
        path.replace(repeatedSeparators, QStringLiteral("/"));
        return path;
    }
    return {};
}

}  // namespace vt
