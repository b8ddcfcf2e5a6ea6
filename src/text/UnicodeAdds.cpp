#include "text/UnicodeAdds.h"

#include <chrono>
#include <ctime>
#include <system_error>

namespace partsmith {
namespace {

// The characters that end a folder name or a drive name in each style.
std::string_view FolderDelimiters(PathStyle style) {
    return style == PathStyle::Windows ? "\\:" : "/";
}

// The folder delimiters plus the ".", for the extension rule.
std::string_view ExtensionDelimiters(PathStyle style) {
    return style == PathStyle::Windows ? ".\\:" : "./";
}

// Position (from 1) of the "." that starts the extension of path; 0 when it has none.
std::size_t ExtensionDot(std::string_view path, PathStyle style) {
    const std::size_t i = LastDelimiterIndex(ExtensionDelimiters(style), path);
    return i != 0 && path[i - 1] == '.' ? i : 0;
}

} // namespace

std::optional<std::size_t> TextCharScan(std::string_view text, char c) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == c) {
            return i + 1;
        }
        if (text[i] == '\0') {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::size_t LastDelimiterIndex(std::string_view delimiters, std::string_view s) {
    const std::size_t i = s.find_last_of(delimiters);
    return i == std::string_view::npos ? 0 : i + 1;
}

std::string PathNamePart(std::string_view path, PathStyle style) {
    // In the Windows style "/" ends a name too, though it is no folder separator elsewhere.
    const std::size_t i = LastDelimiterIndex(style == PathStyle::Windows ? "/\\" : "/", path);
    return std::string(path.substr(i));
}

std::string PathFolderPrefix(std::string_view path, PathStyle style) {
    const std::size_t i = LastDelimiterIndex(FolderDelimiters(style), path);
    if (i == 0) {
        return {};
    }
    std::string prefix(path.substr(0, i));
    if (path[i - 1] == ':') {
        // "C:x.bin" lies in the drive's folder: "C:\".
        prefix += '\\';
    }
    return prefix;
}

std::string PathFolderPart(std::string_view path, PathStyle style) {
    std::string prefix = PathFolderPrefix(path, style);
    if (style == PathStyle::Windows) {
        if (prefix.size() >= 3 && prefix[prefix.size() - 2] != ':') {
            prefix.pop_back();
        }
    } else if (prefix.size() > 1) {
        prefix.pop_back();
    }
    return prefix;
}

std::string SwapExtension(std::string_view path, std::string_view ext, PathStyle style) {
    const std::size_t dot = ExtensionDot(path, style);
    std::string out(dot != 0 ? path.substr(0, dot - 1) : path);
    out += ext;
    return out;
}

std::string PathExtension(std::string_view path, PathStyle style) {
    const std::size_t dot = ExtensionDot(path, style);
    return dot != 0 ? std::string(path.substr(dot - 1)) : std::string();
}

std::string PaddedNumber(std::int64_t n, int width, std::string_view prefix) {
    std::string digits = std::to_string(n);
    const std::int64_t wanted =
        static_cast<std::int64_t>(width) - static_cast<std::int64_t>(prefix.size());
    if (wanted > static_cast<std::int64_t>(digits.size())) {
        digits.insert(0, static_cast<std::size_t>(wanted) - digits.size(), '0');
    }
    return std::string(prefix) + digits;
}

std::string PartFileName(std::string_view base, std::int64_t n, int width, bool encrypted) {
    std::string name(base);
    name += '.';
    name += PaddedNumber(n, width, encrypted ? "e" : "");
    return name;
}

bool FileIsPresent(const std::filesystem::path& path) {
    std::error_code ec;
    // status() follows links, so a link to nothing is no file.
    const auto st = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(st) && !std::filesystem::is_directory(st);
}

std::int32_t FileStampOf(const std::filesystem::path& path) {
    if (!FileIsPresent(path)) {
        return -1;
    }
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(path, ec);
    if (ec) {
        return -1;
    }
    const auto sys = std::chrono::file_clock::to_sys(written);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return -1;
    }
    const int year = local.tm_year + 1900;
    // A DOS date holds the years 1980 to 2107 only.
    if (year < 1980 || year > 2107) {
        return -1;
    }
    const auto date = static_cast<std::uint32_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) |
                                                 local.tm_mday);
    const auto time = static_cast<std::uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                                 (local.tm_sec / 2));
    return static_cast<std::int32_t>((date << 16) | time);
}

std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace partsmith
