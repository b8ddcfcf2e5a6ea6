// Formatting of message texts and figures.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace partsmith {

// Raised when a format's placeholders do not fit its arguments (a language file may supply such
// a format). The general error handler reports it.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One argument of FormatWide: a text for %s or a whole number for %d.
using FormatArg = std::variant<std::string, std::int64_t>;

// Fills the placeholders of format in order: %s takes a text, %d a whole number, %% gives "%".
// A placeholder without an argument of its kind, an unknown placeholder, or arguments left over
// raise FormatError. Arguments are never interpreted as formats.
std::string FormatWide(std::string_view format, std::initializer_list<FormatArg> args);

// The "#.00" pattern: two decimals, rounded, no digit before the point below 1.
// 0.5 -> ".50", 45.678 -> "45.68", 100 -> "100.00", 0 -> ".00".
std::string FormatHundredths(double value);

// Milliseconds between two readings of the wrapping 32-bit tick counter, allowing one wrap:
// end - start when end >= start, else (0xFFFFFFFF - start) + end.
std::uint32_t TickDifference(std::uint32_t start, std::uint32_t end);

// Percentage done/total*100 for progress (0 when total is 0).
double Percentage(std::uint64_t done, std::uint64_t total);

} // namespace partsmith
