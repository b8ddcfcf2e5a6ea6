// Language files: key=value lines that replace the texts of the message table and the captions
// of the task pages.
//
// A file is decoded by its first bytes (FF FE UTF-16LE, FE FF UTF-16BE, EF BB BF UTF-8, else
// Windows-1252); lines end at CR LF, CR, LF or U+2028. An entry's key is the text before its
// first "=", its value the rest of the line; nothing is trimmed. Keys are looked up without
// regard to case, the first matching line wins, and an empty value counts as absent.
#pragma once

#include "io/File.h"
#include "text/LangStr.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace partsmith {

// The box text when the chosen language file is missing, filled with its full path by
// FormatWide; its caption is the current Error message.
inline constexpr std::string_view kLanguageFileNotFound = "Language File %s not found!";

// When set, the folder that holds the installable data (lang/, Help/) in place of the places
// beside the executable and in the installed share folder.
inline constexpr const char* kDataDirVariable = "PARTSMITH_DATA_DIR";

// The text of a language file's bytes in UTF-8, without its marker. Malformed sequences and
// unpaired surrogates become U+FFFD.
std::string DecodeLanguageText(std::string_view bytes);

// The lines of text, without their ends. A final line end starts no further line.
std::vector<std::string> SplitLanguageLines(std::string_view text);

class LanguageFile {
public:
    LanguageFile() = default;
    explicit LanguageFile(const std::vector<std::string>& lines);
    // Decodes and splits the bytes of a file.
    static LanguageFile FromBytes(std::string_view bytes);

    // The value of the first entry whose key matches; nullopt when there is none or its value
    // is empty.
    [[nodiscard]] std::optional<std::string> Lookup(std::string_view key) const;

    // Every entry as key and value, in file order.
    [[nodiscard]] const std::vector<std::pair<std::string, std::string>>& Entries() const {
        return entries_;
    }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// The language file at path; nullopt when no file is there (a folder counts as none). Raises
// IoError with the system's reason when the file exists but cannot be read.
std::optional<LanguageFile> ReadLanguageFile(const std::filesystem::path& path,
                                             FileSystem& fs = RealFileSystem());

// Replaces each message that the file has a value for; the others keep their current texts.
void ApplyMessages(const LanguageFile& file, MessageTable& table);

// ReadLanguageFile and ApplyMessages; returns the file so the window can take its captions,
// nullopt when there is none (the caller shows kLanguageFileNotFound).
std::optional<LanguageFile> LoadLanguage(const std::filesystem::path& path,
                                         MessageTable& table = Messages(),
                                         FileSystem& fs = RealFileSystem());

// The names (with extension) of the entries of folder that end in ".ini" without regard to
// case, whatever their kind, in the order the listing returns them. A missing or unreadable
// folder gives none.
std::vector<std::string> ListLanguageFiles(const std::filesystem::path& folder);

// The language-list name of a file name: the text before its last ".".
std::string LanguageListName(std::string_view fileName);

// Where the installable data folder name ("lang", "Help") is found: below kDataDirVariable when
// it is set; else beside the executable; else in the installed share folder (relative to the
// executable, then the configured install prefix). When it is nowhere, the place beside the
// executable, so a message about it names the expected place.
std::filesystem::path DataFolder(const std::filesystem::path& exeFolder, std::string_view name);

// The folder of the language files, for loading and for the Configure page's list.
std::filesystem::path LanguageFolder(const std::filesystem::path& exeFolder);

// The file of a language: the language folder, language, ".ini". When that exact name is
// missing, an entry whose name matches without regard to case stands in, so that every name
// the list offers also loads on a case-sensitive file system.
std::filesystem::path LanguageFilePath(const std::filesystem::path& exeFolder,
                                       std::string_view language);

} // namespace partsmith
