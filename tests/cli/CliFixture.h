#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextStream>

#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "catalog/Statements.h"
#include "cli/Cli.h"
#include "cli/CliEnvironment.h"
#include "platform/AttachedImageFileSystem.h"
#include "platform/AttachedImages.h"
#include "support/FakeDrives.h"

namespace vt::test {

// Runs command lines against a catalogue in a temporary folder, capturing what they print.
class CliFixture : public ::testing::Test {
  protected:
    int run(QStringList words, const QString& input = QString()) {
        outText.clear();
        errText.clear();
        inText = input;
        QTextStream out(&outText);
        QTextStream err(&errText);
        QTextStream in(&inText);
        cli::CliEnvironment env =
            withImages
                ? cli::CliEnvironment{out, err, in, interactive, folder.path(), images, imageFiles, &images}
                : cli::CliEnvironment{out, err, in, interactive, folder.path(), drives, fileSystem};
        const int code = cli::runCli(words, env);
        out.flush();
        err.flush();
        return code;
    }

    // Writes rows the way a scan leaves them.
    void catalogue(const QString& disk, const QStringList& paths) {
        Connection cn;
        openCatalogue(cn, buildConnectionString(folder.path()));
        cn.Execute(QStringLiteral("INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('%1', "
                                  "'-5', '1,024 bytes', '%2');")
                       .arg(Statements::quoted(disk))
                       .arg(paths.size()));
        for (const QString& path : paths) {
            cn.Execute(QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, "
                                      "FileAttr) VALUES ('%1', '%2', '%3', 5368709120, 'Normal');")
                           .arg(Statements::quoted(disk),
                                Statements::quoted(path.section(QLatin1Char('\\'), -1)),
                                Statements::quoted(path)));
        }
    }

    QStringList outLines() const { return outText.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

    QTemporaryDir folder;
    FakeDriveTable drives;
    FakeFileSystem fileSystem{drives};
    // Commands run over `images` (disc images can be attached, beside `drives`) when `withImages` is set.
    AttachedImages images{drives};
    AttachedImageFileSystem imageFiles{fileSystem, images};
    bool withImages = false;
    bool interactive = false;
    QString outText;
    QString errText;
    QString inText;
};

}  // namespace vt::test
