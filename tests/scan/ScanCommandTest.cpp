#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QThread>
#include <QTimer>

#include "ScanFixture.h"
#include "catalog/Connection.h"
#include "catalog/SqliteStatement.h"
#include "scan/ScanTexts.h"

namespace vt::test {
namespace {

// What a failed scan says about a failure of no cause the user could mend: the engine's text as a detail.
QString toldAsGeneralFailure(const QString& engineText) {
    return ScanTexts::catalogueFailed(QStringLiteral("موتور پايگاه داده فهرست با خطا روبرو شد.\n(") +
                                      engineText + QLatin1Char(')'));
}

class ScanCommandTest : public ScanFixture {
  protected:
    void SetUp() override {
        ScanFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    // Three files in the root and two in one folder.
    void threePlusTwo() {
        write(QStringLiteral("a.txt"), 10);
        write(QStringLiteral("b.txt"), 20);
        write(QStringLiteral("c.txt"), 30);
        write(QStringLiteral("sub/d.txt"), 40);
        write(QStringLiteral("sub/e.txt"), 50);
    }
    void addCatalogued(const QString& name) {
        execute(
            QStringLiteral(
                "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('%1','1','1 bytes','1');"
                "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES "
                "('%1','x','D:\\x',1,'Normal');")
                .arg(name));
    }
    void scanAs(const QString& name) {
        form->Text3()->setText(name);
        start();
    }
};

TEST_F(ScanCommandTest, ThreeRootFilesAndTwoInAFolderGiveFiveRowsAndADiscRow) {
    threePlusTwo();
    platform.drives.add(QLatin1Char('D'), {kDriveTypeCdRom,
                                           disc.path(),
                                           {654311424, 0},
                                           {QStringLiteral("L"), QStringLiteral("CDFS"), 0x80000000u},
                                           true});
    openWindow();
    start();
    const std::vector<FileRow> rows = files();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(paths(), (QStringList{QStringLiteral("D:\\a.txt"), QStringLiteral("D:\\b.txt"),
                                    QStringLiteral("D:\\c.txt"), QStringLiteral("D:\\sub\\d.txt"),
                                    QStringLiteral("D:\\sub\\e.txt")}));
    EXPECT_EQ(rows[3].disk, QStringLiteral("NewDisk1"));
    EXPECT_EQ(rows[3].name, QStringLiteral("d.txt"));
    EXPECT_EQ(rows[3].size, 40.0);
    EXPECT_EQ(rows[3].attributes, QStringLiteral("NormalReadOnly"));
    EXPECT_EQ(form->lblCount()->text(), QStringLiteral("5"));
    ASSERT_EQ(disks().size(), 1u);
    EXPECT_EQ(disks()[0], (QStringList{QStringLiteral("NewDisk1"), QStringLiteral("-2147483648"),
                                       QStringLiteral("654,311,424 bytes"), QStringLiteral("5")}));
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::finished()});
    EXPECT_FALSE(form->BusyForm()->isVisible());
    EXPECT_FALSE(form->scanning());
}

TEST_F(ScanCommandTest, FilesComeBeforeSubfoldersDepthFirstAndNamesAreStoredTrimmed) {
    write(QStringLiteral("z.txt"));
    write(QStringLiteral("A/a1.txt"));
    write(QStringLiteral("A/B/b1.txt"));
    write(QStringLiteral("C/c1.txt"));
    write(QStringLiteral("C/ spaced name.txt  "), 7);
    mkdir(QStringLiteral("only/folders/here"));
    write(QStringLiteral(".hidden"));
    openWindow();
    start();
    EXPECT_EQ(paths(), (QStringList{QStringLiteral("D:\\.hidden"), QStringLiteral("D:\\z.txt"),
                                    QStringLiteral("D:\\A\\a1.txt"), QStringLiteral("D:\\A\\B\\b1.txt"),
                                    QStringLiteral("D:\\C\\ spaced name.txt").trimmed(),
                                    QStringLiteral("D:\\C\\c1.txt")}));
    const std::vector<FileRow> rows = files();
    EXPECT_EQ(rows[4].name, QStringLiteral("spaced name.txt"));
    EXPECT_EQ(rows[4].size, 7.0) << "measured under its full name";
    EXPECT_TRUE(std::find(platform.fileSystem.listed.begin(), platform.fileSystem.listed.end(),
                          QStringLiteral("D:\\only\\folders\\here\\")) != platform.fileSystem.listed.end());
    for (const QString& folder : platform.fileSystem.listed) {
        EXPECT_FALSE(folder.endsWith(QLatin1String(".\\"))) << folder.toStdString();
    }
}

TEST_F(ScanCommandTest, SizesAreTrue64BitLengths) {
    write(QStringLiteral("video.iso"));
    platform.fileSystem.lengths[QStringLiteral("D:\\video.iso")] = 5368709120LL;
    openWindow();
    start();
    ASSERT_EQ(files().size(), 1u);
    EXPECT_EQ(files()[0].size, 5368709120.0);
    SqliteStatement text(db(), QStringLiteral("SELECT typeof(FileSize), FileSize || '' FROM BankList"));
    ASSERT_TRUE(text.step());
    EXPECT_EQ(text.column(0).toString(), QStringLiteral("real"));
    EXPECT_FALSE(text.column(1).toString().contains(QLatin1Char('e'), Qt::CaseInsensitive));
}

TEST_F(ScanCommandTest, AnEmptyDriveIsRefusedBeforeAnythingIsOpened) {
    write(QStringLiteral("a.txt"));
    addDrive(QLatin1Char('D'), disc.path(), 0, 7);
    openWindow();
    EXPECT_EQ(form->Label1(4)->text(), QStringLiteral("0 bytes"));
    start();
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::noDisc()});
    EXPECT_EQ(context.rsDisks.State(), 0);
    EXPECT_EQ(context.rsBankList.State(), 0);
    EXPECT_TRUE(files().empty());
}

