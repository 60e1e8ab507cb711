#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace vt::test {

// A PostgreSQL server of the tests' own: a fresh cluster in a temporary folder, listening only on a Unix
// socket in that folder (no TCP port), with one superuser that logs in without a password over that socket
// (only the folder's owner and root can reach it). Stopped, and its folder removed, when the object goes.
//
// PostgreSQL refuses to run as root, and CI runs the tests as root: then the server's tools run as the
// unprivileged user "nobody", which owns the folder. When the server cannot be started (PostgreSQL is not
// installed, no such user), unavailable() says why, so that the tests can skip with that reason.
class PrivatePostgresServer {
  public:
    PrivatePostgresServer();
    ~PrivatePostgresServer();
    PrivatePostgresServer(const PrivatePostgresServer&) = delete;
    PrivatePostgresServer& operator=(const PrivatePostgresServer&) = delete;

    // Why the server is not running; empty when it is.
    const QString& unavailable() const { return unavailable_; }

    // Creates a new, empty database and returns the "postgresql://" address that reaches it. Each call
    // gives a database of its own, so that tests do not see each other's rows. Empty (with the reason in
    // `error`) when the database could not be created.
    QString createDatabase(QString* error = nullptr);

    // The folder holding the server's socket (the "host" of its connection strings).
    QString socketFolder() const { return folder_.path(); }
    static constexpr const char* kUser = "vellumtrove";

    // The server one test program shares, started on first use (a cluster takes seconds to make).
    static PrivatePostgresServer& shared();

  private:
    QString start();
    // Runs one of the server's programs (as the server's user); empty when it succeeded, else why not.
    QString runServerTool(const QString& tool, const QStringList& arguments);
    QString connectionStringFor(const QString& database) const;

    QTemporaryDir folder_;
    QString binaries_;
    bool asNobody_ = false;
    bool running_ = false;
    int databases_ = 0;
    QString unavailable_;
};

}  // namespace vt::test
