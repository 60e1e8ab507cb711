#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <csignal>

#include "cli/CliFixture.h"

namespace vt {
namespace {

// Listings whose output fails: the real program, with its standard output or --output file failing as a
// full disk, a closed descriptor or a file-size limit makes them fail, and the in-process command line.
class CliOutput : public test::CliFixture {
  protected:
    // A catalogue whose export is far larger than any buffer on the way: `files` rows of one disc.
    void catalogueMany(int files) {
        Connection cn;
        openCatalogue(cn, buildConnectionString(folder.path()));
        cn.Execute(QStringLiteral("INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('CD1', "
                                  "'-5', '1 bytes', '%1');")
                       .arg(files));
        cn.Execute(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                           "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) SELECT "
                           "'CD1', 'file ' || i || '.txt', "
                           "'D:\\a rather long folder name\\file ' || i || '.txt', i, 'Normal' FROM n;")
                .arg(files));
    }

    QString catalogPath() const { return folder.path() + QStringLiteral("/Mydb.mdb"); }

    struct Child {
        int code = -1;
        QByteArray err;
    };
    // Runs the real program with its standard output going to `outputFile` (none: closed), after
    // `prepare` ran in the child.
    Child runProgram(const QStringList& arguments, const QString& outputFile,
                     const std::function<void()>& prepare = {}) {
        QProcess process;
        if (!outputFile.isEmpty()) process.setStandardOutputFile(outputFile);
        process.setChildProcessModifier([&outputFile, &prepare] {
            if (outputFile.isEmpty()) ::close(STDOUT_FILENO);
            if (prepare) prepare();
        });
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../vellumtrove-cli"),
                      arguments);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(120000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardError()};
    }

    QStringList filesInFolder() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
};

// Writes past `bytes` fail in the child as on a full disk (EFBIG instead of a deadly signal).
void limitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

TEST_F(CliOutput, AFullOrClosedStandardOutputIsAnOutputErrorWithItsReason) {
    catalogueMany(2000);
    const QStringList exportAll{QStringLiteral("export"), QStringLiteral("--catalog"), catalogPath()};

    Child full = runProgram(exportAll, QStringLiteral("/dev/full"));
    EXPECT_EQ(full.code, 4);
    EXPECT_TRUE(full.err.contains("the output could not be written: No space left on device"))
        << full.err.data();

    Child closed = runProgram(exportAll, QString());
    EXPECT_EQ(closed.code, 4);
    EXPECT_TRUE(closed.err.contains("standard output is closed")) << closed.err.data();
    // Nothing written to the standard output, nothing to fail.
    EXPECT_EQ(runProgram({QStringLiteral("remove"), QStringLiteral("nothing such"), QStringLiteral("--yes"),
                          QStringLiteral("--catalog"), catalogPath()},
                         QString())
                  .code,
              1);

    for (const char* command : {"search", "disks"}) {
        QStringList words{QString::fromLatin1(command), QStringLiteral("--catalog"), catalogPath()};
        if (words[0] == QLatin1String("search")) words.insert(1, QStringLiteral("file"));
        EXPECT_EQ(runProgram(words, QStringLiteral("/dev/full")).code, 4) << command;
    }
}

TEST_F(CliOutput, AnOutputCutShortMidwayStopsWithAnErrorAndLeavesAnExistingFileAsItWas) {
    catalogueMany(20000);  // about 1.3 MB of TSV
    const QString cut = folder.path() + QStringLiteral("/cut.tsv");
    Child toStandardOutput =
        runProgram({QStringLiteral("export"), QStringLiteral("--catalog"), catalogPath()}, cut,
                   [] { limitFileSize(300 * 1024); });
    EXPECT_EQ(toStandardOutput.code, 4);
    EXPECT_TRUE(toStandardOutput.err.contains("File too large")) << toStandardOutput.err.data();
    EXPECT_EQ(QFileInfo(cut).size(), 300 * 1024);

    const QString kept = folder.path() + QStringLiteral("/kept.tsv");
    QFile previous(kept);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("the listing of last week\n");
    previous.close();
    const QStringList before = filesInFolder();
    Child toFile = runProgram({QStringLiteral("export"), QStringLiteral("--output"), kept,
                               QStringLiteral("--catalog"), catalogPath()},
                              QStringLiteral("/dev/null"), [] { limitFileSize(300 * 1024); });
    EXPECT_EQ(toFile.code, 4);
    EXPECT_TRUE(toFile.err.contains(kept.toUtf8() + " was left as it was")) << toFile.err.data();
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), QByteArray("the listing of last week\n"));
    EXPECT_EQ(filesInFolder(), before) << "the temporary is gone";
}

TEST_F(CliOutput, OutputFileGetsExactlyTheListingAndOnlyWhenTheCommandEndsWell) {
    catalogue(QStringLiteral("CD1"), {QStringLiteral("D:\\a.txt"), QStringLiteral("D:\\b.txt")});
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--format=csv")}), 0);
    const QString listing = outText;

    const QString target = folder.path() + QStringLiteral("/all.csv");
    ASSERT_EQ(
        run({QStringLiteral("export"), QStringLiteral("--format=csv"), QStringLiteral("--output"), target}),
        0);
    EXPECT_TRUE(outText.isEmpty());
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()), listing);
    written.close();

    // A catalogue that cannot be read leaves the earlier listing in place.
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("a"), QStringLiteral("--output"), target,
                   QStringLiteral("--catalog"), folder.path() + QStringLiteral("/none.db")}),
              3);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()), listing);

    const QString nowhere = folder.path() + QStringLiteral("/no such folder/all.csv");
    EXPECT_EQ(run({QStringLiteral("disks"), QStringLiteral("--output"), nowhere}), 4);
    EXPECT_TRUE(errText.contains(QStringLiteral("cannot create a file in"))) << errText.toStdString();
    EXPECT_EQ(run({QStringLiteral("drives"), QStringLiteral("--output=")}), 2);
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden).isEmpty())
        << "no temporary is left behind";
}

}  // namespace
}  // namespace vt
