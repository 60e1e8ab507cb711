#pragma once

namespace vt {

// What a scan tells whoever shows it. Calls come on the thread that started the scan, which may run the
// event loop in them; the scan's transaction is open meanwhile, so nothing else writes the catalogue.
class ScanProgress {
  public:
    virtual ~ScanProgress() = default;
    // The checks passed and the walk is about to start (the window shows its busy panel).
    virtual void started() = 0;
    // About every 15 ms of work: `recorded` files so far. The receiver shows the number and lets
    // pending events run.
    virtual void pause(long recorded) = 0;
    // Asked after every entry of the walk and once more before the disc row is written: true stops the scan
    // and nothing of the disc is recorded. Must be cheap (a flag).
    virtual bool cancelRequested() const { return false; }
};

}  // namespace vt
