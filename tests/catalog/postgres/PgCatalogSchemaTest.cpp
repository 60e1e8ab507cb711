#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "catalog/CatalogError.h"
#include "catalog/SqliteStatement.h"
#include "catalog/TextMatch.h"
#include "catalog/postgres/PgCatalogSchema.h"
#include "catalog/postgres/PgConnection.h"
#include "catalog/postgres/PgFolding.h"
#include "support/CatalogFixture.h"
#include "support/PostgresFixture.h"

namespace vt {
namespace {

using PgCatalogSchemaTest = test::PostgresFixture;

// Fields are read by position, so the server's tables must have the file's columns in the file's order,
// with values of the same kinds; the row order column comes after them all.
TEST_F(PgCatalogSchemaTest, TablesHaveTheCatalogueFilesColumnsInItsOrder) {
    PgConnection db(connectionString);
    PgCatalogSchema::open(db);
    test::TempCatalogue file;
    for (const char* table : {"Disks", "BankList"}) {
        SCOPED_TRACE(table);
        SqliteStatement fileColumns(
            file.connection.handle(),
            QStringLiteral("SELECT lower(name), lower(type) FROM pragma_table_info(?1);"));
        fileColumns.bind(1, QString::fromLatin1(table));
        const PgResult serverColumns = db.exec(
            QStringLiteral("SELECT column_name, data_type FROM information_schema.columns WHERE table_name = "
                           "lower($1) ORDER BY ordinal_position;"),
            {QString::fromLatin1(table)});
        int column = 0;
        for (; fileColumns.step(); ++column) {
            ASSERT_LT(column, serverColumns.rowCount());
            EXPECT_EQ(serverColumns.value(column, 0), fileColumns.column(0));
            const QString fileType = fileColumns.column(1).toString();
            const QString serverType = serverColumns.value(column, 1).toString();
            const QString expected = fileType == QStringLiteral("real") ? QStringLiteral("double precision")
                                     : fileType == QStringLiteral("integer") ? QStringLiteral("bigint")
                                                                             : fileType;
            EXPECT_EQ(serverType, expected) << fileColumns.column(0).toString().toStdString();
        }
        // After the file's columns, the rows' order of arrival, and for the files their folded paths.
        ASSERT_EQ(serverColumns.rowCount(), column + (table == std::string("BankList") ? 2 : 1));
        EXPECT_EQ(serverColumns.value(column, 0), QVariant(QStringLiteral("rowid")));
    }
}

// The server's folding function folds as the program does: the path index finds what the program's own
// `like` matches only if the two never disagree. Every character the program folds or skips is asked, with
// every character of the blocks it knows (Latin, Greek, Cyrillic, Arabic, the marks and spaces) and a
// sample of all the rest.
TEST_F(PgCatalogSchemaTest, ServerFoldsEveryCharacterAsTheProgramDoes) {
    PgConnection db(connectionString);
    PgCatalogSchema::open(db);
    std::u32string asked;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        if (foldForMatch(c) != c || c < 0x0700 || (c >= 0x1E00 && c <= 0x2100) ||
            (c >= 0xFB50 && c <= 0xFFFF) || c % 251 == 0) {
            asked += c;
        }
    }
    // Where the first difference is, if any: the program's folding of `text` against the server's.
    const auto firstDifference = [&db](const QString& text) -> std::string {
        const QByteArray utf8 = text.toUtf8();
        std::vector<char32_t> folded;
        foldUtf8(std::string_view(utf8.constData(), size_t(utf8.size())), folded);
        std::u32string expected;
        for (char32_t c : folded) {
            if (c != kIgnoredInMatch) expected += c;
        }
        const std::u32string server =
            db.exec(QStringLiteral("SELECT vt_fold($1);"), {text}).value(0, 0).toString().toStdU32String();
        const size_t same =
            size_t(std::mismatch(server.begin(), server.end(), expected.begin(), expected.end()).first -
                   server.begin());
        if (same == expected.size() && same == server.size()) return {};
        std::ostringstream out;
        out << std::hex << "first difference: server U+" << uint32_t(same < server.size() ? server[same] : 0)
            << ", program U+" << uint32_t(same < expected.size() ? expected[same] : 0);
        return out.str();
    };
    EXPECT_EQ(firstDifference(QString::fromUcs4(asked.data(), qsizetype(asked.size()))), "");

