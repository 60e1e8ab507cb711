#include "catalog/DiscRows.h"

#include "catalog/CatalogSchema.h"
#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"

namespace vt {
namespace DiscRows {

namespace {

constexpr int kDisksColumns = DisksColumn::CataloguedAt + 1;

}  // namespace

std::vector<std::vector<QVariant>> allDiscs(Connection& connection) {
    Recordset disks;
    disks.Open(Statements::allDisks(), connection);
    std::vector<std::vector<QVariant>> discs;
    for (; !disks.EOF_(); disks.MoveNext()) {
        std::vector<QVariant> fields(kDisksColumns);
        for (int i = 0; i < disks.fieldCount() && i < kDisksColumns; ++i)
            fields[size_t(i)] = disks.Fields(i).Value();
        discs.push_back(std::move(fields));
    }
    return discs;
}

}  // namespace DiscRows
}  // namespace vt
