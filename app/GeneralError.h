// The general error handler: what a handler throws and nobody expected becomes a box captioned
// with the application title, and the program carries on with the next event.
#pragma once

#include <QString>
#include <exception>
#include <string>
#include <string_view>

class QWidget;

namespace partsmith {

class Platform;

// text with a "." appended when its last character sorts after "." (so "!" and "." add none).
std::string WithClosingPeriod(std::string text);

class GeneralErrorHandler {
public:
    GeneralErrorHandler(Platform& platform, QWidget* owner) : platform_(platform), owner_(owner) {}

    // The error box for text (UTF-8).
    void Report(std::string_view text);

    // Runs body; whatever it throws is reported here.
    template <class Body> void Run(Body&& body) noexcept {
        try {
            body();
        } catch (const std::exception& error) {
            ReportSafely(error.what());
        } catch (...) {
            ReportSafely("Unknown error");
        }
    }

    // A slot for connect() that runs body through Run.
    template <class Body> auto Guard(Body body) {
        return [this, body = std::move(body)]() mutable { Run(body); };
    }

private:
    void ReportSafely(const char* text) noexcept;

    Platform& platform_;
    QWidget* owner_;
};

} // namespace partsmith
