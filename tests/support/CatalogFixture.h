#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <stdexcept>

#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "catalog/Statements.h"

namespace vt::test {

// A fresh catalogue in a temporary folder of its own, opened the way the program opens it, for the
// holder's lifetime.
struct TempCatalogue {
    TempCatalogue() {
        if (!dir.isValid()) throw std::runtime_error("no temporary folder for the catalogue");
        openCatalogue(connection, buildConnectionString(dir.path()));
    }
    QString path() const { return dir.path() + QStringLiteral("/Mydb.mdb"); }

    QTemporaryDir dir;
    Connection connection;
};

// A test with a fresh catalogue as `cn`.
class CatalogFixture : public ::testing::Test {
  protected:
    // A disk row and `files` file rows D:\dir\f<i>.txt of size i.
    void addDisk(const QString& name, int files) {
        cn.Execute(QStringLiteral("INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('%1', "
                                  "'123', '1,000 bytes', '%2');")
                       .arg(Statements::quoted(name))
                       .arg(files));
        for (int i = 0; i < files; ++i) {
            cn.Execute(QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, "
                                      "FileAttr) VALUES ('%1', 'f%2.txt', 'D:\\dir\\f%2.txt', %2, "
                                      "'Normal');")
                           .arg(Statements::quoted(name))
                           .arg(i));
        }
    }

    TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
};

}  // namespace vt::test
