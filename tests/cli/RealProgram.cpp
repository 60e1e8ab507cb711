#include "RealProgram.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "support/ChildProcess.h"

namespace vt::test {

QString cliProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../vellumtrove-cli");
}

CliResult runCli(const QStringList& arguments) {
    ChildProcess process(cliProgram(), arguments);
    EXPECT_EQ(process.startError(), QString());
    const int code = process.finish(120000);
    return {code, QString::fromUtf8(process.output()), QString::fromUtf8(process.errors())};
}

void writeFileOfSize(const QString& path, int size) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(size, 'c'));
}

}  // namespace vt::test
