#include "cli/RecordWriter.h"

#include "cli/CliArguments.h"
#include "cli/CommandOutput.h"
#include "platform/CsvFile.h"

namespace vt::cli {

namespace {

QString tsvField(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\\':
                result += QLatin1String("\\\\");
                break;
            case '\t':
                result += QLatin1String("\\t");
                break;
            case '\n':
                result += QLatin1String("\\n");
                break;
            case '\r':
                result += QLatin1String("\\r");
                break;
            default:
                result += c;
        }
    }
    return result;
}

QString jsonString(const QString& text) {
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '"':
                result += QLatin1String("\\\"");
                break;
            case '\\':
                result += QLatin1String("\\\\");
                break;
            case '\n':
                result += QLatin1String("\\n");
                break;
            case '\r':
                result += QLatin1String("\\r");
                break;
            case '\t':
                result += QLatin1String("\\t");
                break;
            default:
                if (c.unicode() < 0x20) {
                    result += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                } else {
                    result += c;
                }
        }
    }
    return result + QLatin1Char('"');
}

}  // namespace

QString numberText(const QVariant& value) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) return value.toString();
    if (number == double(qint64(number))) return QString::number(qint64(number));
    return QString::number(number, 'f', -1);
}

OutputFormat parseOutputFormat(const QString& name) {
    if (name == QLatin1String("tsv")) return OutputFormat::Tsv;
    if (name == QLatin1String("csv")) return OutputFormat::Csv;
    if (name == QLatin1String("json")) return OutputFormat::Json;
    throw UsageError(QStringLiteral("unknown format '%1': use tsv, csv or json").arg(name));
}

RecordWriter::RecordWriter(QTextStream& out, OutputFormat format, QStringList columns)
    : out_(out), format_(format), columns_(std::move(columns)) {
    if (format_ == OutputFormat::Tsv) out_ << columns_.join(QLatin1Char('\t')) << '\n';
    if (format_ == OutputFormat::Csv) out_ << columns_.join(QLatin1Char(',')) << "\r\n";
    requireWritten(out_);
}

void RecordWriter::write(const QStringList& fields, const QList<bool>& numeric, const QList<bool>& nullable) {
    QStringList parts;
    switch (format_) {
        case OutputFormat::Tsv:
            for (const QString& f : fields) parts << tsvField(f);
            out_ << parts.join(QLatin1Char('\t')) << '\n';
            break;
        case OutputFormat::Csv:
            for (const QString& f : fields) parts << CsvFile::field(f);
            out_ << parts.join(QLatin1Char(',')) << "\r\n";
            break;
        case OutputFormat::Json:
            for (int i = 0; i < fields.size() && i < columns_.size(); ++i) {
                const bool bare = numeric.value(i, false) && !fields[i].isEmpty();
                const bool null = nullable.value(i, false) && fields[i].isEmpty();
                parts << jsonString(columns_[i]) + QLatin1Char(':') +
                             (null   ? QStringLiteral("null")
                              : bare ? fields[i]
                                     : jsonString(fields[i]));
            }
            out_ << '{' << parts.join(QLatin1Char(',')) << "}\n";
            break;
    }
    requireWritten(out_);
}

}  // namespace vt::cli
