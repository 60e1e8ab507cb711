#include "cli/RecordWriter.h"

#include "cli/CliArguments.h"
#include "cli/CommandOutput.h"
#include "platform/CsvFile.h"

namespace vt::cli {

namespace {

// The backslash escape that both TSV and JSON give these characters; empty for every other.
QLatin1String backslashEscape(QChar c) {
    switch (c.unicode()) {
        case '\\':
            return QLatin1String("\\\\");
        case '\t':
            return QLatin1String("\\t");
        case '\n':
            return QLatin1String("\\n");
        case '\r':
            return QLatin1String("\\r");
        default:
            return QLatin1String();
    }
}

QString tsvField(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const QLatin1String escape = backslashEscape(c);
        if (escape.isEmpty()) {
            result += c;
        } else {
            result += escape;
        }
    }
    return result;
}

QString jsonString(const QString& text) {
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        const QLatin1String escape = backslashEscape(c);
        if (c == QLatin1Char('"')) {
            result += QLatin1String("\\\"");
        } else if (!escape.isEmpty()) {
            result += escape;
        } else if (c.unicode() < 0x20) {
            result += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            result += c;
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
