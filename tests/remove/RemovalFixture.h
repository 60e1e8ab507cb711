#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QStringList>
#include <QTest>
#include <memory>

#include "button/MyButton.h"
#include "catalog/ConnectionString.h"
#include "catalog/SqliteStatement.h"
#include "remove/frmDelete.h"
#include "support/TestPlatform.h"
#include "window/AppContext.h"

namespace vt::test {

// A fresh catalogue in a temporary program folder, with the removal window loaded on it.
class RemovalFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform.folder.isValid());
        openCatalogue(context.cnCatalog, buildConnectionString(platform.folder.path()));
    }

    // Adds a disc row and `files` file rows named file0, file1, ...
    void addDisk(const QString& name, int files, const QString& serial = QStringLiteral("-1234567"),
                 const QString& size = QStringLiteral("654,311,424 bytes")) {
        SqliteStatement disk(
            db(),
            QStringLiteral("INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES (?,?,?,?)"));
        disk.bind(1, name);
        disk.bind(2, serial);
        disk.bind(3, size);
        disk.bind(4, QString::number(files));
        disk.step();
        addFiles(name, files);
    }
    void addFiles(const QString& name, int files, int from = 0) {
        SqliteStatement file(
            db(),
            QStringLiteral(
                "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES (?,?,?,?,?)"));
        for (int i = from; i < from + files; ++i) {
            file.reset();
            file.bind(1, name);
            file.bind(2, QStringLiteral("file%1").arg(i));
            file.bind(3, QStringLiteral("D:\\dir\\file%1").arg(i));
            file.bind(4, double(i * 100));
            file.bind(5, QStringLiteral("ArchiveNormal"));
            file.step();
        }
    }

    long count(const QString& sql, const QString& name = QString()) {
        SqliteStatement statement(db(), sql);
        if (!name.isNull()) statement.bind(1, name);
        return statement.step() ? statement.column(0).toLongLong() : -1;
    }
    long filesOf(const QString& name) {
        return count(QStringLiteral("SELECT count(*) FROM BankList WHERE DiskName = ?"), name);
    }
    long disksNamed(const QString& name) {
        return count(QStringLiteral("SELECT count(*) FROM Disks WHERE DiskName = ?"), name);
    }
    sqlite3* db() { return context.cnCatalog.handle(); }

    // Opens the window as the registry does: made, loaded, shown.
    frmDelete& openWindow() {
        form = std::make_unique<frmDelete>(context, windowRecordset);
        form->Form_Load();
        form->show();
        return *form;
    }
    // The user picks entry `index` from the list.
    void choose(int index) {
        form->Combo1().setCurrentIndex(index);
        emit form->Combo1().activated(index);
    }
    void clickDelete() { QTest::mouseClick(&form->cmdDelete(), Qt::LeftButton); }
    QStringList entries() const {
        QStringList result;
        for (int i = 0; i < form->Combo1().count(); ++i) result << form->Combo1().itemText(i);
        return result;
    }
    QStringList values() const {
        QStringList result;
        for (int k = 4; k <= 7; ++k) result << form->Label1(k).text();
        return result;
    }

    TestPlatform platform;
    AppContext context{platform.platform()};
    Recordset windowRecordset;
    std::unique_ptr<frmDelete> form;
};

}  // namespace vt::test
