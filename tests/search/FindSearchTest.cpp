#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>

#include "FindWindowFixture.h"
#include "app/WindowRegistry.h"
#include "button/MyButton.h"
#include "catalog/ConnectionString.h"
#include "catalog/SqliteStatement.h"

namespace vt::test {
namespace {

const QString kAllDisks = QStringLiteral("همه ديسكهاي موجود");
const QString kNoSearchText = QStringLiteral("كلمه اي براي جستجو وارد نشده");

using FindSearch = FindWindowFixture;

TEST_F(FindSearch, DiscListOffersAllDiscsThenEachDiscInCatalogueOrder) {
    addDisk(QStringLiteral("Music1"));
    addDisk(QStringLiteral("آرشيو"));
    addDisk(QStringLiteral("Backup 2"));
    loadWindow();
    EXPECT_EQ(comboEntries(), QStringList({kAllDisks, QStringLiteral("Music1"), QStringLiteral("آرشيو"),
                                           QStringLiteral("Backup 2")}));
    EXPECT_EQ(combo1().currentIndex(), 0);
    EXPECT_FALSE(combo1().isEditable());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(FindSearch, StatementsForAllDiscsOneDiscAndBlanksAreSentAsWritten) {
    addDisk(QStringLiteral("Music1"));
    addDisk(QStringLiteral("Other"));
    addFile(QStringLiteral("Music1"), QStringLiteral("D:\\Pop\\a.mp3"), 4000.0);
    addFile(QStringLiteral("Other"), QStringLiteral("E:\\b.mp3"), 5368709120.0);
    addFile(QStringLiteral("Other"), QStringLiteral("E:\\two   blanks.txt"));
    loadWindow();

    search(QStringLiteral("mp3"));
    EXPECT_EQ(sent(), QStringLiteral("Select top 2000 * from Banklist Where( FilePath Like '%mp3%');"));
    EXPECT_EQ(column(0), QStringList({QStringLiteral("D:\\Pop\\a.mp3"), QStringLiteral("E:\\b.mp3")}));
    EXPECT_EQ(column(1), QStringList({QStringLiteral("Music1"), QStringLiteral("Other")}));
    // Sizes are whole byte counts written out, never in exponent form.
    EXPECT_EQ(column(2), QStringList({QStringLiteral("4000"), QStringLiteral("5368709120")}));

    search(QStringLiteral("mp3"), 1);
    EXPECT_EQ(sent(),
              QStringLiteral(
                  "Select top 2000 * from Banklist  Where (Diskname='Music1'  And  FilePath Like '%mp3%');"));
    EXPECT_EQ(column(0), QStringList({QStringLiteral("D:\\Pop\\a.mp3")}));

    search(QStringLiteral("   "));
    EXPECT_EQ(sent(), QStringLiteral("Select top 2000 * from Banklist Where( FilePath Like '%   %');"));
    EXPECT_EQ(column(0), QStringList({QStringLiteral("E:\\two   blanks.txt")}));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(FindSearch, WithoutDiscsTheListStaysEmptyAndSearchUsesAnEmptyDiscName) {
    addFile(QStringLiteral("Gone"), QStringLiteral("D:\\left\\over.mp3"));
    loadWindow();
    EXPECT_EQ(combo1().count(), 0);
    EXPECT_EQ(combo1().currentIndex(), -1);

    search(QStringLiteral("mp3"), -1);
    EXPECT_EQ(
        sent(),
        QStringLiteral("Select top 2000 * from Banklist  Where (Diskname=''  And  FilePath Like '%mp3%');"));
    EXPECT_EQ(listView1().topLevelItemCount(), 0);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(FindSearch, EmptyTextClearsTheListAndSendsNothing) {
    addDisk(QStringLiteral("CD"));
    addFile(QStringLiteral("CD"), QStringLiteral("D:\\a.txt"));
    loadWindow();
    search(QStringLiteral("a"));
    ASSERT_EQ(listView1().topLevelItemCount(), 1);
    const QString before = sent();

    search(QString());
    EXPECT_EQ(listView1().topLevelItemCount(), 0);
    EXPECT_EQ(sent(), before);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].kind, MessageKind::Information);
    EXPECT_EQ(fake.messages.shown[0].text, kNoSearchText);
}

TEST_F(FindSearch, AtMostTwoThousandRowsInCatalogueOrderAndNewSearchReplacesOld) {
    addDisk(QStringLiteral("Big"));
    addFiles(QStringLiteral("Big"), QStringLiteral("D:\\songs\\track%1.mp3"), 2500);
    addFile(QStringLiteral("Big"), QStringLiteral("D:\\docs\\letter.doc"));
    loadWindow();

    search(QStringLiteral("track"));
    ASSERT_EQ(listView1().topLevelItemCount(), 2000);
    EXPECT_EQ(listView1().topLevelItem(0)->text(0), QStringLiteral("D:\\songs\\track0.mp3"));
    EXPECT_EQ(listView1().topLevelItem(1999)->text(0), QStringLiteral("D:\\songs\\track1999.mp3"));

    search(QStringLiteral("letter"));
    EXPECT_EQ(column(0), QStringList({QStringLiteral("D:\\docs\\letter.doc")}));

    search(QStringLiteral("nowhere"));
    EXPECT_EQ(listView1().topLevelItemCount(), 0);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(FindSearch, QuotesInTextAndDiscNameFindTheirOwnRows) {
    addDisk(QStringLiteral("Tom's CD"));
    addFile(QStringLiteral("Tom's CD"), QStringLiteral("D:\\Music\\O'Brien\\song.mp3"));
    addFile(QStringLiteral("Tom's CD"), QStringLiteral("D:\\Music\\OBrien.mp3"));
    addFile(QStringLiteral("Other"), QStringLiteral("D:\\O'Brien.txt"));
    loadWindow();

    search(QStringLiteral("O'Brien"));
    EXPECT_EQ(column(0), QStringList({QStringLiteral("D:\\Music\\O'Brien\\song.mp3"),
                                      QStringLiteral("D:\\O'Brien.txt")}));
    search(QStringLiteral("O'Brien"), 1);
    EXPECT_EQ(column(0), QStringList({QStringLiteral("D:\\Music\\O'Brien\\song.mp3")}));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(FindSearch, RejectedStatementIsReportedAndTheWindowStaysUsable) {
    addDisk(QStringLiteral("CD"));
    addFile(QStringLiteral("CD"), QStringLiteral("D:\\a.mp3"));
    loadWindow();
    search(QStringLiteral("mp3"));
    ASSERT_EQ(listView1().topLevelItemCount(), 1);

    context.cnCatalog.Execute(QStringLiteral("ALTER TABLE BankList RENAME TO Elsewhere;"));
    search(QStringLiteral("mp3"));
    EXPECT_EQ(listView1().topLevelItemCount(), 0);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].kind, MessageKind::Information);
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith(QStringLiteral("جستجو انجام نشد")));

    context.cnCatalog.Execute(QStringLiteral("ALTER TABLE Elsewhere RENAME TO BankList;"));
    search(QStringLiteral("mp3"));
    EXPECT_EQ(listView1().topLevelItemCount(), 1);
    EXPECT_EQ(fake.messages.shown.size(), 1u);
}

TEST_F(FindSearch, UnreadableCatalogueLeavesTheDiscListEmptyAndSearchReportsIt) {
    context.cnCatalog.Close();
    loadWindow();
    EXPECT_EQ(combo1().count(), 0);
    EXPECT_TRUE(fake.messages.shown.empty());

    search(QStringLiteral("mp3"), -1);
    EXPECT_EQ(listView1().topLevelItemCount(), 0);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith(QStringLiteral("جستجو انجام نشد")));
}

TEST_F(FindSearch, ADamagedCatalogueIsToldAsSuchWithTheEnginesOwnTextAsADetail) {
    addDisk(QStringLiteral("CD"));
    addFiles(QStringLiteral("CD"), QStringLiteral("D:\\a folder with a long name\\song %1.mp3"), 2000);
    qint64 root = 0;
    qint64 pageSize = 0;
    {
        SqliteStatement layout(context.cnCatalog.handle(),
                               QStringLiteral("SELECT (SELECT rootpage FROM sqlite_master WHERE name = "
                                              "'BankList'), page_size FROM pragma_page_size"));
        ASSERT_TRUE(layout.step());
        root = layout.column(0).toLongLong();
        pageSize = layout.column(1).toLongLong();
    }
    context.cnCatalog.Execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
    context.cnCatalog.Close();
    // Garbage over the file rows' first page, as a failing disk leaves it.
    QFile file(fake.catalogPath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek((root - 1) * pageSize));
    file.write(QByteArray(int(pageSize), '\xA5'));
    file.close();
    openCatalogue(context.cnCatalog, buildConnectionString(fake.folder.path()));

    loadWindow();
    search(QStringLiteral("mp3"));
    EXPECT_EQ(listView1().topLevelItemCount(), 0);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith(
        QStringLiteral("جستجو انجام نشد:\nفايل فهرست آسيب ديده است.\n(database disk image is malformed")))
        << fake.messages.shown[0].text.toStdString();
}

