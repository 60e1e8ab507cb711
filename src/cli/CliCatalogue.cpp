#include "cli/CliCatalogue.h"

#include <QFileInfo>

#include "catalog/CatalogError.h"
#include "catalog/postgres/PgConnectionString.h"
#include "cli/CliArguments.h"
#include "cli/CliEnvironment.h"

namespace vt::cli {

namespace {

QString resolvedCatalogue(const QString& given, const CliEnvironment& env) {
    if (isPostgresConnectionString(given)) return given.trimmed();
    if (!given.isEmpty()) return QFileInfo(given).absoluteFilePath();
    return env.defaultCatalogFolder + QStringLiteral("/Mydb.mdb");
}

}  // namespace

QString cataloguePath(const Arguments& args, const CliEnvironment& env) {
    return resolvedCatalogue(args.option(QStringLiteral("--catalog")), env);
}

std::unique_ptr<Connection> openCatalogue(const Arguments& args, CliEnvironment& env, Access access) {
    return openCatalogueAt(args.option(QStringLiteral("--catalog")), env, access);
}

std::unique_ptr<Connection> openCatalogueAt(const QString& given, CliEnvironment& env, Access access) {
    const QString path = resolvedCatalogue(given, env);
    const bool onServer = isPostgresConnectionString(path);
    if (access == Access::Read && !onServer && !QFileInfo::exists(path)) {
        env.err << "vellumtrove-cli: no catalogue at " << path
                << "; catalogue a disc first (vellumtrove-cli scan) or name one with --catalog PATH\n";
        return nullptr;
    }
    auto connection = std::make_unique<Connection>();
    try {
        // A server's address is the whole connection string (with its password, if it holds one, which no
        // message shows).
        vt::openCatalogue(
            *connection,
            onServer ? path : QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;data source=") + path,
            access == Access::Read ? CatalogueAccess::ReadOnly : CatalogueAccess::ReadWrite);
    } catch (const CatalogOpenError& e) {
        QString advice;
        switch (e.reason()) {
            case CatalogOpenError::Reason::NotACatalogue:
                advice = QStringLiteral("it is not a Vellumtrove catalogue; it was left as it was");
                break;
            case CatalogOpenError::Reason::UnknownVersion:
                advice = QStringLiteral("it was written by a newer Vellumtrove; use that version");
                break;
            case CatalogOpenError::Reason::ReadOnlyFile:
            case CatalogOpenError::Reason::FolderNotWritable:
                advice = QStringLiteral("it cannot be written; give write permission or use a copy");
                break;
            case CatalogOpenError::Reason::CannotOpen:
                advice = onServer ? QStringLiteral(
                                        "check the address, that the server runs and that the user may "
                                        "use the database")
                                  : QStringLiteral("check the path and its permissions");
                break;
        }
        env.err << "vellumtrove-cli: cannot open the catalogue " << e.path() << ": " << e.detail() << "; "
                << advice << '\n';
        return nullptr;
    }
    return connection;
}

}  // namespace vt::cli