TEST_F(ScanCommandTest, AnEmptyOrBlankNameIsRefusedBeforeAnythingIsOpened) {
    write(QStringLiteral("a.txt"));
    openWindow();
    for (const QString& name : {QString(), QStringLiteral("   "), QStringLiteral(" \t\u00A0")}) {
        platform.messages.clear();
        scanAs(name);
        EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::noName()}) << name.size();
        EXPECT_EQ(context.rsDisks.State(), 0);
        EXPECT_EQ(context.rsBankList.State(), 0);
    }
    EXPECT_TRUE(disks().empty());
    EXPECT_TRUE(files().empty());
    EXPECT_TRUE(form->Text3()->isEnabled()) << "the name can be typed again";
}

TEST_F(ScanCommandTest, NamesMatchedByLikeAreRefusedAndNothingIsWritten) {
    write(QStringLiteral("a.txt"));
    addCatalogued(QStringLiteral("CD1"));
    openWindow();
    for (const char* name : {"cd1", "CD_", "%"}) {
        platform.messages.clear();
        scanAs(QString::fromLatin1(name));
        EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::nameTaken()}) << name;
        EXPECT_NE(context.rsDisks.State(), 0) << "both recordsets stay open";
        EXPECT_NE(context.rsBankList.State(), 0);
    }
    EXPECT_EQ(disks().size(), 1u);
    EXPECT_EQ(files().size(), 1u);
    EXPECT_FALSE(form->BusyForm()->isVisible());
}

