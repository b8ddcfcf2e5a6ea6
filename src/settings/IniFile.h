// A profile-style INI file: sections and keys without regard to case, values trimmed and
// unquoted, integers in decimal or "$"/"0x" hexadecimal, booleans as integers. Writing one key
// keeps every other line of the file.
#pragma once

#include "io/File.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace partsmith {

// "Unable to write to %s" with the file's path. The system's reason, when known, is kept apart
// so that the text stays as the user knows it.
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const std::filesystem::path& path);
    SettingsWriteError(const std::filesystem::path& path, std::string reason);
    [[nodiscard]] const std::string& Reason() const noexcept { return reason_; }

private:
    std::string reason_;
};

class IniFile {
public:
    // The files are read and written through fs; the replacement of the old file by the new
    // text is a rename on the real file system.
    explicit IniFile(std::filesystem::path path, FileSystem& fs = RealFileSystem());
    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

    // A missing file, section or key gives the default; reading never creates the file.
    [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key,
                                         std::string_view fallback) const;
    [[nodiscard]] std::int64_t ReadInteger(std::string_view section, std::string_view key,
                                           std::int64_t fallback) const;
    [[nodiscard]] bool ReadBool(std::string_view section, std::string_view key,
                                bool fallback) const;

    // Replaces the value where it stands, or adds entry, section and file (and its folder).
    // Raises SettingsWriteError when the file cannot be written; the old file then stays as it
    // was. Line breaks in value become blanks.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    std::filesystem::path path_;
    FileSystem* fs_;
};

} // namespace partsmith
