#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace vt {

struct DiscFile;

// Lists the windows save as CSV files. Each returns an empty text when the file was written whole, else
// what went wrong (whatever had the file's name before is then left as it was).
namespace ListExport {

// Rows of texts under a header row.
QString saveRows(const QString& path, const QStringList& header, const std::vector<QStringList>& rows);

// Catalogued files, as many as `produce` hands to the function it is given, one row each: recorded path,
// name, size in bytes, modification time (ISO 8601 UTC, empty when not known) and attributes. They are
// written as they come, never held together.
using FileProducer = std::function<void(const std::function<void(const DiscFile&)>& write)>;
QString saveFiles(const QString& path, const FileProducer& produce);

}  // namespace ListExport
}  // namespace vt
