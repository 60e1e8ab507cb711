#pragma once

#include <QStringList>
#include <QTextStream>
#include <QVariant>

namespace vt::cli {

enum class OutputFormat { Tsv, Csv, Json };

// A stored number as text: whole numbers without a fraction or exponent (5368709120), others as they are.
QString numberText(const QVariant& value);

// Parses "tsv", "csv" or "json"; throws UsageError otherwise.
OutputFormat parseOutputFormat(const QString& name);

// Writes listings one record per line, so that any field text (tabs, commas, quotes, newlines) keeps every
// record whole: TSV escapes \t \n \r and the backslash, CSV quotes as RFC 4180 says, JSON writes one
// object per line. TSV and CSV start with a header line of the column names.
class RecordWriter {
  public:
    RecordWriter(QTextStream& out, OutputFormat format, QStringList columns);

    // A record of as many fields as there are columns. Numbers are written bare in JSON, and an empty field
    // of a nullable column (a value not known) as null. Throws OutputError when the output has failed (the
    // header, too, is checked).
    void write(const QStringList& fields, const QList<bool>& numeric = {}, const QList<bool>& nullable = {});

  private:
    QTextStream& out_;
    OutputFormat format_;
    QStringList columns_;
};

}  // namespace vt::cli
