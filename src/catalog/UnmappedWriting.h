#pragma once

#include <QtGlobal>

namespace vt {

class Connection;

// While it lives, the connection reads the catalogue file through SQLite's own page cache (a few
// megabytes, reused) instead of mapping the file into the program. Mapping speeds up searches, but a scan
// and the indexing after it read the file from one end to the other, and every mapped page they touch
// stays in the program's resident memory: a million-file disc grew it by hundreds of megabytes.
//
// Construct and destroy it outside transactions (SQLite changes the mapping only between them); the
// mapping the connection had comes back on destruction.
class UnmappedWriting {
  public:
    explicit UnmappedWriting(Connection& connection);
    ~UnmappedWriting();
    UnmappedWriting(const UnmappedWriting&) = delete;
    UnmappedWriting& operator=(const UnmappedWriting&) = delete;

  private:
    Connection& connection_;
    qint64 mapped_ = 0;
};

}  // namespace vt
