#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "platform/CsvFile.h"
#include "support/ChildProcess.h"

namespace vt {
namespace {

// The records of a CSV file as Python's csv module reads them.
QList<QStringList> readByPython(const QString& path) {
    QByteArray json;
    const QString failure =
        test::runTool(QStringLiteral("python3"),
                      {QStringLiteral("-c"),
                       QStringLiteral("import csv, json, sys\n"
                                      "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                      "    json.dump(list(csv.reader(f, strict=True)), sys.stdout)\n"),
                       path},
                      &json);
    EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
    QList<QStringList> records;
    for (const QJsonValue& record : QJsonDocument::fromJson(json).array()) {
        QStringList fields;
        for (const QJsonValue& field : record.toArray()) fields << field.toString();
        records << fields;
    }
    return records;
}

TEST(CsvFile, PythonReadsBackEveryFieldAsWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("نتايج.csv"));
    const QList<QStringList> records{
        {QStringLiteral("disc"), QStringLiteral("path"), QStringLiteral("size")},
        {QStringLiteral("ديسك يك"), QStringLiteral("D:\\موسيقي\\آهنگ \"يك\", دوم.mp3"),
         QStringLiteral("1234")},
        {QStringLiteral("CD,1"), QStringLiteral("D:\\line\nbreak\r\nand \r return"), QString()},
        {QStringLiteral("\"quoted\""), QStringLiteral(" blanks around "), QStringLiteral("O'Brien;x\ty")},
    };
    {
        CsvFile csv(path);
        for (const QStringList& record : records) csv.writeRecord(record);
        EXPECT_EQ(csv.commit(), QString());
    }
    EXPECT_EQ(readByPython(path), records);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("\xEF\xBB\xBF"));
}

TEST(CsvFile, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft) {
    QTemporaryDir dir;
    CsvFile csv(dir.filePath(QStringLiteral("no such folder/rows.csv")));
    csv.writeRecord({QStringLiteral("a")});
    EXPECT_NE(csv.commit(), QString());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("no such folder"))));
}

}  // namespace
}  // namespace vt
