#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace vt {

class ReplacingFile;

// A CSV file as RFC 4180 describes it, in UTF-8 with a byte-order mark so that spreadsheet programs read
// Persian names as such: fields holding a comma, a quote or a line break are quoted with their quotes
// doubled, records end with CRLF. It appears under its name only when complete (ReplacingFile): a failure
// at any point leaves whatever had that name before untouched.
class CsvFile {
  public:
    explicit CsvFile(const QString& path);
    ~CsvFile();
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;

    // Adds one record. Failures are kept for commit().
    void writeRecord(const QStringList& fields);
    // Puts the file in place. Returns why it could not be, empty when it is there.
    QString commit();

    // One field as it stands in a record.
    static QString field(const QString& text);

  private:
    std::unique_ptr<ReplacingFile> file_;
    QString openError_;
};

}  // namespace vt
