#include "text/LanguageFile.h"

#include "text/CodePage.h"
#include "text/FileBytes.h"
#include "text/TextCase.h"
#include "text/UnicodeAdds.h"
#include "text/Utf8.h"

#include <cstdlib>

namespace partsmith {
namespace {

constexpr std::string_view kLineSeparator = "\xE2\x80\xA8"; // U+2028 in UTF-8

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        // AppendUtf8 turns an unpaired surrogate into U+FFFD.
        AppendUtf8(out, u);
    }
    if (i < bytes.size()) {
        AppendUtf8(out, kReplacementChar);
    }
    return out;
}

bool StartsWith(std::string_view bytes, std::string_view marker) {
    return bytes.substr(0, marker.size()) == marker;
}

} // namespace

std::string DecodeLanguageText(std::string_view bytes) {
    if (StartsWith(bytes, "\xFF\xFE")) {
        return DecodeUtf16(bytes.substr(2), false);
    }
    if (StartsWith(bytes, "\xFE\xFF")) {
        return DecodeUtf16(bytes.substr(2), true);
    }
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        return SanitizeUtf8(bytes.substr(3));
    }
    return CodePageToUtf8(bytes);
}

std::vector<std::string> SplitLanguageLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t endLength = 0;
        if (text[i] == '\r') {
            endLength = i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
        } else if (text[i] == '\n') {
            endLength = 1;
        } else if (text.substr(i, kLineSeparator.size()) == kLineSeparator) {
            endLength = kLineSeparator.size();
        }
        if (endLength == 0) {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        i += endLength;
        start = i;
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

LanguageFile::LanguageFile(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) {
            entries_.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
    }
}

LanguageFile LanguageFile::FromBytes(std::string_view bytes) {
    return LanguageFile(SplitLanguageLines(DecodeLanguageText(bytes)));
}

std::optional<std::string> LanguageFile::Lookup(std::string_view key) const {
    for (const auto& [entryKey, value] : entries_) {
        if (EqualsIgnoringCase(entryKey, key)) {
            if (value.empty()) {
                return std::nullopt;
            }
            return value;
        }
    }
    return std::nullopt;
}

std::optional<LanguageFile> ReadLanguageFile(const std::filesystem::path& path, FileSystem& fs) {
    if (!fs.IsFile(path)) {
        return std::nullopt;
    }
    return LanguageFile::FromBytes(ReadFileBytes(fs, path));
}

void ApplyMessages(const LanguageFile& file, MessageTable& table) {
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        const auto id = static_cast<Msg>(i);
        if (auto value = file.Lookup(MsgKey(id))) {
            table.Set(id, std::move(*value));
        }
    }
}

std::optional<LanguageFile> LoadLanguage(const std::filesystem::path& path, MessageTable& table,
                                         FileSystem& fs) {
    std::optional<LanguageFile> file = ReadLanguageFile(path, fs);
    if (file) {
        ApplyMessages(*file, table);
    }
    return file;
}

std::vector<std::string> ListLanguageFiles(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::string name = Utf8FromPath(it->path().filename());
        if (EndsWithIgnoringCase(name, ".ini")) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

std::string LanguageListName(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

std::filesystem::path DataFolder(const std::filesystem::path& exeFolder, std::string_view name) {
    const std::filesystem::path sub = PathFromUtf8(name);
    if (const char* dir = std::getenv(kDataDirVariable); dir != nullptr && *dir != '\0') {
        return std::filesystem::path(dir) / sub;
    }
    const std::filesystem::path beside = exeFolder / sub;
    std::vector<std::filesystem::path> places = {beside,
                                                 exeFolder / ".." / "share" / "partsmith" / sub};
#ifdef PARTSMITH_INSTALL_DATADIR
    places.push_back(std::filesystem::path(PARTSMITH_INSTALL_DATADIR) / sub);
#endif
    for (const auto& place : places) {
        std::error_code ec;
        if (std::filesystem::is_directory(place, ec)) {
            return place.lexically_normal();
        }
    }
    return beside;
}

std::filesystem::path LanguageFolder(const std::filesystem::path& exeFolder) {
    return DataFolder(exeFolder, "lang");
}

std::filesystem::path LanguageFilePath(const std::filesystem::path& exeFolder,
                                       std::string_view language) {
    const std::filesystem::path folder = LanguageFolder(exeFolder);
    const std::string fileName = std::string(language) + ".ini";
    std::filesystem::path exact = folder / PathFromUtf8(fileName);
    if (FileIsPresent(exact)) {
        return exact;
    }
    for (const std::string& entry : ListLanguageFiles(folder)) {
        if (EqualsIgnoringCase(entry, fileName) && FileIsPresent(folder / PathFromUtf8(entry))) {
            return folder / PathFromUtf8(entry);
        }
    }
    return exact;
}

} // namespace partsmith
