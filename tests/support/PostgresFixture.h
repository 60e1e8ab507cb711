#pragma once

#include <gtest/gtest.h>

#include <QString>

#include "support/PrivatePostgresServer.h"

namespace vt::test {

// A test with an empty database of its own on the test program's private PostgreSQL server, named by
// `connectionString`; skipped, saying why, when the server cannot run here.
class PostgresFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        PrivatePostgresServer& server = PrivatePostgresServer::shared();
        if (!server.unavailable().isEmpty()) GTEST_SKIP() << server.unavailable().toStdString();
        QString error;
        connectionString = server.createDatabase(&error);
        ASSERT_FALSE(connectionString.isEmpty()) << error.toStdString();
    }

    QString connectionString;
};

}  // namespace vt::test
