#pragma once

#include <QString>
#include <functional>

namespace vt {

class Connection;

// A temporary table shaped like `target` (same columns, same order), private to one connection, where
// rows wait until they are published into the target in one step. Temporary tables vanish with the
// connection, so the rows of a job that fails or a program that dies never reach the catalogue.
// Dropped when the object goes; the connection must outlive it.
class StagingTable {
  public:
    // Creates the empty staging table. Throws CatalogError.
    StagingTable(Connection& connection, const QString& target);
    ~StagingTable();
    StagingTable(const StagingTable&) = delete;
    StagingTable& operator=(const StagingTable&) = delete;

    // The table's name, for statements that write to it (unqualified: temporary tables come first).
    const QString& name() const { return name_; }

    // Inserts every staged row into the target in the order staged, as ordinary inserts (so the target's
    // triggers and indexes see them). Meant to run once, inside the caller's transaction, so that the rows
    // land together with whatever else it writes; the staged rows stay until the object goes. The rows go
    // in chunks, and `betweenChunks` (if given) is called with the rows published so far and the total
    // about every `sliceMs` milliseconds, still inside the transaction. Throws CatalogError.
    void publish(const std::function<void(long done, long total)>& betweenChunks = {}, int sliceMs = 15);

  private:
    Connection& connection_;
    QString target_;
    QString name_;
};

}  // namespace vt
