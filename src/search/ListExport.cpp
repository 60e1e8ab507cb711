#include "search/ListExport.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace vt {
namespace ListExport {

// SCAFFOLD: replaced by the catalogue's CSV writer.
namespace {
QString field(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
QString line(const QStringList& values) {
    QStringList fields;
    for (const QString& v : values) fields << field(v);
    return fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}
}  // namespace

QString saveRows(const QString& path, const QStringList& header, const std::vector<QStringList>& rows) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    file.write("\xEF\xBB\xBF");
    file.write(line(header).toUtf8());
    for (const QStringList& row : rows) file.write(line(row).toUtf8());
    if (!file.commit()) return file.errorString();
    return {};
}

QString saveFiles(const QString& path, const FileProducer& produce) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    file.write("\xEF\xBB\xBF");
    file.write(line({QStringLiteral("Path"), QStringLiteral("Name"), QStringLiteral("Size"),
                     QStringLiteral("Modified"), QStringLiteral("Attributes")})
                   .toUtf8());
    produce([&](const ListedFile& f) {
        file.write(line({f.recordedPath, f.name, QString::number(qint64(f.size)), QString(), f.attributes}).toUtf8());
    });
    if (!file.commit()) return file.errorString();
    return {};
}

}  // namespace ListExport
}  // namespace vt
