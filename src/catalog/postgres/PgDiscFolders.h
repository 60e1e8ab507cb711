#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "catalog/DiscTree.h"

namespace vt {

class PgConnection;

// DiscTree's reading of one disc from a catalogue on a PostgreSQL server, giving what the file gives in the
// same order (paths in the byte order of their UTF-8 text, which the "C" collation compares).
//
// The server has no index by folder: a disc's rows are found through the folded DiskName index, in order
// of arrival, and the server itself groups a listing's rows by their next path part, so that a listing
// is one query that sends back only that folder's entries, whatever lies below them.
class PgDiscFolders {
  public:
    PgDiscFolders(PgConnection& db, const QString& diskName) : db_(db), diskName_(diskName) {}

    std::optional<DiscFacts> facts() const;
    // The first and last recorded paths of the disc; nothing when it has no paths.
    std::optional<std::pair<QString, QString>> pathEnds() const;
    DiscFolder list(const QString& folder) const;
    void forEachFile(const QString& folder, const std::function<void(const DiscFile&)>& visit) const;

  private:
    PgConnection& db_;
    QString diskName_;
};

}  // namespace vt
