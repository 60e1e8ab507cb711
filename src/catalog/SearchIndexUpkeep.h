#pragma once

#include <QObject>
#include <QTimer>
#include <utility>

struct sqlite3;

namespace vt {

class Connection;

// Keeps the path index in shape from the event loop: after the catalogue has been written to (through this
// connection or any other), it indexes the rows added since, takes the entries of removed rows out and
// merges the index's segments, a small step at a time, so that neither adding nor removing a disc pays for
// it and a search never waits on it. Skips its turn while a transaction is open or the catalogue is busy. The
// connection must outlive this object; it may be closed meanwhile.
class SearchIndexUpkeep : public QObject {
    Q_OBJECT
  public:
    explicit SearchIndexUpkeep(Connection& connection, QObject* parent = nullptr);

    // One step of upkeep if the catalogue changed since the index was last found tidy. Returns whether
    // work was done. The timer calls it; exposed so that the idle behaviour can be checked.
    bool step();

  private:
    using CatalogueState = std::pair<qint64, qint64>;  // own changes, data version

    static CatalogueState currentState(sqlite3* db);
    void onTimeout();

    Connection& connection_;
    QTimer timer_;
    CatalogueState stateWhenTidy_{-1, -1};  // when nothing was left to do
};

}  // namespace vt