    // Plain ASCII, and texts of the common characters alone, take shorter ways through the function.
    QString ascii;
    for (char16_t c = 1; c < 0x80; ++c) ascii += QChar(c);
    EXPECT_EQ(firstDifference(ascii), "");
    QString common = QStringLiteral("Aa");
    for (const CharacterRange& range : commonCharacters()) {
        for (char32_t c = range.first; c <= range.last; ++c) common += QChar(char16_t(c));
    }
    EXPECT_EQ(firstDifference(common), "");
}

// Opening again keeps the rows and mends a folding function that no longer folds as the program does; a
// database of another program, or a catalogue of a newer version, is refused and left as it was.
TEST_F(PgCatalogSchemaTest, OpeningAgainKeepsTheCatalogueAndRefusesWhatItDoesNotKnow) {
    {
        PgConnection db(connectionString);
        PgCatalogSchema::open(db);
        db.exec(QStringLiteral("INSERT INTO Disks (DiskName) VALUES ($1);"), {QStringLiteral("Backup")});
        const QString path = QStringLiteral("D:\\\u0643TAB");
        db.exec(QStringLiteral("INSERT INTO BankList (FilePath) VALUES ($1);"), {path});
        db.execScript(
            "CREATE OR REPLACE FUNCTION vt_fold(text) RETURNS text LANGUAGE sql IMMUTABLE AS "
            "$$ SELECT lower($1) $$;");
        db.exec(QStringLiteral("INSERT INTO BankList (FilePath) VALUES ($1);"), {path});
        PgCatalogSchema::open(db);
        EXPECT_EQ(db.exec(QStringLiteral("SELECT count(*) FROM Disks;")).value(0, 0), QVariant(qlonglong(1)));
        // The paths kept folded are folded anew, those folded the wrong way too.
        EXPECT_EQ(db.exec(QStringLiteral("SELECT count(*) FROM BankList WHERE FoldedPath = $1;"),
                          {QStringLiteral("d:\\\u06A9tab")})
                      .value(0, 0),
                  QVariant(qlonglong(2)));
        EXPECT_EQ(
            db.exec(QStringLiteral("SELECT vt_fold($1);"), {QStringLiteral("\u0643A\u200C")}).value(0, 0),
            QVariant(QStringLiteral("\u06A9a")));

        db.execScript("UPDATE CatalogueInfo SET Version = Version + 1;");
        try {
            PgCatalogSchema::open(db);
            FAIL() << "a newer catalogue was opened";
        } catch (const CatalogOpenError& e) {
            EXPECT_EQ(e.reason(), CatalogOpenError::Reason::UnknownVersion) << e.what();
        }
        EXPECT_FALSE(db.inTransaction());
    }
    QString error;
    const QString other = test::PrivatePostgresServer::shared().createDatabase(&error);
    ASSERT_FALSE(other.isEmpty()) << error.toStdString();
    PgConnection db(other);
    db.execScript("CREATE TABLE BankList (Account TEXT); INSERT INTO BankList VALUES ('theirs');");
    try {
        PgCatalogSchema::open(db);
        FAIL() << "another program's database was taken for a catalogue";
    } catch (const CatalogOpenError& e) {
        EXPECT_EQ(e.reason(), CatalogOpenError::Reason::NotACatalogue) << e.what();
    }
    EXPECT_EQ(db.exec(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE table_schema = "
                                     "'public';"))
                  .value(0, 0),
              QVariant(qlonglong(1)));
}

// A disc in a drive is looked up by serial and used size through an index; a catalogue made without it
// gains it when next opened for writing, never when only read.
TEST_F(PgCatalogSchemaTest, DiscsAreFoundBySerialAndSizeThroughAnIndexThatOlderCataloguesGain) {
    PgConnection db(connectionString);
    PgCatalogSchema::open(db);
    const auto indexed = [&] {
        return db
            .exec(
                QStringLiteral("SELECT count(*) FROM pg_indexes WHERE tablename = 'disks' AND indexdef LIKE "
                               "'%(serialno, disksize)';"))
            .value(0, 0)
            .toLongLong();
    };
    EXPECT_EQ(indexed(), 1);
    db.execScript("DROP INDEX Disks_SerialNo_DiskSize;");
    PgCatalogSchema::open(db, CatalogSchema::OpenMode::ReadOnly);
    EXPECT_EQ(indexed(), 0);
    PgCatalogSchema::open(db);
    EXPECT_EQ(indexed(), 1);
    PgCatalogSchema::open(db);
    EXPECT_EQ(indexed(), 1);
}

}  // namespace
}  // namespace vt