TEST_F(ScanCommandTest, TheDefaultNameCanBeUsedOnceAndTheCommandRunsAgainAfterAScan) {
    write(QStringLiteral("a.txt"));
    openWindow();
    start();
    start();
    EXPECT_EQ(platform.messages.texts(), (QStringList{ScanTexts::finished(), ScanTexts::nameTaken()}));
    scanAs(QStringLiteral("O'Brien's disc"));
    EXPECT_EQ(platform.messages.texts().last(), ScanTexts::finished());
    EXPECT_EQ(disks().size(), 2u);
    EXPECT_EQ(files(QStringLiteral("O'Brien's disc")).size(), 1u);
    EXPECT_EQ(files(QStringLiteral("NewDisk1")).size(), 1u);
}

TEST_F(ScanCommandTest, UnreadableFilesAndFoldersAreSkippedCountedAndTold) {
    write(QStringLiteral("good1.txt"));
    write(QStringLiteral("bad.txt"));
    write(QStringLiteral("gone.txt"));
    write(QStringLiteral("locked/inside.txt"));
    write(QStringLiteral("torn/x1.txt"));
    write(QStringLiteral("torn/x2.txt"));
    write(QStringLiteral("z/good2.txt"));
    platform.fileSystem.unmeasurable.insert(QStringLiteral("D:\\bad.txt"));
    platform.fileSystem.vanishing.insert(QStringLiteral("D:\\gone.txt"));
    platform.fileSystem.unlistable.insert(QStringLiteral("D:\\locked\\"));
    platform.fileSystem.breakingOff.insert(QStringLiteral("D:\\torn\\"));
    openWindow();
    start();
    EXPECT_EQ(paths(), (QStringList{QStringLiteral("D:\\good1.txt"), QStringLiteral("D:\\z\\good2.txt")}));
    EXPECT_EQ(disks().at(0).at(3), QStringLiteral("2"));
    EXPECT_EQ(platform.messages.texts(),
              (QStringList{ScanTexts::finished(), QStringLiteral("4 فايل قابل خواندن نبود و ثبت نشد")}));
}

TEST_F(ScanCommandTest, ACatalogueFailureLeavesNoPartOfTheDiscAndTheNextScanWorks) {
    for (int i = 0; i < 20; ++i) write(QStringLiteral("dir%1/f.txt").arg(i));
    addCatalogued(QStringLiteral("OLD"));
    execute(
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON BankList WHEN NEW.FileName = 'f.txt' "
                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END;"));
    openWindow();
    start();
    EXPECT_EQ(paths(), QStringList{QStringLiteral("D:\\x")}) << "only the other disc's row";
    ASSERT_EQ(disks().size(), 1u);
    EXPECT_EQ(disks()[0][0], QStringLiteral("OLD"));
    ASSERT_EQ(platform.messages.texts().size(), 1);
    EXPECT_EQ(platform.messages.texts()[0], toldAsGeneralFailure(QStringLiteral("disk full")));
    EXPECT_FALSE(form->BusyForm()->isVisible());
    EXPECT_FALSE(context.cnScan.inTransaction());

    execute(QStringLiteral("DROP TRIGGER refuse;"));
    platform.messages.clear();
    start();
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::finished()});
    EXPECT_EQ(files(QStringLiteral("NewDisk1")).size(), 20u);
}

TEST_F(ScanCommandTest, AFailureAfterRowsWereWrittenTakesThemBackAndTheRestOfTheCatalogueStaysReadable) {
    for (int i = 0; i < 10; ++i) write(QStringLiteral("dir%1/f.txt").arg(i));
    addCatalogued(QStringLiteral("OLD"));
    // The sixth row is refused, after five went in.
    execute(
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON BankList WHEN (SELECT count(*) FROM "
                       "BankList WHERE DiskName = 'NewDisk1') = 5 BEGIN SELECT RAISE(ABORT, 'refused'); "
                       "END;"));
    QStringList seenMeanwhile;
    platform.fileSystem.whileListing = [&](const QString& folder) {
        QThread::msleep(20);  // each folder is a slow read, so the walk yields after it
        if (folder != QLatin1String("D:\\dir3\\")) return;
        QTimer::singleShot(0, [&] {
            // Another window reads while the scan holds the catalogue: at once, and none of the disc.
            seenMeanwhile = paths();
        });
    };
    openWindow();
    start();
    EXPECT_EQ(seenMeanwhile, QStringList{QStringLiteral("D:\\x")});
    EXPECT_EQ(paths(), QStringList{QStringLiteral("D:\\x")});
    EXPECT_EQ(disks().size(), 1u);
    EXPECT_EQ(platform.messages.texts(), QStringList{toldAsGeneralFailure(QStringLiteral("refused"))});
}

