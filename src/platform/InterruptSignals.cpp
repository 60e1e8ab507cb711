#include "platform/InterruptSignals.h"

#include <csignal>

namespace vt {

namespace {

volatile std::sig_atomic_t caughtSignal = 0;
struct sigaction previousInterrupt;
struct sigaction previousTerminate;

extern "C" void noteSignal(int number) {
    if (caughtSignal != 0) {
        // Asked again: the user wants out now. Both calls are safe in a handler.
        std::signal(number, SIG_DFL);
        std::raise(number);
        return;
    }
    caughtSignal = number;
}

}  // namespace

InterruptSignals::InterruptSignals() {
    caughtSignal = 0;
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    // Reads of the disc go on as if nothing happened; the walk looks at the flag between entries.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
}

InterruptSignals::~InterruptSignals() {
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
}

int InterruptSignals::caught() const {
    return caughtSignal;
}

}  // namespace vt
