#include <gtest/gtest.h>

#include <QPersistentModelIndex>

#include "search/FolderFilesModel.h"

namespace vt::test {
namespace {

DiscFile file(const QString& name, double size, std::optional<qint64> modified = std::nullopt) {
    return DiscFile{0,       name, QStringLiteral("E:\\d\\") + name, size, QStringLiteral("ArchiveNormal"),
                    modified};
}

QStringList names(const FolderFilesModel& model) {
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result << model.data(model.index(row, FolderFilesModel::Name), Qt::DisplayRole).toString();
    return result;
}

std::vector<DiscFile> sample() {
    return {file(QStringLiteral("b.txt"), 9, 300), file(QStringLiteral("A.txt"), 10, std::nullopt),
            file(QStringLiteral("c.txt"), 1024 * 1024, 100)};
}

TEST(BrowseFiles, SizesAndDatesSortByValueNamesWithoutCaseAndTheSelectionFollowsItsFile) {
    FolderFilesModel model;
    model.setFiles(sample());
    model.sort(FolderFilesModel::Name, Qt::AscendingOrder);
    EXPECT_EQ(names(model), QStringList({"A.txt", "b.txt", "c.txt"}));

    const QPersistentModelIndex held(model.index(2, FolderFilesModel::Name));  // c.txt
    // By value, not by text: "10" would come before "9" as text, "1.0 MB" before "10 B".
    for (int column : {int(FolderFilesModel::Bytes), int(FolderFilesModel::Size)}) {
        model.sort(column, Qt::AscendingOrder);
        EXPECT_EQ(names(model), QStringList({"b.txt", "A.txt", "c.txt"})) << column;
    }
    EXPECT_EQ(held.row(), 2);
    model.sort(FolderFilesModel::Size, Qt::DescendingOrder);
    EXPECT_EQ(names(model), QStringList({"c.txt", "A.txt", "b.txt"}));
    EXPECT_EQ(held.row(), 0);
    EXPECT_EQ(held.data().toString(), QStringLiteral("c.txt"));
    EXPECT_EQ(model.data(model.index(0, FolderFilesModel::Size), Qt::DisplayRole).toString(),
              QChar(0x2066) + QStringLiteral("1.0 MB") + QChar(0x2069));

    // A file of unknown date sorts as the oldest.
    model.sort(FolderFilesModel::Modified, Qt::AscendingOrder);
    EXPECT_EQ(names(model), QStringList({"A.txt", "c.txt", "b.txt"}));
    EXPECT_EQ(model.data(model.index(0, FolderFilesModel::Modified), Qt::DisplayRole).toString(), QString());
}

TEST(BrowseFiles, FilterIgnoresCaseAndTheYehAndKafFormsAndKeepsTheSortOrder) {
    FolderFilesModel model;
    // Written with the Persian forms ی and ک; typed with the Arabic ones below.
    model.setFiles({file(QStringLiteral("کتاب موسیقی.pdf"), 3), file(QStringLiteral("README.md"), 2),
                    file(QStringLiteral("readme.txt"), 1), file(QStringLiteral("other"), 4)});
    model.sort(FolderFilesModel::Bytes, Qt::DescendingOrder);

    model.setFilterText(QStringLiteral("ReadMe"));
    EXPECT_EQ(names(model), QStringList({"README.md", "readme.txt"}));
    model.setFilterText(QStringLiteral("كتاب موسيقي"));
    EXPECT_EQ(names(model), QStringList({QStringLiteral("کتاب موسیقی.pdf")}));
    EXPECT_EQ(model.rowOf(QStringLiteral("E:\\d\\README.md")), -1);

    model.setFilterText(QString());
    EXPECT_EQ(names(model),
              QStringList({"other", QStringLiteral("کتاب موسیقی.pdf"), "README.md", "readme.txt"}));
    // New files of another folder come in under the same order and filter.
    model.setFilterText(QStringLiteral("x"));
    model.setFiles(
        {file(QStringLiteral("x1"), 1), file(QStringLiteral("y"), 5), file(QStringLiteral("x2"), 7)});
    EXPECT_EQ(names(model), QStringList({"x2", "x1"}));
    EXPECT_EQ(model.allFiles().size(), 3u);
}

TEST(BrowseFiles, DatesReadSolarHijriInPersianDigitsWithTheGregorianUtcDateInTheTooltip) {
    FolderFilesModel model;
    model.setFiles({file(QStringLiteral("nowruz.txt"), 1, 1711022400)});  // 2024-03-21 12:00 UTC
    const QModelIndex date = model.index(0, FolderFilesModel::Modified);
    // 1403/01/02, the day after the Persian new year, in any time zone within eleven hours of UTC.
    EXPECT_TRUE(model.data(date, Qt::DisplayRole)
                    .toString()
                    .startsWith(QChar(0x2066) +
                                QString::fromUtf16(u"\u06F1\u06F4\u06F0\u06F3/\u06F0\u06F1/\u06F0\u06F2 ")))
        << model.data(date, Qt::DisplayRole).toString().toStdString();
    EXPECT_EQ(model.data(date, Qt::ToolTipRole).toString(),
              QChar(0x2066) + QStringLiteral("2024-03-21 12:00 UTC") + QChar(0x2069));
}

TEST(BrowseFiles, FilterSkipsNonJoinersAndReadsPersianDigitsAsTheirValues) {
    FolderFilesModel model;
    model.setFiles({file(QString::fromUtf16(u"\u0645\u06CC\u200C\u062E\u0648\u0627\u0647\u0645 2.mp3"), 1),
                    file(QStringLiteral("other"), 2)});
    model.setFilterText(QString::fromUtf16(u"\u0645\u064A\u062E\u0648\u0627\u0647\u0645 \u06F2"));
    EXPECT_EQ(names(model).size(), 1);
}

}  // namespace
}  // namespace vt::test
