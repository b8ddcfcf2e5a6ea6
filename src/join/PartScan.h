// Finding the parts of a set from the one part the user picked: the scan over the folder, the
// range the user types, and the default name of the joined file. The names read back are those
// SplitPartName writes; the join builds every part path with the same PartFileName rule.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace partsmith {

class FileSystem;

// The set as the join worker takes it.
struct PartSetRange {
    std::int64_t First = 1; // number of the first part
    std::int64_t Last = 0;  // number of the last part; below First when there is none
    int Width = 3;          // width of the number field, the "e" of an encrypted set counted in
    bool Encrypted = false;
};

// The number after the picked name's last dot is not a whole decimal number. what() is the
// text the window's general error handler shows: "'avi' is not a valid integer value".
class PartNumberError : public std::runtime_error {
public:
    explicit PartNumberError(std::string numberText);
    [[nodiscard]] const std::string& NumberText() const noexcept { return numberText_; }

private:
    std::string numberText_;
};

// Where the scan reports to: Status for every status text ("Scanning File at "%s"" for each
// candidate after the first, then the "Scanning File found %d Files" text), Log for the one log
// line ("Scanning File found %d Files"). Either may be empty.
struct ScanReport {
    std::function<void(const std::string&)> Status;
    std::function<void(const std::string&)> Log;
};

// The scan mode: the number of the picked part (its extension, "e"/"E" first for an encrypted
// set, leading zeros allowed) and the following parts that exist without a gap. A picked name
// whose number is not in the padded form finds no part: Last = First - 1. Raises
// PartNumberError when the extension holds no whole number. files: nullptr means
// RealFileSystem(). pickedPath is UTF-8.
[[nodiscard]] PartSetRange ScanPartSet(std::string_view pickedPath, const ScanReport& report,
                                       FileSystem* files = nullptr);

// The range mode: the numbers the user typed with width 3 (the split's width). Whether the set
// is encrypted comes from the picked name, by the same rule the scan uses (IsEncryptedPartName).
[[nodiscard]] PartSetRange RangePartSet(std::string_view pickedPath, std::int64_t first,
                                        std::int64_t last);

// The base of the part names: the picked path without its extension.
[[nodiscard]] std::string PartSetBase(std::string_view pickedPath);

// The default path of the joined file: the picked path without its extension
// ("C:\data\movie.avi.001" -> "C:\data\movie.avi"; a name without extension unchanged).
[[nodiscard]] std::string DefaultJoinOutput(std::string_view pickedPath);

} // namespace partsmith
