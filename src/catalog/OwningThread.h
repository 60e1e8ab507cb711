#pragma once

#include <atomic>
#include <thread>

namespace vt {

// The one thread allowed to use something at a time. A use from any other thread is refused rather than
// left to race; the check is a single atomic compare, cheap enough for every statement step.
//
// The thread that makes the object owns it at first. Ownership is handed on explicitly: by the owner, or
// by whoever has made sure the owner has stopped using the object (e.g. by joining it).
class OwningThread {
  public:
    OwningThread() : owner_(std::this_thread::get_id()) {}
    OwningThread(const OwningThread&) = delete;
    OwningThread& operator=(const OwningThread&) = delete;

    void handTo(std::thread::id thread) { owner_.store(thread, std::memory_order_release); }
    std::thread::id owner() const { return owner_.load(std::memory_order_acquire); }
    bool isCurrent() const { return owner() == std::this_thread::get_id(); }
    // Throws CatalogError unless the calling thread is the owner; `what` names the thing refused.
    void require(const char* what) const {
        if (!isCurrent()) refuse(what);
    }

  private:
    [[noreturn]] static void refuse(const char* what);

    std::atomic<std::thread::id> owner_;
};

}  // namespace vt
