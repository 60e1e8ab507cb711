#include "support/PrivatePostgresServer.h"

#include <pwd.h>
#include <unistd.h>

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

#include "support/ChildProcess.h"

namespace vt::test {

namespace {

// The newest installed server's programs (Debian keeps each major version in a folder of its own).
QString serverBinaries() {
    QStringList versions =
        QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(versions.begin(), versions.end(), numeric);
    for (auto v = versions.crbegin(); v != versions.crend(); ++v) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(*v);
        if (QFileInfo(bin + QStringLiteral("/initdb")).isExecutable() &&
            QFileInfo(bin + QStringLiteral("/pg_ctl")).isExecutable()) {
            return bin;
        }
    }
    return {};
}

QString runuserProgram() {
    for (const char* candidate : {"/usr/sbin/runuser", "/sbin/runuser", "/usr/bin/runuser"}) {
        if (QFileInfo(QString::fromLatin1(candidate)).isExecutable()) return QString::fromLatin1(candidate);
    }
    return {};
}

}  // namespace

PrivatePostgresServer::PrivatePostgresServer() : folder_(QStringLiteral("/tmp/vt-pg-XXXXXX")) {
    unavailable_ = start();
}

PrivatePostgresServer::~PrivatePostgresServer() {
    if (!running_) return;
    // Immediate: the tests' databases are thrown away, so there is nothing to write out first.
    runServerTool(QStringLiteral("pg_ctl"), {QStringLiteral("stop"), QStringLiteral("-w"),
                                             QStringLiteral("-m"), QStringLiteral("immediate"),
                                             QStringLiteral("-D"), folder_.path() + QStringLiteral("/data")});
}

QString PrivatePostgresServer::start() {
    if (!folder_.isValid()) return QStringLiteral("no temporary folder for the PostgreSQL server");
    binaries_ = serverBinaries();
    if (binaries_.isEmpty()) {
        return QStringLiteral(
            "PostgreSQL's server programs are not installed (no /usr/lib/postgresql/*/bin/initdb; "
            "scripts/setup.sh installs them)");
    }
    if (::geteuid() == 0) {
        // The server refuses to run as root; it runs as "nobody", who must own its folder.
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody)
            return QStringLiteral("running as root and there is no user \"nobody\" to run PostgreSQL as");
        if (runuserProgram().isEmpty()) return QStringLiteral("running as root and runuser is not installed");
        if (::chown(QFile::encodeName(folder_.path()).constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
            return QStringLiteral("cannot give the server's folder to the user \"nobody\"");
        }
        asNobody_ = true;
    }
    const QString data = folder_.path() + QStringLiteral("/data");
    QString failure =
        runServerTool(QStringLiteral("initdb"),
                      {QStringLiteral("-D"), data, QStringLiteral("-U"), QString::fromLatin1(kUser),
                       QStringLiteral("--auth=trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                       QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")});
    if (!failure.isEmpty()) return QStringLiteral("initdb failed: ") + failure;
    // No TCP at all: only the socket in the private folder. Durability is of no use to throw-away data.
    const QString options = QStringLiteral(
                                "-c listen_addresses='' -k %1 -c fsync=off -c synchronous_commit=off "
                                "-c full_page_writes=off")
                                .arg(folder_.path());
    failure = runServerTool(QStringLiteral("pg_ctl"),
                            {QStringLiteral("start"), QStringLiteral("-w"), QStringLiteral("-t"),
                             QStringLiteral("60"), QStringLiteral("-D"), data, QStringLiteral("-l"),
                             folder_.path() + QStringLiteral("/server.log"), QStringLiteral("-o"), options});
    if (!failure.isEmpty()) {
        QFile log(folder_.path() + QStringLiteral("/server.log"));
        const QString logText =
            log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
        return QStringLiteral("the PostgreSQL server did not start: ") + failure + logText;
    }
    running_ = true;
    return {};
}

QString PrivatePostgresServer::runServerTool(const QString& tool, const QStringList& arguments) {
    const QString program = binaries_ + QLatin1Char('/') + tool;
    if (!asNobody_) return runTool(program, arguments);
    return runTool(runuserProgram(), QStringList{QStringLiteral("-u"), QStringLiteral("nobody"),
                                                 QStringLiteral("--"), program} +
                                         arguments);
}

QString PrivatePostgresServer::connectionStringFor(const QString& database) const {
    // The address form, as a user gives it to --catalog; the socket folder is the host, percent-encoded.
    return QStringLiteral("postgresql:///%1?host=%2&user=%3")
        .arg(database, QString::fromLatin1(QUrl::toPercentEncoding(folder_.path())),
             QString::fromLatin1(kUser));
}

QString PrivatePostgresServer::createDatabase(QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error) *error = reason;
        return QString();
    };
    if (!running_) return fail(unavailable_);
    const QString name = QStringLiteral("vt_test_%1").arg(++databases_);
    // createdb is a client: it connects through the socket as the server's superuser, from any account.
    const QString failure = runTool(
        binaries_ + QStringLiteral("/createdb"),
        {QStringLiteral("-h"), folder_.path(), QStringLiteral("-U"), QString::fromLatin1(kUser), name});
    if (!failure.isEmpty()) return fail(QStringLiteral("createdb failed: ") + failure);
    return connectionStringFor(name);
}

PrivatePostgresServer& PrivatePostgresServer::shared() {
    // Stopped when the test program ends.
    static PrivatePostgresServer server;
    return server;
}

}  // namespace vt::test
