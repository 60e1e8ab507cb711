#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <string>

#include "support/PrivatePostgresServer.h"

namespace vt::test {

// The catalogue's engines, for suites whose every test runs against both: the file beside the program, and
// a database on the test program's private PostgreSQL server.
enum class Engine { File, Server };

inline std::string engineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::File ? "File" : "Server";
}

// Where a test's fresh catalogue lives on `engine`: a file in `folder`, or a new database on the server
// (its "postgresql://" address). Skips the test, saying why, when the server cannot run here.
inline QString freshCatalogueAddress(Engine engine, const QTemporaryDir& folder) {
    if (engine == Engine::File) return folder.path() + QStringLiteral("/Mydb.mdb");
    PrivatePostgresServer& server = PrivatePostgresServer::shared();
    if (!server.unavailable().isEmpty()) return {};
    QString error;
    const QString address = server.createDatabase(&error);
    if (address.isEmpty()) ADD_FAILURE() << error.toStdString();
    return address;
}

// The connection string the program opens the catalogue at `address` with.
inline QString connectionStringFor(const QString& address) {
    return address.startsWith(QLatin1String("postgresql://"))
               ? address
               : QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;data source=") + address;
}

}  // namespace vt::test

// In SetUp: skips a server test when the server cannot run here.
#define VT_SKIP_WITHOUT_SERVER(engine)                                                               \
    do {                                                                                             \
        if ((engine) == ::vt::test::Engine::Server &&                                                \
            !::vt::test::PrivatePostgresServer::shared().unavailable().isEmpty()) {                  \
            GTEST_SKIP() << ::vt::test::PrivatePostgresServer::shared().unavailable().toStdString(); \
        }                                                                                            \
    } while (false)
