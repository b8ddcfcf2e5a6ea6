#include "settings/IniFile.h"

#include "io/File.h"
#include "text/CodePage.h"
#include "text/FileBytes.h"
#include "text/Format.h"
#include "text/TextCase.h"
#include "text/UnicodeAdds.h"

#include <charconv>
#include <optional>
#include <random>
#include <system_error>
#include <vector>

namespace partsmith {
namespace {

// The longest value a read returns, in characters of the file's 8-bit text.
constexpr std::size_t kMaxValueLength = 2047;

constexpr std::string_view kNewLine = NativePathStyle() == PathStyle::Windows ? "\r\n" : "\n";

// One line of the file in its 8-bit text, with the line end it had.
struct Line {
    std::string text;
    std::string end;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::vector<Line> SplitLines(std::string_view bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') {
            continue;
        }
        const std::size_t endLength =
            bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
        lines.push_back(
            {std::string(bytes.substr(start, i - start)), std::string(bytes.substr(i, endLength))});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < bytes.size()) {
        lines.push_back({std::string(bytes.substr(start)), std::string()});
    }
    return lines;
}

// The name of a section heading ("[Settings]"), or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    const std::size_t close = line.find(']');
    return Trim(line.substr(0, close));
}

struct Entry {
    std::string_view key;   // trimmed
    std::string_view value; // the raw text after the first "="
};

std::optional<Entry> EntryOf(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || SectionName(line)) {
        return std::nullopt;
    }
    return Entry{Trim(line.substr(0, eq)), line.substr(eq + 1)};
}

// Where a key stands: the line of its entry, and the lines of its section.
struct Place {
    std::optional<std::size_t> sectionLine; // the section's heading
    std::optional<std::size_t> entryLine;
    std::size_t sectionEnd = 0; // one past the section's last line
};

// The first section of that name and, within it, the first entry of that key, as the reads see
// them.
Place Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i].text)) {
            if (place.sectionLine) {
                place.sectionEnd = i;
                return place;
            }
            if (EqualsIgnoringCase(*name, section)) {
                place.sectionLine = i;
            }
            continue;
        }
        if (place.sectionLine && !place.entryLine) {
            const auto entry = EntryOf(lines[i].text);
            if (entry && EqualsIgnoringCase(entry->key, key)) {
                place.entryLine = i;
            }
        }
    }
    place.sectionEnd = lines.size();
    return place;
}

std::string ValueText(std::string_view raw) {
    std::string_view value = Trim(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kMaxValueLength));
}

// Decimal, or hexadecimal after "$", "0x" or "0X", with an optional sign; nullopt for any
// other text or a number out of range.
std::optional<std::int64_t> ParseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    // from_chars would accept a second sign; only digits may follow.
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    constexpr auto kMax = static_cast<std::uint64_t>(INT64_MAX);
    if (magnitude > kMax + (negative ? 1 : 0)) {
        return std::nullopt;
    }
    if (negative) {
        return magnitude == kMax + 1 ? INT64_MIN : -static_cast<std::int64_t>(magnitude);
    }
    return static_cast<std::int64_t>(magnitude);
}

// The file's bytes; nullopt when there is no file or it cannot be read, which a read treats as
// a missing file.
std::optional<std::string> ReadIfPresent(FileSystem& fs, const std::filesystem::path& path) {
    if (!fs.IsFile(path)) {
        return std::nullopt;
    }
    try {
        return ReadFileBytes(fs, path);
    } catch (const IoError&) {
        return std::nullopt;
    }
}

// The value of key in section, or nullopt when the file, the section or the key is missing.
std::optional<std::string> ReadValue(FileSystem& fs, const std::filesystem::path& path,
                                     std::string_view section, std::string_view key) {
    const std::optional<std::string> bytes = ReadIfPresent(fs, path);
    if (!bytes) {
        return std::nullopt;
    }
    const std::vector<Line> lines = SplitLines(*bytes);
    const Place place = Locate(lines, Utf8ToCodePage(section), Utf8ToCodePage(key));
    if (!place.entryLine) {
        return std::nullopt;
    }
    return CodePageToUtf8(ValueText(EntryOf(lines[*place.entryLine].text)->value));
}

std::string JoinLines(const std::vector<Line>& lines) {
    std::string bytes;
    for (const Line& line : lines) {
        bytes += line.text;
        bytes += line.end;
    }
    return bytes;
}

std::string_view LineEndOf(const std::vector<Line>& lines) {
    for (const Line& line : lines) {
        if (!line.end.empty()) {
            return line.end;
        }
    }
    return kNewLine;
}

