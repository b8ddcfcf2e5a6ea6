#include "join/PartScan.h"

#include "io/File.h"
#include "split/PartSet.h"
#include "text/LangStr.h"
#include "text/UnicodeAdds.h"

#include <charconv>

namespace partsmith {

namespace {

// A whole decimal number with an optional sign, as the part number after the dot; leading
// zeros are allowed ("001" is 1).
std::int64_t ParsePartNumber(const std::string& text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    std::int64_t value = 0;
    const auto* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end || value < 0) {
        throw PartNumberError(text);
    }
    return negative ? -value : value;
}

void Tell(const std::function<void(const std::string&)>& to, const std::string& text) {
    if (to) {
        to(text);
    }
}

} // namespace

PartNumberError::PartNumberError(std::string numberText)
    : std::runtime_error(Message(Msg::NotValidInteger, {numberText})),
      numberText_(std::move(numberText)) {}

PartSetRange ScanPartSet(std::string_view pickedPath, const ScanReport& report, FileSystem* files) {
    FileSystem& fs = files ? *files : RealFileSystem();
    const std::string extension = PathExtension(pickedPath);
    PartSetRange range;
    range.Width = static_cast<int>(extension.size()) - 1;
    std::string numberText = extension.empty() ? std::string() : extension.substr(1);
    range.Encrypted = !numberText.empty() && (numberText[0] == 'e' || numberText[0] == 'E');
    if (range.Encrypted) {
        numberText.erase(0, 1);
    }
    range.First = ParsePartNumber(numberText);

    const std::string base = PartSetBase(pickedPath);
    const auto candidate = [&](std::int64_t n) {
        return PartFileName(base, n, range.Width, range.Encrypted);
    };
    range.Last = range.First;
    while (fs.IsFile(PathFromUtf8(candidate(range.Last)))) {
        ++range.Last;
        Tell(report.Status, Message(Msg::ScanFile, {candidate(range.Last)}));
    }
    --range.Last;

    const std::string found = Message(Msg::ScanResult, {range.Last});
    Tell(report.Log, found);
    Tell(report.Status, found);
    return range;
}

PartSetRange RangePartSet(std::string_view pickedPath, std::int64_t first, std::int64_t last) {
    PartSetRange range;
    range.First = first;
    range.Last = last;
    range.Width = kSplitNumberWidth;
    range.Encrypted = IsEncryptedPartName(pickedPath);
    return range;
}

std::string PartSetBase(std::string_view pickedPath) {
    return SwapExtension(pickedPath, "");
}

std::string DefaultJoinOutput(std::string_view pickedPath) {
    return SwapExtension(pickedPath, "");
}

} // namespace partsmith
