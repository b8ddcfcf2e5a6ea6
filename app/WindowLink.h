// The window's side of the worker-thread protocol: a worker hands a step to the window thread
// and waits until the window thread has run it. The link outlives the window: once the window
// is gone a step is no longer run, the waiting worker is let go at once, and the call reports
// that the window has gone, so the worker stops at its next buffer instead of waiting forever.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace partsmith {

class TfrmMain;

class WindowLink {
public:
    struct State;

    // The link of window; made on first use, on the window thread.
    static WindowLink For(TfrmMain& window);

    // Runs step on the window thread and waits for it. False when the window has gone, in
    // which case step did not run; what step throws is thrown here, on the worker's thread.
    // Never called on the window thread itself.
    bool Call(const std::function<void()>& step) const;

    // Held by a worker for its whole life: a window that goes waits a little for its workers
    // to notice, and tests wait for every worker to end.
    class Ticket {
    public:
        explicit Ticket(std::shared_ptr<State> state);
        Ticket(const Ticket&) = delete;
        Ticket& operator=(const Ticket&) = delete;
        ~Ticket();

    private:
        std::shared_ptr<State> state_;
    };
    [[nodiscard]] std::unique_ptr<Ticket> TakeTicket() const;

private:
    explicit WindowLink(std::shared_ptr<State> state) : state_(std::move(state)) {}
    std::shared_ptr<State> state_;
};

// How long a window that goes waits for its workers to stop before it lets them go on alone.
inline constexpr std::chrono::milliseconds kWorkerGraceOnClose{5000};

// Workers whose thread has not ended yet, over all windows.
[[nodiscard]] int RunningWorkers();

} // namespace partsmith
