// Helpers shared by the crypto tests: hex text and byte strings.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace partsmith::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes FromHex(std::string_view hex) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        throw std::invalid_argument("not a hex digit: " + std::string(1, c));
    };
    if (hex.size() % 2 != 0) {
        throw std::invalid_argument("odd hex length: " + std::string(hex));
    }
    Bytes out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        out.push_back(static_cast<std::uint8_t>(nibble(hex[i]) * 16 + nibble(hex[i + 1])));
    }
    return out;
}

inline std::string ToHex(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

inline Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// A reproducible byte pattern for plaintexts.
inline Bytes Pattern(std::size_t length, std::uint32_t seed = 1) {
    Bytes out(length);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : out) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(x >> 23);
    }
    return out;
}

} // namespace partsmith::testing
