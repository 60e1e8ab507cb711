#include "cli/CliCatalogue.h"

#include <QFileInfo>

#include "catalog/CatalogError.h"
#include "cli/CliArguments.h"
#include "cli/CliEnvironment.h"

namespace vt::cli {

QString cataloguePath(const Arguments& args, const CliEnvironment& env) {
    const QString given = args.option(QStringLiteral("--catalog"));
    if (!given.isEmpty()) return QFileInfo(given).absoluteFilePath();
    return env.defaultCatalogFolder + QStringLiteral("/Mydb.mdb");
}

std::unique_ptr<Connection> openCatalogue(const Arguments& args, CliEnvironment& env, Access access) {
    const QString path = cataloguePath(args, env);
    if (access == Access::Read && !QFileInfo::exists(path)) {
        env.err << "vellumtrove-cli: no catalogue at " << path
                << "; catalogue a disc first (vellumtrove-cli scan) or name one with --catalog PATH\n";
        return nullptr;
    }
    auto connection = std::make_unique<Connection>();
    try {
        vt::openCatalogue(*connection, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;data source=") + path,
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
                advice = QStringLiteral("check the path and its permissions");
                break;
        }
        env.err << "vellumtrove-cli: cannot open the catalogue " << e.path() << ": " << e.detail() << "; "
                << advice << '\n';
        return nullptr;
    }
    return connection;
}

}  // namespace vt::cli
