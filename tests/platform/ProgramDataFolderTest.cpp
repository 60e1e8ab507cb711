// Where the program keeps its catalogue: beside a copy of the program, in the user's folder for an
// installed one.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/ProgramDataFolder.h"

namespace vt::test {
namespace {

const QString kFile = QStringLiteral("Mydb.mdb");

struct Places {
    QTemporaryDir root;
    QString program() const { return root.filePath(QStringLiteral("program")); }
    QString user() const { return root.filePath(QStringLiteral("home/.local/share/vellumtrove")); }
    Places() { QDir().mkpath(program()); }
};

TEST(ProgramDataFolder, ACopyOfTheProgramKeepsItsDataBesideIt) {
    Places places;
    EXPECT_EQ(programDataFolder({places.program(), QStringLiteral("/usr/local/bin"), places.user()}, kFile),
              places.program());
    EXPECT_FALSE(QDir(places.user()).exists()) << "nothing is made where nothing is kept";
}

TEST(ProgramDataFolder, AnInstalledProgramKeepsItsDataInTheUsersFolderUnlessItIsAlreadyBesideIt) {
    Places places;
    // Installed: the folder is the one the programs were installed to (root could write in it, but
    // that is no place for one user's catalogue).
    EXPECT_EQ(programDataFolder({places.program(), places.program(), places.user()}, kFile), places.user());
    EXPECT_TRUE(QDir(places.user()).exists()) << "made, so that the catalogue can be created in it";

    // A catalogue someone put beside the installed program is the one it goes on using.
    QFile existing(places.program() + QLatin1Char('/') + kFile);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    EXPECT_EQ(programDataFolder({places.program(), places.program(), places.user()}, kFile),
              places.program());
}

}  // namespace
}  // namespace vt::test
