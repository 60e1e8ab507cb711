#include "catalog/postgres/PgSelectRun.h"

#include "catalog/postgres/PgConnection.h"
#include "catalog/postgres/PgPathStatistics.h"

namespace vt {

PgResult runPgSelect(PgConnection& server, PgPathStatistics& paths, const PgSelect& select) {
    if (const std::optional<PgSelect::ThroughPathIndex>& indexed = select.throughPathIndex) {
        paths.refresh(server);
        if (paths.favoursPathIndex(indexed->foldedPattern, indexed->limit))
            return server.execOnGenericPlan(indexed->name, indexed->sql, indexed->parameters);
    }
    return server.exec(select.sql, select.parameters);
}

}  // namespace vt
