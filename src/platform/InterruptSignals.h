#pragma once

namespace vt {

// While alive, an interrupt (SIGINT) or termination request (SIGTERM) no longer ends the process at once:
// the first one is only noted, for long work to see at its next check and wind down cleanly (rolling back
// what it has not finished). A second one ends the process as it would have without this. The handler does
// nothing but store the signal's number. One at a time; the previous handlers come back on destruction.
class InterruptSignals {
  public:
    InterruptSignals();
    ~InterruptSignals();
    InterruptSignals(const InterruptSignals&) = delete;
    InterruptSignals& operator=(const InterruptSignals&) = delete;

    // The number of the first signal caught, 0 while none has come.
    int caught() const;
};

}  // namespace vt
