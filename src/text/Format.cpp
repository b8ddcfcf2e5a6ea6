#include "text/Format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace partsmith {

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
            throw FormatError("Format '" + std::string(format) + "' invalid or incompatible with argument");
        }
        const char spec = format[++i];
        if (spec == '%') {
            out += '%';
            continue;
        }
        if ((spec != 's' && spec != 'd') || next == args.end()) {
            throw FormatError("Format '" + std::string(format) + "' invalid or incompatible with argument");
        }
        if (spec == 's') {
            const auto* text = std::get_if<std::string>(&*next);
            if (text == nullptr) {
                throw FormatError("Format '" + std::string(format) + "' invalid or incompatible with argument");
            }
            out += *text;
        } else {
            const auto* number = std::get_if<std::int64_t>(&*next);
            if (number == nullptr) {
                throw FormatError("Format '" + std::string(format) + "' invalid or incompatible with argument");
            }
            out += std::to_string(*number);
        }
        ++next;
    }
    if (next != args.end()) {
        throw FormatError("Format '" + std::string(format) + "' invalid or incompatible with argument");
    }
    return out;
}

std::string FormatHundredths(double value) {
    if (!std::isfinite(value)) {
        return ".00";
    }
    // Round to hundredths on the integer, then print: avoids "99.995" coming out as "100.0".
    const double scaled = std::round(std::fabs(value) * 100.0);
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
