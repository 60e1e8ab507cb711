#include "search/ListExport.h"

#include "catalog/DiscTree.h"
#include "catalog/FileTimeText.h"
#include "platform/CsvFile.h"
#include "search/PlainDecimal.h"

namespace vt {
namespace ListExport {

QString saveRows(const QString& path, const QStringList& header, const std::vector<QStringList>& rows) {
    CsvFile file(path);
    file.writeRecord(header);
    for (const QStringList& row : rows) file.writeRecord(row);
    return file.commit();
}

QString saveFiles(const QString& path, const FileProducer& produce) {
    CsvFile file(path);
    file.writeRecord({QStringLiteral("Path"), QStringLiteral("Name"), QStringLiteral("Size"),
                      QStringLiteral("Modified"), QStringLiteral("Attributes")});
    produce([&file](const DiscFile& f) {
        file.writeRecord({f.path, f.name, plainDecimal(f.size), isoUtcText(f.modified), f.attributes});
    });
    return file.commit();
}

}  // namespace ListExport
}  // namespace vt
