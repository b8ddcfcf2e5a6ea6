// Path and text helpers shared by every page and engine.
//
// Texts are UTF-8 in std::string. The characters these helpers look for ("\", "/", ":", ".")
// are ASCII and never occur inside a multi-byte sequence, so byte positions serve as character
// positions for every search below. Positions count from 1; 0 means "none".
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace partsmith {

// Windows: "\" separates folders and ":" ends a drive name.
// Posix: "/" separates folders; ":" and "\" are ordinary characters of a name.
enum class PathStyle { Windows, Posix };

// The style of the platform the program runs on.
constexpr PathStyle NativePathStyle() {
#ifdef _WIN32
    return PathStyle::Windows;
#else
    return PathStyle::Posix;
#endif
}

// Position (from 1) of the first c in text before its first NUL; nullopt when the NUL or the
// end comes first.
std::optional<std::size_t> TextCharScan(std::string_view text, char c);

// Position (from 1) of the last character of s that is one of delimiters; 0 when none.
std::size_t LastDelimiterIndex(std::string_view delimiters, std::string_view s);

// The text after the last separator ("/" or "\" in the Windows style, "/" in the Posix
// style); the whole path when there is none, empty when the path ends in one.
std::string PathNamePart(std::string_view path, PathStyle style = NativePathStyle());

// The folder part up to and including its final separator; empty when there is none. Windows
// style: "/" does not count, and a ":" after the last "\" gives the drive's folder
// ("C:x.bin" -> "C:\").
std::string PathFolderPrefix(std::string_view path, PathStyle style = NativePathStyle());

// PathFolderPrefix without its final separator. Windows style: only when the prefix is at least
// 3 characters long and no ":" stands before its "\" ("C:\" stays). Posix style: the root "/"
// stays.
std::string PathFolderPart(std::string_view path, PathStyle style = NativePathStyle());

// Replaces the extension (from the last "." with no separator after it; in the Windows style
// ":" counts as one) by ext; appends ext when the name has none. An empty ext strips it.
std::string SwapExtension(std::string_view path, std::string_view ext,
                          PathStyle style = NativePathStyle());

// The extension with its "." (".001"), or empty when the name has none.
std::string PathExtension(std::string_view path, PathStyle style = NativePathStyle());

// n in decimal, zero-padded so that prefix and digits together are at least width long; a
// longer number is never cut. (7,3,"") -> "007", (7,3,"e") -> "e07", (1234,3,"") -> "1234".
std::string PaddedNumber(std::int64_t n, int width, std::string_view prefix);

// base + "." + PaddedNumber(n, width, encrypted ? "e" : "").
std::string PartFileName(std::string_view base, std::int64_t n, int width, bool encrypted);

// True exactly when the path names an existing file that is not a folder.
bool FileIsPresent(const std::filesystem::path& path);

// Last-write time in local time as a DOS date-time (date high 16 bits, time low 16 bits);
// -1 when the path names no file or a folder.
std::int32_t FileStampOf(const std::filesystem::path& path);

// Conversions between the core's UTF-8 texts and file-system paths.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

} // namespace partsmith
