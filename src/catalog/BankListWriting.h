#pragma once

#include <memory>

#include "catalog/BankListAppender.h"

namespace vt {

class Connection;

// Starts writing a disc's rows into BankList the way the connection's engine takes them fastest: in the
// catalogue file from a thread of its own (BankListAppender), on a server with COPY (PgBankListCopy). The
// connection's transaction must be open; the rows land or vanish with it. Throws CatalogError.
std::unique_ptr<BankListWriter> startBankListWriting(Connection& connection);

}  // namespace vt
