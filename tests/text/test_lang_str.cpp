#include "text/LangStr.h"
#include "text/TextCase.h"

#include <gtest/gtest.h>
#include <set>

namespace partsmith {
namespace {

struct KeyText {
    const char* key;
    const char* text;
};

// The 44 messages every language file is written against, with their exact English texts
// (misspellings included: translators and users know them so).
const KeyText kOriginalMessages[] = {
    {"Error", "Error"},
    {"Success", "Success"},
    {"FileNotFound", "Error! File \"%s\" not found"},
    {"PerformFile", "Performing for File \"%s\""},
    {"SizeInfo", "Size of splitted file is %d Bytes"},
    {"ThreadCreate", "Creating thread..."},
    {"ErrFSzero", "Size of spilited file is under or zero!"},
    {"SplitRes", "File spliting finished! Perform time is %s seconds."},
    {"SplitAborted", "File splitting aborted by user!"},
    {"JoinRes", "File joining finished! Perform time is %s seconds."},
    {"JoinAborted", "File joining aborted by user!"},
    {"Resume", "&Resume"},
    {"Pause", "&Pause"},
    {"Abort", "Abort"},
    {"Confirmation", "Confirmation"},
    {"SplitEnds", "File splitting end."},
    {"JoinEnds", "File joining end."},
    {"ScanFile", "Scanning File at \"%s\""},
    {"ScanResult", "Scanning File found %d Files"},
    {"ChecksumCalc", "Calculate checksum for \"%s\""},
    {"CRC32Result", "CRC32 Checksum is %s"},
    {"MD5Result", "MD5 Checksum is %s"},
    {"MD5Err", "Error calculate MD5, error code %d"},
    {"ChecksumEnds", "File Checksum calculate end."},
    {"ChecksumLengthNotEqual", "Checksum length is not equal!"},
    {"ChecksumNotMatch", "Checksum is not Match!"},
    {"ChecksumMatch", "Checksum is match!"},
    {"ChecksumCopy", "Checksum has been copied to clipboard."},
    {"DragCompareError", "Please drag 2 file on time!"},
    {"CmpFileNotFound", "One or both file not found!"},
    {"CmpPathInfo", "File %d as \"%s\""},
    {"CmpSizeInfo", "Size of file %d is %d Bytes"},
    {"CmpFileNull", "One or both file is null!"},
    {"CmpSizeNotEqual", "File size is not equal! %d <> %d"},
    {"CmpFileChecksumEqual", "Both file is equal. %s = %s"},
    {"CmpFileNotEqual", "Both file is not equal! %s <> %s"},
    {"CmpHashNotEqual", "Both file is not equal at $%s !"},
    {"CmpFileEqual", "Both file is equal!"},
    {"CmpEnds", "File Compare end."},
    {"FileExists", "File \"%s\" is exists, do you want to overwrite?"},
    {"FileNull", "File cannot null!"},
    {"FileJoinChkErr", "Checksum of Original File and Joined File is different. Please enter valid "
                       "password or provide valid files. %s <> %s"},
    {"SplitStatus", "Spliting file at \"%s\", Total %s"},
    {"JoinStatus", "Joining file at \"%s\", Total %s"},
};

TEST(MessageTable, OriginalKeysAndTextsInOrder) {
    ASSERT_GE(kMessageCount, std::size(kOriginalMessages));
    for (std::size_t i = 0; i < std::size(kOriginalMessages); ++i) {
        const auto id = static_cast<Msg>(i);
        EXPECT_EQ(MsgKey(id), kOriginalMessages[i].key) << i;
        EXPECT_EQ(MsgDefault(id), kOriginalMessages[i].text) << kOriginalMessages[i].key;
    }
}

TEST(MessageTable, StartsAtTheDefaults) {
    const MessageTable table;
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        const auto id = static_cast<Msg>(i);
        EXPECT_EQ(table.Text(id), MsgDefault(id)) << MsgKey(id);
        EXPECT_EQ(Messages().Text(id), MsgDefault(id)) << MsgKey(id);
    }
}

TEST(MessageTable, KeysAreDistinctWithoutRegardToCase) {
    std::set<std::string> seen;
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        std::string lower;
        for (const char c : MsgKey(static_cast<Msg>(i))) {
            lower += AsciiLower(c);
        }
        EXPECT_TRUE(seen.insert(lower).second) << lower;
    }
}

TEST(MessageTable, MsgForKeyIgnoresCaseOnly) {
    EXPECT_EQ(MsgForKey("SplitEnds"), Msg::SplitEnds);
    EXPECT_EQ(MsgForKey("splitends"), Msg::SplitEnds);
    EXPECT_EQ(MsgForKey("SPLITENDS"), Msg::SplitEnds);
    EXPECT_EQ(MsgForKey("CRC32Result"), Msg::CRC32Result);
    EXPECT_EQ(MsgForKey("SplitEnds "), std::nullopt);
    EXPECT_EQ(MsgForKey(" SplitEnds"), std::nullopt);
    EXPECT_EQ(MsgForKey("Split"), std::nullopt);
    EXPECT_EQ(MsgForKey(""), std::nullopt);
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        const auto id = static_cast<Msg>(i);
        EXPECT_EQ(MsgForKey(MsgKey(id)), id);
    }
}

TEST(MessageTable, SetReplacesOneText) {
    MessageTable table;
    table.Set(Msg::SplitEnds, "Fertig");
    EXPECT_EQ(table.Text(Msg::SplitEnds), "Fertig");
    EXPECT_EQ(table.Text(Msg::JoinEnds), "File joining end.");
    EXPECT_EQ(Messages().Text(Msg::SplitEnds), "File splitting end.");
}

TEST(Message, FormatsTheCurrentText) {
    EXPECT_EQ(Message(Msg::CmpSizeInfo, {std::int64_t{2}, std::int64_t{1000}}),
              "Size of file 2 is 1000 Bytes");
    EXPECT_EQ(Message(Msg::SplitEnds), "File splitting end.");

    // A language file may bring a text whose placeholders do not fit; the use fails, not the
    // load.
    const std::string saved = Messages().Text(Msg::SizeInfo);
    Messages().Set(Msg::SizeInfo, "Teilgr\xC3\xB6\xC3\x9F"
                                  "e %s");
    EXPECT_THROW((void)Message(Msg::SizeInfo, {std::int64_t{30}}), FormatError);
    Messages().Set(Msg::SizeInfo, saved);
    EXPECT_EQ(Message(Msg::SizeInfo, {std::int64_t{30}}), "Size of splitted file is 30 Bytes");
}

} // namespace
} // namespace partsmith
