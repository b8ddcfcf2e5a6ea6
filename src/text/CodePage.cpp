#include "text/CodePage.h"

#include "text/Utf8.h"

#include <array>

namespace partsmith {
namespace {

// Bytes 0x80 to 0x9F; the rest of the code page equals Latin-1. The five bytes without a
// character keep the C1 control of the same value so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ByteForCodePoint(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

} // namespace

std::string Utf8ToCodePage(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = DecodeUtf8(utf8, pos);
        out += c == kInvalidCodePoint ? '?' : ByteForCodePoint(c);
    }
    return out;
}

std::string CodePageToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char b : bytes) {
        const auto value = static_cast<unsigned char>(b);
        if (value >= 0x80 && value <= 0x9F) {
            AppendUtf8(out, kHighControls[value - 0x80u]);
        } else {
            AppendUtf8(out, value);
        }
    }
    return out;
}

} // namespace partsmith
