#include "text/Utf8.h"

namespace partsmith {

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    ++pos;
    if (lead < 0x80) {
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    // The bounds of the second byte exclude overlong forms, surrogates and values past U+10FFFF
    // (the table of well-formed sequences of the Unicode standard).
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
        if (lead == 0xE0) {
            low = 0xA0;
        } else if (lead == 0xED) {
            high = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return kInvalidCodePoint;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (pos >= text.size()) {
            return kInvalidCodePoint;
        }
        const auto next = static_cast<unsigned char>(text[pos]);
        if (next < low || next > high) {
            return kInvalidCodePoint;
        }
        low = 0x80;
        high = 0xBF;
        cp = (cp << 6) | (next & 0x3Fu);
        ++pos;
    }
    return cp;
}

void AppendUtf8(std::string& out, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        c = kReplacementChar;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string SanitizeUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t c = DecodeUtf8(text, pos);
        if (c == kInvalidCodePoint) {
            AppendUtf8(out, kReplacementChar);
        } else {
            out.append(text.substr(start, pos - start));
        }
    }
    return out;
}

} // namespace partsmith
