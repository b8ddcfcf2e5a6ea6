#include "WindowLink.h"

#include "MainWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>

namespace partsmith {

namespace {

std::atomic<int> gRunningWorkers{0};

// One step handed to the window thread. Whether it ran or was thrown away with the window, the
// worker learns of it when the last copy of the posted step is destroyed.
struct CallDone {
    std::mutex mutex;
    std::condition_variable signal;
    bool finished = false;
    bool ran = false;
    std::exception_ptr failure;
};

class CallNotifier {
public:
    explicit CallNotifier(std::shared_ptr<CallDone> done) : done_(std::move(done)) {}
    CallNotifier(const CallNotifier&) = delete;
    CallNotifier& operator=(const CallNotifier&) = delete;
    ~CallNotifier() {
        {
            std::lock_guard lock(done_->mutex);
            done_->finished = true;
        }
        done_->signal.notify_all();
    }
    void MarkRan(std::exception_ptr failure) {
        std::lock_guard lock(done_->mutex);
        done_->ran = true;
        done_->failure = std::move(failure);
    }

private:
    std::shared_ptr<CallDone> done_;
};

} // namespace

struct WindowLink::State {
    std::mutex mutex;
    std::condition_variable workersChanged;
    QObject* anchor = nullptr; // null once the window has gone
    int workers = 0;
};

namespace {

// Lives on the window thread as a child of the main window; the steps are posted to it, so they
// die with it.
class LinkAnchor final : public QObject {
public:
    LinkAnchor(std::shared_ptr<WindowLink::State> state, QObject* window)
        : QObject(window), state_(std::move(state)) {
        setObjectName(QStringLiteral("WindowLinkAnchor"));
        std::lock_guard lock(state_->mutex);
        state_->anchor = this;
    }
    ~LinkAnchor() override {
        {
            std::lock_guard lock(state_->mutex);
            state_->anchor = nullptr;
        }
        // Throwing the waiting steps away lets their workers go; they see the window gone, stop
        // at their next buffer and end without touching it.
        const auto deadline = std::chrono::steady_clock::now() + kWorkerGraceOnClose;
        std::unique_lock lock(state_->mutex);
        while (state_->workers > 0 && std::chrono::steady_clock::now() < deadline) {
            lock.unlock();
            QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
            lock.lock();
            state_->workersChanged.wait_for(lock, std::chrono::milliseconds(10));
        }
        lock.unlock();
        QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    }
    [[nodiscard]] const std::shared_ptr<WindowLink::State>& State() const { return state_; }

private:
    std::shared_ptr<WindowLink::State> state_;
};

} // namespace

WindowLink WindowLink::For(TfrmMain& window) {
    auto* anchor = window.findChild<LinkAnchor*>(QStringLiteral("WindowLinkAnchor"),
                                                 Qt::FindDirectChildrenOnly);
    if (anchor == nullptr)
        anchor = new LinkAnchor(std::make_shared<State>(), &window);
    return WindowLink(anchor->State());
}

bool WindowLink::Call(const std::function<void()>& step) const {
    auto done = std::make_shared<CallDone>();
    {
        std::lock_guard lock(state_->mutex);
        if (state_->anchor == nullptr)
            return false;
        auto notifier = std::make_shared<CallNotifier>(done);
        QMetaObject::invokeMethod(
            state_->anchor,
            [step, notifier] {
                // A failure of the step belongs to the worker's run, not to the event loop.
                std::exception_ptr failure;
                try {
                    step();
                } catch (...) {
                    failure = std::current_exception();
                }
                notifier->MarkRan(std::move(failure));
            },
            Qt::QueuedConnection);
    }
    std::unique_lock lock(done->mutex);
    done->signal.wait(lock, [&done] { return done->finished; });
    if (done->failure)
        std::rethrow_exception(done->failure);
    return done->ran;
}

WindowLink::Ticket::Ticket(std::shared_ptr<State> state) : state_(std::move(state)) {
    gRunningWorkers.fetch_add(1);
    std::lock_guard lock(state_->mutex);
    ++state_->workers;
}

WindowLink::Ticket::~Ticket() {
    {
        std::lock_guard lock(state_->mutex);
        --state_->workers;
    }
    state_->workersChanged.notify_all();
    gRunningWorkers.fetch_sub(1);
}

std::unique_ptr<WindowLink::Ticket> WindowLink::TakeTicket() const {
    return std::make_unique<Ticket>(state_);
}

int RunningWorkers() {
    return gRunningWorkers.load();
}

} // namespace partsmith
