#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "catalog/ConnectionString.h"
#include "catalog/SqliteStatement.h"
#include "scan/frmMain.h"
#include "support/TestPlatform.h"
#include "window/AppContext.h"

namespace vt::test {

// One BankList row as read back, positions 0 to 4.
struct FileRow {
    QString disk, name, path;
    double size = 0;
    QString attributes;
};

// A fresh catalogue in a temporary program folder and an optical drive D whose files live in `disc`.
class ScanFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform.folder.isValid());
        ASSERT_TRUE(disc.isValid());
        openCatalogue(context.cnCatalog, buildConnectionString(platform.folder.path()));
        addDrive(QLatin1Char('D'), disc.path(), 654311424, 0x12345678u);
    }

    void addDrive(QChar letter, const QString& folder, std::uint64_t used, std::uint32_t serial,
                  int type = kDriveTypeCdRom) {
        FakeDriveTable::Drive drive;
        drive.type = type;
        drive.folder = folder;
        drive.space = DiskSpace{used, 0};
        drive.volume =
            VolumeInformation{QStringLiteral("LABEL_%1").arg(letter), QStringLiteral("CDFS"), serial};
        platform.drives.add(letter, drive);
    }

    // Writes a file of `size` bytes under the disc folder, making its folders.
    void write(const QString& relative, int size = 1) {
        const QString path = disc.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
    }
    void mkdir(const QString& relative) { QDir().mkpath(disc.filePath(relative)); }

    frmMain& openWindow() {
        form = std::make_unique<frmMain>(context);
        form->Form_Load();
        form->show();
        return *form;
    }
    void start() { form->cmdStart_Click(); }

    std::vector<FileRow> files(const QString& disk = QString()) {
        SqliteStatement s(db(), disk.isNull() ? QStringLiteral("SELECT * FROM BankList ORDER BY _rowid_")
                                              : QStringLiteral("SELECT * FROM BankList WHERE DiskName = ?1 "
                                                               "ORDER BY _rowid_"));
        if (!disk.isNull()) s.bind(1, disk);
        std::vector<FileRow> rows;
        while (s.step()) {
            rows.push_back({s.column(0).toString(), s.column(1).toString(), s.column(2).toString(),
                            s.column(3).toDouble(), s.column(4).toString()});
        }
        return rows;
    }
    QStringList paths(const QString& disk = QString()) {
        QStringList result;
        for (const FileRow& row : files(disk)) result << row.path;
        return result;
    }
    // The Disks rows, each as its four texts.
    std::vector<QStringList> disks() {
        SqliteStatement s(db(), QStringLiteral("SELECT * FROM Disks ORDER BY _rowid_"));
        std::vector<QStringList> rows;
        while (s.step()) {
            rows.push_back({s.column(0).toString(), s.column(1).toString(), s.column(2).toString(),
                            s.column(3).toString()});
        }
        return rows;
    }
    void execute(const QString& sql) { context.cnCatalog.Execute(sql); }
    sqlite3* db() { return context.cnCatalog.handle(); }

    TestPlatform platform;
    QTemporaryDir disc;
    AppContext context{platform.platform()};
    std::unique_ptr<frmMain> form;
};

}  // namespace vt::test
