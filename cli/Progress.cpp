#include "Progress.h"

#include "text/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace partsmith::cli {

std::string DurationText(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) {
        seconds = 0;
    }
    const auto total = static_cast<std::uint64_t>(std::llround(seconds));
    const std::uint64_t h = total / 3600;
    const std::uint64_t m = (total / 60) % 60;
    const std::uint64_t s = total % 60;
    char text[48];
    if (h > 0) {
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", static_cast<unsigned long long>(h),
                      static_cast<unsigned long long>(m), static_cast<unsigned long long>(s));
    } else {
        std::snprintf(text, sizeof text, "%llu:%02llu", static_cast<unsigned long long>(m),
                      static_cast<unsigned long long>(s));
    }
    return text;
}

std::string ProgressText(double percent, std::optional<double> bytesPerSecond,
                         std::optional<double> secondsLeft) {
    std::string text = FormatHundredths(percent) + "%";
    if (bytesPerSecond) {
        char rate[48];
        std::snprintf(rate, sizeof rate, "  %.1f MB/s", *bytesPerSecond / 1e6);
        text += rate;
    }
    if (secondsLeft) {
        text += "  " + DurationText(*secondsLeft) + " left";
    }
    return text;
}

ProgressLine::ProgressLine(std::ostream& err, bool enabled, Clock clock)
    : err_(err), enabled_(enabled), clock_(std::move(clock)) {
    if (!clock_) {
        clock_ = [] { return std::chrono::steady_clock::now(); };
    }
    start_ = clock_();
    lastDraw_ = start_;
}

ProgressLine::~ProgressLine() {
    Finish();
}

void ProgressLine::Update(double percent, std::uint64_t totalBytes) {
    if (!enabled_) {
        return;
    }
    const auto now = clock_();
    const bool complete = percent >= 100.0;
    if (drawn_ && !complete && now - lastDraw_ < std::chrono::milliseconds(100)) {
        return;
    }
    lastDraw_ = now;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const double fraction = std::clamp(percent / 100.0, 0.0, 1.0);
    const double done = fraction * static_cast<double>(totalBytes);
    std::optional<double> rate;
    std::optional<double> left;
    if (elapsed > 0.05 && done > 0) {
        rate = done / elapsed;
        left = (static_cast<double>(totalBytes) - done) / *rate;
    }
    Draw(ProgressText(percent, rate, left));
}

void ProgressLine::Status(const std::string& text) {
    if (enabled_) {
        Draw(text);
    }
}

void ProgressLine::Draw(std::string text) {
    const std::size_t width = text.size();
    if (width < lastWidth_) {
        text.append(lastWidth_ - width, ' '); // clears the tail of a longer previous line
    }
    lastWidth_ = width;
    err_ << '\r' << text << std::flush;
    drawn_ = true;
}

void ProgressLine::Hold() {
    if (!heldSince_) {
        heldSince_ = clock_();
    }
}

void ProgressLine::Resume() {
    if (heldSince_) {
        start_ += clock_() - *heldSince_;
        heldSince_.reset();
    }
}

void ProgressLine::Finish() {
    if (enabled_ && drawn_) {
        err_ << '\n' << std::flush;
        drawn_ = false;
        lastWidth_ = 0;
    }
}

} // namespace partsmith::cli