// Sets key to value in lines: in place when the entry exists, else after the section's last
// non-blank line, else in a new section at the end.
void SetEntry(std::vector<Line>& lines, std::string_view section, std::string_view key,
              std::string_view value) {
    const std::string end(LineEndOf(lines));
    const Place place = Locate(lines, section, key);
    if (place.entryLine) {
        // The key keeps its spelling and layout; only the value changes.
        std::string& text = lines[*place.entryLine].text;
        text.replace(text.find('=') + 1, std::string::npos, value);
        return;
    }
    std::size_t insertAt = lines.size();
    std::vector<Line> added;
    if (place.sectionLine) {
        insertAt = *place.sectionLine + 1;
        for (std::size_t i = insertAt; i < place.sectionEnd; ++i) {
            if (!Trim(lines[i].text).empty()) {
                insertAt = i + 1;
            }
        }
    } else {
        added.push_back({"[" + std::string(section) + "]", end});
    }
    added.push_back({std::string(key) + "=" + std::string(value), end});
    // The line before the insertion may be the file's last line without an end.
    if (insertAt > 0 && lines[insertAt - 1].end.empty()) {
        lines[insertAt - 1].end = end;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), added.begin(), added.end());
}

// A name for the new text beside the file, unlikely to meet another writer's.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    std::random_device random;
    std::string suffix = ".tmp";
    constexpr std::string_view kDigits = "0123456789abcdef";
    const unsigned value = random();
    for (int shift = 0; shift < 32; shift += 4) {
        suffix += kDigits[(value >> shift) & 0xFu];
    }
    std::filesystem::path temp = target;
    temp += suffix;
    return temp;
}

// Writes bytes as the new content of target without ever leaving a shortened file: the text
// goes to a file beside it, which then replaces target in one rename.
void ReplaceFile(FileSystem& fs, const std::filesystem::path& path,
                 const std::filesystem::path& target, std::string_view bytes) {
    const std::filesystem::path temp = TemporaryBeside(target);
    try {
        const std::unique_ptr<OutputFile> out = fs.Create(temp);
        out->Write(std::as_bytes(std::span(bytes.data(), bytes.size())));
        out->Close();
    } catch (const IoError& error) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw SettingsWriteError(path, error.Reason());
    }
    std::error_code ec;
    const auto old = std::filesystem::status(target, ec);
    if (!ec && std::filesystem::exists(old)) {
        std::filesystem::permissions(temp, old.permissions(), ec);
    }
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw SettingsWriteError(path, ec.message());
    }
}

// Line breaks in a value would end its line and start another entry.
std::string SingleLine(std::string_view value) {
    std::string text(value);
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

} // namespace

SettingsWriteError::SettingsWriteError(const std::filesystem::path& path)
    : std::runtime_error(FormatWide("Unable to write to %s", {Utf8FromPath(path)})) {}

SettingsWriteError::SettingsWriteError(const std::filesystem::path& path, std::string reason)
    : SettingsWriteError(path) {
    reason_ = std::move(reason);
}

IniFile::IniFile(std::filesystem::path path, FileSystem& fs) : path_(std::move(path)), fs_(&fs) {}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    return ReadValue(*fs_, path_, section, key).value_or(std::string(fallback));
}

std::int64_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int64_t fallback) const {
    const std::optional<std::string> value = ReadValue(*fs_, path_, section, key);
    return value ? ParseInteger(*value).value_or(fallback) : fallback;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::filesystem::path target = path_;
    std::error_code ec;
    // A linked settings file keeps its link: the rename replaces the file it points to.
    if (std::filesystem::is_symlink(path_, ec)) {
        target = std::filesystem::weakly_canonical(path_, ec);
        if (ec) {
            throw SettingsWriteError(path_, ec.message());
        }
    }
    std::vector<Line> lines;
    if (fs_->IsFile(target)) {
        try {
            lines = SplitLines(ReadFileBytes(*fs_, target));
        } catch (const IoError& error) {
            // Writing without the old lines would lose them.
            throw SettingsWriteError(path_, error.Reason());
        }
    }
    SetEntry(lines, Utf8ToCodePage(section), Utf8ToCodePage(key),
             Utf8ToCodePage(SingleLine(value)));
    if (const auto folder = target.parent_path(); !folder.empty()) {
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            throw SettingsWriteError(path_, ec.message());
        }
    }
    ReplaceFile(*fs_, path_, target, JoinLines(lines));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

} // namespace partsmith
