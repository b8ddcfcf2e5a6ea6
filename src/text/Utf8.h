// Decoding and encoding of single code points in UTF-8, shared by the code page and the
// language-file reader so that both treat malformed input alike.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace partsmith {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Returned by DecodeUtf8 for a malformed sequence.
inline constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;

// Decodes the code point that starts at pos (pos < text.size()) and advances pos past it. A
// malformed sequence (bad lead byte, missing or bad continuation, overlong form, surrogate,
// beyond U+10FFFF) gives kInvalidCodePoint and advances past its longest well-formed prefix, at
// least one byte, so that one bad sequence becomes one replacement character.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

// Appends c in UTF-8; a surrogate or a value beyond U+10FFFF appends U+FFFD instead.
void AppendUtf8(std::string& out, char32_t c);

// text with every malformed sequence replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

} // namespace partsmith
