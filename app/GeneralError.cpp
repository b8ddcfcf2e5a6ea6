#include "GeneralError.h"

#include "Platform.h"
#include "text/Identity.h"

namespace partsmith {

std::string WithClosingPeriod(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

void GeneralErrorHandler::Report(std::string_view text) {
    platform_.ShowMessage(owner_, QString::fromUtf8(kApplicationTitle),
                          QString::fromStdString(WithClosingPeriod(std::string(text))),
                          BoxIcon::Error);
}

void GeneralErrorHandler::ReportSafely(const char* text) noexcept {
    try {
        Report(text);
    } catch (...) {
        // Nothing is left to tell the user with; the event loop goes on.
    }
}

} // namespace partsmith
