#include "text/Format.h"

#include <algorithm>
#include <cmath>

namespace partsmith {
namespace {

[[noreturn]] void ThrowMismatch(std::string_view format) {
    throw FormatError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

} // namespace

std::string FormatWide(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    out.reserve(format.size() + 32);
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i + 1 >= format.size()) {
            ThrowMismatch(format);
        }
        const char spec = format[++i];
        if (spec == '%') {
            out += '%';
            continue;
        }
        if ((spec != 's' && spec != 'd') || next == args.end()) {
            ThrowMismatch(format);
        }
        if (spec == 's') {
            const auto* text = std::get_if<std::string>(&*next);
            if (text == nullptr) {
                ThrowMismatch(format);
            }
            out += *text;
        } else {
            const auto* number = std::get_if<std::int64_t>(&*next);
            if (number == nullptr) {
                ThrowMismatch(format);
            }
            out += std::to_string(*number);
        }
        ++next;
    }
    if (next != args.end()) {
        ThrowMismatch(format);
    }
    return out;
}

std::string FormatHundredths(double value) {
    if (!std::isfinite(value)) {
        return ".00";
    }
    // Rounding half away from zero on the scaled value, then printing the integer, keeps exact
    // halves like 0.125 rounding up (printf would round them to even). The product is taken in
    // long double, which holds it exactly where long double is wider than double, so that a
    // value just below a half is not pushed onto it.
    constexpr long double kLimit = 1e17L; // keeps the hundredths within 64 bits
    const long double scaled =
        std::min(std::round(std::fabs(static_cast<long double>(value)) * 100.0L), kLimit);
    const auto hundredths = static_cast<std::uint64_t>(scaled);
    const std::uint64_t whole = hundredths / 100;
    const std::uint64_t frac = hundredths % 100;
    std::string out;
    if (value < 0 && hundredths != 0) {
        out += '-';
    }
    if (whole != 0) {
        out += std::to_string(whole);
    }
    out += '.';
    out += static_cast<char>('0' + frac / 10);
    out += static_cast<char>('0' + frac % 10);
    return out;
}

std::uint32_t TickDifference(std::uint32_t start, std::uint32_t end) {
    if (end >= start) {
        return end - start;
    }
    return (0xFFFFFFFFu - start) + end;
}

double Percentage(std::uint64_t done, std::uint64_t total) {
    if (total == 0) {
        return 0.0;
    }
    return static_cast<double>(done) / static_cast<double>(total) * 100.0;
}

} // namespace partsmith
