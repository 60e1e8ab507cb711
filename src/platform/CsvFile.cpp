#include "platform/CsvFile.h"

#include "platform/ReplacingFile.h"

namespace vt {

CsvFile::CsvFile(const QString& path) : file_(std::make_unique<ReplacingFile>(path)) {
    if (!file_->open()) {
        openError_ = file_->errorString();
        return;
    }
    file_->write("\xEF\xBB\xBF");
}

CsvFile::~CsvFile() = default;

QString CsvFile::field(const QString& text) {
    static const QString special = QStringLiteral(",\"\r\n");
    bool needsQuotes = false;
    for (const QChar c : text) needsQuotes = needsQuotes || special.contains(c);
    if (!needsQuotes) return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

void CsvFile::writeRecord(const QStringList& fields) {
    if (!openError_.isEmpty()) return;
    QString record;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i) record += QLatin1Char(',');
        record += field(fields[i]);
    }
    record += QLatin1String("\r\n");
    file_->write(record.toUtf8());
}

QString CsvFile::commit() {
    if (!openError_.isEmpty()) return openError_;
    return file_->commit() ? QString() : file_->errorString();
}

}  // namespace vt
