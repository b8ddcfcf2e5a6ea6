#include "Terminal.h"

#include "Interrupt.h"

#include <cerrno>
#include <termios.h>
#include <unistd.h>

namespace partsmith::cli {

namespace {

void WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return; // a prompt that cannot be shown is no reason to fail the run
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Reads byte by byte up to the line end so that nothing past the first line is consumed and
// no copy of the line lingers in a stream buffer. A "\r" before the "\n" belongs to the line
// end. Returns false when the input ends before the first byte.
template <typename Sink> bool ReadLineFrom(int fd, Sink&& sink) {
    bool any = false;
    bool pendingCr = false;
    for (;;) {
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) {
            if (InterruptRequested()) {
                return false;
            }
            continue;
        }
        if (n <= 0) {
            if (pendingCr) {
                sink('\r');
            }
            return any;
        }
        any = true;
        if (c == '\n') {
            return true;
        }
        if (pendingCr) {
            sink('\r');
            pendingCr = false;
        }
        if (c == '\r') {
            pendingCr = true;
            continue;
        }
        sink(c);
    }
}

// Echo off for the life of the object; the previous mode comes back on every way out.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd) {
        if (::tcgetattr(fd_, &saved_) == 0) {
            termios quiet = saved_;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            quiet.c_lflag |= ECHONL;
            active_ = ::tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
        }
    }
    ~EchoOff() {
        if (active_) {
            ::tcsetattr(fd_, TCSAFLUSH, &saved_);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

class ProcessTerminal final : public Terminal {
public:
    bool InputIsTerminal() const override { return ::isatty(STDIN_FILENO) == 1; }
    bool ErrorIsTerminal() const override { return ::isatty(STDERR_FILENO) == 1; }

    bool ReadHidden(std::string_view prompt, Secret& line) override {
        line.Clear();
        WriteAll(STDERR_FILENO, prompt);
        const EchoOff echoOff(STDIN_FILENO);
        return ReadLineFrom(STDIN_FILENO, [&](char c) { line.Append(c); });
    }

    std::optional<std::string> ReadAnswer(std::string_view prompt) override {
        WriteAll(STDERR_FILENO, prompt);
        std::string answer;
        if (!ReadLineFrom(STDIN_FILENO, [&](char c) { answer.push_back(c); })) {
            WriteAll(STDERR_FILENO, "\n");
            return std::nullopt;
        }
        return answer;
    }

    bool ReadInputLine(Secret& line) override {
        line.Clear();
        return ReadLineFrom(STDIN_FILENO, [&](char c) { line.Append(c); });
    }
};

} // namespace

Terminal& SystemTerminal() {
    static ProcessTerminal terminal;
    return terminal;
}

} // namespace partsmith::cli
