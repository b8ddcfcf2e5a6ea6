#include "Interrupt.h"

#include <csignal>

namespace partsmith::cli {

namespace {

volatile std::sig_atomic_t gRequested = 0;

extern "C" void OnInterrupt(int /*signal*/) {
    gRequested = 1;
}

} // namespace

void InstallInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a blocking read of a password returns, so the prompt can give up.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool InterruptRequested() noexcept {
    return gRequested != 0;
}

void SetInterruptRequested(bool requested) noexcept {
    gRequested = requested ? 1 : 0;
}

} // namespace partsmith::cli
