#include "catalog/BankListWriting.h"

#include "catalog/Connection.h"
#include "catalog/postgres/PgBankListCopy.h"

namespace vt {

std::unique_ptr<BankListWriter> startBankListWriting(Connection& connection) {
    if (PgConnection* server = connection.server()) return std::make_unique<PgBankListCopy>(*server);
    return std::make_unique<BankListAppender>(connection);
}

}  // namespace vt
