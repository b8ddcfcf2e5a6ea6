// The 8-bit code page of the program: Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace partsmith {

// UTF-8 to Windows-1252; a character the code page cannot carry (or a malformed sequence)
// becomes "?".
std::string Utf8ToCodePage(std::string_view utf8);

// Windows-1252 to UTF-8 (the five unassigned bytes map to the C1 controls of the same value).
std::string CodePageToUtf8(std::string_view bytes);

} // namespace partsmith
