#pragma once

namespace vt {

// What a scan tells whoever shows it. Calls come on the scanning thread. started() and pause() come
// with no catalogue transaction open, so the receiver may run the event loop and other windows may write
// the catalogue meanwhile.
class ScanProgress {
  public:
    virtual ~ScanProgress() = default;
    // The checks passed and the walk is about to start (the window shows its busy panel).
    virtual void started() = 0;
    // About every 15 ms of work: `recorded` files so far. The receiver shows the number and lets
    // pending events run.
    virtual void pause(long recorded) = 0;
    // While the recorded rows are written into the catalogue, about every 15 ms: `published` of `total`.
    // This step holds the catalogue's transaction open, so the receiver may repaint but must not let user
    // input (or anything else that could write the catalogue) run.
    virtual void publishing(long published, long total) {}
};

}  // namespace vt