TEST_F(ScanCommandTest, AFullDiskIsToldAsSuchWithTheEnginesOwnTextAsADetail) {
    for (int i = 0; i < 300; ++i)
        write(QStringLiteral("a folder with a long name/file number %1.txt").arg(i));
    // The scan's own connection, on a disk that holds no more than the catalogue already takes.
    openCatalogue(context.cnScan, context.cnCatalog.connectionString());
    SqliteStatement pages(context.cnScan.handle(), QStringLiteral("PRAGMA page_count"));
    ASSERT_TRUE(pages.step());
    context.cnScan.Execute(QStringLiteral("PRAGMA max_page_count = %1;").arg(pages.column(0).toLongLong()));
    openWindow();
    start();
    ASSERT_EQ(platform.messages.texts().size(), 1);
    EXPECT_TRUE(platform.messages.texts()[0].startsWith(ScanTexts::catalogueFailed(
        QStringLiteral("ديسكي كه فهرست روي آن است پر شده و جايي براي نوشتن نمانده است.\n("))))
        << platform.messages.texts()[0].toStdString();
    EXPECT_TRUE(disks().empty());
}

TEST_F(ScanCommandTest, TheWalkYieldsToTheEventLoopAndTheWindowStaysWhenTheUserKeepsTheScan) {
    for (int i = 0; i < 6; ++i) write(QStringLiteral("dir%1/f.txt").arg(i));
    QStringList seen;
    bool closed = true;
    bool transactionOpen = true;
    bool scanHolds = false;
    platform.fileSystem.whileListing = [&](const QString& folder) {
        QThread::msleep(20);  // each folder is a slow read, so the walk yields after it
        if (folder != QLatin1String("D:\\dir3\\")) return;
        QTimer::singleShot(0, [&] {
            seen << form->lblCount()->text();
            transactionOpen = context.cnCatalog.inTransaction();
            scanHolds = context.cnScan.inTransaction();
            closed = form->close();
            form->Text3()->setText(QStringLiteral("Typed meanwhile"));
            form->cmdStart_Click();  // a second start while one runs does nothing
        });
    };
    openWindow();
    platform.messages.answer({MessageAnswer::No});  // asked whether to cancel: no
    start();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0], QStringLiteral("3")) << "the count shown before the yield";
    EXPECT_FALSE(transactionOpen) << "the shared connection is free for the other windows";
    EXPECT_TRUE(scanHolds);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(files(QStringLiteral("NewDisk1")).size(), 6u);
    EXPECT_EQ(disks().size(), 1u);
    EXPECT_EQ(platform.messages.texts(), (QStringList{ScanTexts::askCancelScan(), ScanTexts::finished()}));
    EXPECT_TRUE(form->close()) << "closes once the scan is over";
}

TEST_F(ScanCommandTest, DeepTreesAreWalkedWithoutRecursion) {
    QString relative;
    for (int depth = 0; depth < 600; ++depth) relative += QStringLiteral("d/");
    write(relative + QStringLiteral("deep.txt"), 3);
    write(QStringLiteral("top.txt"));
    openWindow();
    start();
    ASSERT_EQ(files().size(), 2u);
    EXPECT_EQ(files()[1].path, QStringLiteral("D:\\") +
                                   QString(relative).replace(QLatin1Char('/'), QLatin1Char('\\')) +
                                   QStringLiteral("deep.txt"));
}

}  // namespace
}  // namespace vt::test