TEST_F(FindSearch, ButtonsAreWiredAndTheRecordsetOutlivesTheWindow) {
    addDisk(QStringLiteral("CD1"));
    addFile(QStringLiteral("CD1"), QStringLiteral("D:\\x.mp3"));
    QMdiArea area;
    WindowRegistry registry(context, area);
    frmFind& first = registry.showFind();
    first.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("x.mp3"));
    auto* searchButton = first.findChild<MyButton*>(QStringLiteral("cmdDelete"));
    ASSERT_NE(searchButton, nullptr);
    QTest::mouseClick(searchButton, Qt::LeftButton);
    EXPECT_EQ(first.findChild<QTreeWidget*>(QStringLiteral("ListView1"))->topLevelItemCount(), 1);

    addDisk(QStringLiteral("CD2"));
    auto* closeButton = first.findChild<MyButton*>(QStringLiteral("cmdCancel"));
    ASSERT_NE(closeButton, nullptr);
    QTest::mouseClick(closeButton, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(registry.findWindow(), nullptr);
    EXPECT_TRUE(area.subWindowList().isEmpty());

    // Reopening loads afresh: the disc added meanwhile appears, the results are gone.
    frmFind& second = registry.showFind();
    auto* combo = second.findChild<QComboBox*>(QStringLiteral("Combo1"));
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), QStringLiteral("CD2"));
    EXPECT_EQ(second.findChild<QTreeWidget*>(QStringLiteral("ListView1"))->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace vt::test
