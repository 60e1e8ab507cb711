#include "catalog/postgres/Libpq.h"

#include <dlfcn.h>

#include <QString>
#include <optional>

#include "catalog/CatalogError.h"

namespace vt {

namespace {

// The library's name as its runtime package installs it; the unversioned name is in the -dev package only.
constexpr const char* kLibraryName = "libpq.so.5";

struct Loaded {
    std::optional<Libpq> functions;
    QString failure;
};

template <typename Function>
bool find(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

Loaded load() {
    Loaded loaded;
    // Stays loaded for the program's run: its connections may be open until the very end, and libpq does
    // not promise to unload cleanly.
    void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        loaded.failure = QStringLiteral("the PostgreSQL client library (%1) cannot be loaded: %2")
                             .arg(QLatin1String(kLibraryName), QString::fromLocal8Bit(dlerror()));
        return loaded;
    }
    Libpq pq{};
    const char* missing = nullptr;
    const auto need = [&](const char* name, auto& function) {
        if (!missing && !find(library, name, function)) missing = name;
    };
    need("PQconnectdb", pq.connectdb);
    need("PQfinish", pq.finish);
    need("PQreset", pq.reset);
    need("PQstatus", pq.status);
    need("PQerrorMessage", pq.errorMessage);
    need("PQsetNoticeProcessor", pq.setNoticeProcessor);
    need("PQsetClientEncoding", pq.setClientEncoding);
    need("PQtransactionStatus", pq.transactionStatus);
    need("PQbackendPID", pq.backendPID);
    need("PQconninfoParse", pq.conninfoParse);
    need("PQconninfoFree", pq.conninfoFree);
    need("PQfreemem", pq.freemem);
    need("PQescapeLiteral", pq.escapeLiteral);
    need("PQexec", pq.exec);
    need("PQexecParams", pq.execParams);
    need("PQputCopyData", pq.putCopyData);
    need("PQputCopyEnd", pq.putCopyEnd);
    need("PQgetResult", pq.getResult);
    need("PQresultStatus", pq.resultStatus);
    need("PQresultErrorField", pq.resultErrorField);
    need("PQclear", pq.clear);
    need("PQntuples", pq.ntuples);
    need("PQnfields", pq.nfields);
    need("PQfname", pq.fname);
    need("PQftype", pq.ftype);
    need("PQgetisnull", pq.getisnull);
    need("PQgetvalue", pq.getvalue);
    need("PQgetlength", pq.getlength);
    need("PQcmdTuples", pq.cmdTuples);
    need("PQenterPipelineMode", pq.enterPipelineMode);
    need("PQexitPipelineMode", pq.exitPipelineMode);
    need("PQpipelineSync", pq.pipelineSync);
    need("PQsendQueryParams", pq.sendQueryParams);
    need("PQsendQueryPrepared", pq.sendQueryPrepared);
    if (missing) {
        loaded.failure = QStringLiteral("the PostgreSQL client library (%1) has no %2: it is too old")
                             .arg(QLatin1String(kLibraryName), QLatin1String(missing));
        return loaded;
    }
    loaded.functions = pq;
    return loaded;
}

const Loaded& loadedOnce() {
    static const Loaded loaded = load();
    return loaded;
}

}  // namespace

const Libpq& libpq() {
    const Loaded& loaded = loadedOnce();
    if (!loaded.functions) throw CatalogError(loaded.failure);
    return *loaded.functions;
}

const Libpq* libpqIfLoadable() {
    const Loaded& loaded = loadedOnce();
    return loaded.functions ? &*loaded.functions : nullptr;
}

}  // namespace vt
