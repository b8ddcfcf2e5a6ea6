// Language files: whatever bytes a file holds, decoding gives well-formed UTF-8, no line keeps
// a line end, and a lookup of each key gives the value of the first line with that key.
#include "FuzzCheck.h"
#include "text/LanguageFile.h"
#include "text/TextCase.h"
#include "text/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kLineSeparator = "\xE2\x80\xA8";

std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string text = partsmith::DecodeLanguageText(bytes);
    FUZZ_CHECK(partsmith::SanitizeUtf8(text) == text);
    for (const std::string& line : partsmith::SplitLanguageLines(text)) {
        FUZZ_CHECK(line.find('\r') == std::string::npos);
        FUZZ_CHECK(line.find('\n') == std::string::npos);
        FUZZ_CHECK(line.find(kLineSeparator) == std::string::npos);
    }

    const partsmith::LanguageFile file = partsmith::LanguageFile::FromBytes(bytes);
    const auto& entries = file.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& [key, value] = entries[i];
        FUZZ_CHECK(key.find('=') == std::string::npos);
        std::size_t first = 0;
        while (!partsmith::EqualsIgnoringCase(entries[first].first, key)) {
            ++first;
        }
        const std::string& firstValue = entries[first].second;
        const std::optional<std::string> found = file.Lookup(key);
        FUZZ_CHECK(found.has_value() == !firstValue.empty());
        FUZZ_CHECK(!found || *found == firstValue);
        FUZZ_CHECK(file.Lookup(AsciiUpper(key)) == found);
    }
    return 0;
}
