// A named pipe that delivers its data in small pieces with pauses between them, so a reader
// meets short reads long before the end of the data.
#pragma once

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <fcntl.h>
#include <filesystem>
#include <pthread.h>
#include <span>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace partsmith::testing {

class SlowFifo {
public:
    // The writer starts at once and blocks until a reader opens path.
    SlowFifo(std::filesystem::path path, std::vector<std::byte> data, std::size_t piece)
        : path_(std::move(path)), data_(std::move(data)) {
        if (::mkfifo(path_.c_str(), 0600) != 0) {
            throw std::runtime_error("mkfifo failed");
        }
        writer_ = std::thread([this, piece] { Feed(piece); });
    }
    ~SlowFifo() { writer_.join(); }
    SlowFifo(const SlowFifo&) = delete;
    SlowFifo& operator=(const SlowFifo&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    void Feed(std::size_t piece) {
        // A reader that stops early must fail its test, not kill the program with SIGPIPE.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) {
            return;
        }
        std::span<const std::byte> rest(data_);
        while (!rest.empty()) {
            const ssize_t put = ::write(fd, rest.data(), std::min(piece, rest.size()));
            if (put <= 0) {
                break;
            }
            rest = rest.subspan(static_cast<std::size_t>(put));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ::close(fd);
    }

    std::filesystem::path path_;
    std::vector<std::byte> data_;
    std::thread writer_;
};

} // namespace partsmith::testing
