#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "platform/desktop/QtShell.h"

namespace vt {
namespace {

// The real launcher, found on a PATH of the test's making: none at all, or a script that ends as told.
class QtShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedPath_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
    }
    void TearDown() override { qputenv("PATH", savedPath_); }

    void launcherExits(int code) {
        QFile script(bin.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\n/bin/sleep 0.2\nexit %1\n").arg(code).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    std::optional<OpenOutcome> open() {
        std::optional<OpenOutcome> outcome;
        shell.openWithDefaultApplication(nullptr, bin.filePath(QStringLiteral("a.txt")), bin.path(),
                                         [&outcome](OpenOutcome o) { outcome = o; });
        returnedAtOnce = !outcome.has_value();
        EXPECT_TRUE(QTest::qWaitFor([&outcome] { return outcome.has_value(); }, 10000));
        return outcome;
    }

    QTemporaryDir bin;
    QtShell shell;
    bool returnedAtOnce = false;

  private:
    QByteArray savedPath_;
};

TEST_F(QtShellTest, AMissingLauncherAndEachExitStatusAreToldWithoutWaiting) {
    EXPECT_EQ(open(), OpenOutcome::LauncherMissing);

    const std::pair<int, OpenOutcome> cases[] = {{0, OpenOutcome::Opened},
                                                 {1, OpenOutcome::Failed},
                                                 {2, OpenOutcome::FileMissing},
                                                 {3, OpenOutcome::NoApplication},
                                                 {4, OpenOutcome::Failed}};
    for (const auto& [code, expected] : cases) {
        launcherExits(code);
        EXPECT_EQ(open(), expected) << code;
        EXPECT_TRUE(returnedAtOnce) << "the launcher is not waited for";
    }
}

}  // namespace
}  // namespace vt
