// The settings file: the fuzz bytes are the whole file. Reads must not throw whatever it holds,
// and a write of one key must give its value back as the format reads values (one line, blanks
// trimmed, one pair of matching quotes removed, at most 2047 characters) while every other key
// reads as before.
#include "FuzzCheck.h"
#include "io/File.h"
#include "settings/IniFile.h"
#include "text/TextCase.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace {

constexpr std::string_view kSection = "Fuzz";
constexpr std::string_view kTextKey = "Value";
constexpr std::string_view kNumberKey = "Number";
constexpr std::size_t kMaxValueLength = 2047;

// One folder for the whole run, removed when the run ends.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "partsmith-fuzz-ini-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        folder_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    [[nodiscard]] std::filesystem::path File() const { return folder_ / "settings.ini"; }

private:
    std::filesystem::path folder_;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The printable ASCII, blanks and line breaks of the input, so that a value that goes through
// the 8-bit code page comes back byte for byte.
std::string PlainText(std::string_view bytes, std::size_t limit) {
    std::string text;
    for (const char c : bytes) {
        if (text.size() == limit) {
            break;
        }
        if ((c >= ' ' && c <= '~') || c == '\t' || c == '\r' || c == '\n') {
            text.push_back(c);
        }
    }
    return text;
}

std::string ExpectedValue(std::string_view written) {
    std::string value(written);
    for (char& c : value) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    std::string_view view = value;
    while (!view.empty() && IsBlank(view.front())) {
        view.remove_prefix(1);
    }
    while (!view.empty() && IsBlank(view.back())) {
        view.remove_suffix(1);
    }
    if (view.size() >= 2 && (view.front() == '"' || view.front() == '\'') &&
        view.back() == view.front()) {
        view = view.substr(1, view.size() - 2);
    }
    return std::string(view.substr(0, kMaxValueLength));
}

// A section and key that the file itself may hold: the first heading and the key of the first
// line with "=" after it, taken roughly; a miss only makes the check below weaker.
struct OtherKey {
    std::string section;
    std::string key;
};

OtherKey OtherKeyOf(std::string_view text) {
    OtherKey other;
    const std::size_t open = text.find('[');
    if (open == std::string_view::npos) {
        return other;
    }
    const std::size_t close = text.find(']', open);
    if (close == std::string_view::npos) {
        return other;
    }
    other.section = std::string(text.substr(open + 1, close - open - 1));
    const std::size_t eq = text.find('=', close);
    if (eq == std::string_view::npos) {
        return other;
    }
    std::size_t start = text.find_last_of("\r\n", eq);
    start = start == std::string_view::npos ? close + 1 : start + 1;
    std::string_view key = text.substr(start, eq - start);
    while (!key.empty() && IsBlank(key.front())) {
        key.remove_prefix(1);
    }
    while (!key.empty() && IsBlank(key.back())) {
        key.remove_suffix(1);
    }
    other.key = std::string(key);
    return other;
}

bool IsWrittenKey(const OtherKey& other) {
    return partsmith::EqualsIgnoringCase(other.section, kSection) &&
           (partsmith::EqualsIgnoringCase(other.key, kTextKey) ||
            partsmith::EqualsIgnoringCase(other.key, kNumberKey));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder scratch;
    const std::filesystem::path path = scratch.File();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    {
        const auto out = partsmith::RealFileSystem().Create(path);
        out->Write(std::as_bytes(std::span(bytes.data(), bytes.size())));
        out->Close();
    }

    partsmith::IniFile ini(path);
    const OtherKey other = OtherKeyOf(bytes);
    const std::string before = ini.ReadString(other.section, other.key, "\x01missing");
    static_cast<void>(ini.ReadInteger(other.section, other.key, 0));
    static_cast<void>(ini.ReadBool(other.section, other.key, false));
    // An entry's key is the text before its first "=", so this key is never there.
    FUZZ_CHECK(ini.ReadString(other.section, "a=b", "fallback") == "fallback");

    const std::string value = PlainText(bytes, kMaxValueLength + 100);
    std::int64_t number = 0;
    if (size > 0) {
        std::memcpy(&number, data, size < sizeof number ? size : sizeof number);
    }
    ini.WriteString(kSection, kTextKey, value);
    ini.WriteInteger(kSection, kNumberKey, number);

    FUZZ_CHECK(ini.ReadString(kSection, kTextKey, "\x01missing") == ExpectedValue(value));
    FUZZ_CHECK(ini.ReadInteger(kSection, kNumberKey, number == 0 ? 1 : 0) == number);
    if (!IsWrittenKey(other)) {
        FUZZ_CHECK(ini.ReadString(other.section, other.key, "\x01missing") == before);
    }
    return 0;
}
