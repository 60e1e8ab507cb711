#pragma once

#include <QObject>
#include <QTimer>

namespace vt {

class Connection;

// Keeps the path index in shape from the event loop: after the catalogue has been written to, it takes the
// entries of removed rows out and merges the index's segments, a small step at a time, so that neither
// adding nor removing a disc pays for it and a search never waits on it. Skips its turn while a transaction
// is open or the catalogue is busy. The connection must outlive this object; it may be closed meanwhile.
class SearchIndexUpkeep : public QObject {
    Q_OBJECT
  public:
    explicit SearchIndexUpkeep(Connection& connection, QObject* parent = nullptr);

    // One step of upkeep if the catalogue changed since the index was last found tidy. Returns whether
    // work was done. The timer calls it; exposed so that the idle behaviour can be checked.
    bool step();

  private:
    void onTimeout();

    Connection& connection_;
    QTimer timer_;
    int changesWhenTidy_ = -1;  // the connection's change count when nothing was left to do
};

}  // namespace vt
