// The one updating progress line on standard error: percentage, throughput and time left.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace partsmith::cli {

// "45.68%  312.4 MB/s  0:12 left"; the percentage in the program's "#.00" form, MB are 10^6
// bytes. Without a rate yet, or without a time left, those fields are left out.
std::string ProgressText(double percent, std::optional<double> bytesPerSecond,
                         std::optional<double> secondsLeft);

// "0:07", "12:34", "1:02:03".
std::string DurationText(double seconds);

class ProgressLine {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // Draws nothing at all when disabled (standard error is no terminal, or --quiet).
    ProgressLine(std::ostream& err, bool enabled, Clock clock = nullptr);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // percent of totalBytes is done. Redraws at most ten times a second, and always at 100.
    void Update(double percent, std::uint64_t totalBytes);
    // A status text in place of the figures until the next Update ("Calculate checksum ...").
    void Status(const std::string& text);
    // Ends the line so that the next text starts on a line of its own.
    void Finish();
    // The time between Hold and Resume (a question waiting for its answer) does not count
    // towards the throughput.
    void Hold();
    void Resume();
    [[nodiscard]] bool Enabled() const noexcept { return enabled_; }

private:
    std::ostream& err_;
    bool enabled_;
    Clock clock_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
    std::optional<std::chrono::steady_clock::time_point> heldSince_;
    bool drawn_ = false;
    std::size_t lastWidth_ = 0;
    void Draw(std::string text);
};

} // namespace partsmith::cli
