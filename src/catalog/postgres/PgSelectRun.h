#pragma once

#include "catalog/postgres/PgResult.h"
#include "catalog/postgres/PgSelect.h"

namespace vt {

class PgConnection;
class PgPathStatistics;

// The rows of a translated select on a server catalogue. A search by part of a path that few rows match, by
// `paths`' figures, runs through the path index on the plan the server keeps for it; every other statement is
// planned for its values. Throws CatalogError.
PgResult runPgSelect(PgConnection& server, PgPathStatistics& paths, const PgSelect& select);

}  // namespace vt
