#include "settings/IniFile.h"
#include "support/FaultyFileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace partsmith {
namespace {

using testing::TempDir;

std::string FileText(const std::filesystem::path& path) {
    const std::vector<std::byte> bytes = testing::ReadAll(path);
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

class IniFileTest : public ::testing::Test {
protected:
    // An IniFile over a file holding text.
    IniFile With(const std::string& text) {
        dir_.Write("partsmith.ini", text);
        return IniFile(path_);
    }
    TempDir dir_;
    std::filesystem::path path_ = dir_ / "partsmith.ini";
};

TEST_F(IniFileTest, ReadStringTrimsUnquotesAndIgnoresCase) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected; // Language, default "English"
    };
    const Case cases[] = {
        {"plain", "[Settings]\nLanguage=German\n", "German"},
        {"CR LF", "[Settings]\r\nLanguage=German\r\n", "German"},
        {"lone CR", "[Settings]\rLanguage=German\rX=1", "German"},
        {"no final line end", "[Settings]\nLanguage=German", "German"},
        {"case of section and key", "[sETTINGS]\nlanguage=German\n", "German"},
        {"blanks", "  [ Settings ]  \n \tLanguage \t=  German \t\n", "German"},
        {"double quotes", "[Settings]\nLanguage=\"German\"\n", "German"},
        {"single quotes", "[Settings]\nLanguage='German'\n", "German"},
        {"blanks inside quotes stay", "[Settings]\nLanguage=  \" Ger man \"  \n", " Ger man "},
        {"one pair only", "[Settings]\nLanguage=\"\"German\"\"\n", "\"German\""},
        {"unmatched quotes stay", "[Settings]\nLanguage=\"German'\n", "\"German'"},
        {"a lone quote stays", "[Settings]\nLanguage=\"\n", "\""},
        {"empty quotes", "[Settings]\nLanguage=\"\"\n", ""},
        {"empty value", "[Settings]\nLanguage=\n", ""},
        {"text after the first =", "[Settings]\nLanguage=a=b\n", "a=b"},
        {"first entry wins", "[Settings]\nLanguage=German\nLanguage=French\n", "German"},
        {"8-bit text",
         "[Settings]\nLanguage=Fran\xE7"
         "ais\n",
         "Fran\xC3\xA7"
         "ais"},
        {"other section", "[Other]\nLanguage=German\n", "English"},
        {"after the section", "[Settings]\n[Other]\nLanguage=German\n", "English"},
        {"before any section", "Language=German\n[Settings]\n", "English"},
        {"missing key", "[Settings]\nLang=German\n", "English"},
        {"line without =", "[Settings]\nLanguage\n", "English"},
        {"blank in the key counts not", "[Settings]\nLan guage=German\n", "English"},
        {"empty file", "", "English"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(With(c.text).ReadString("Settings", "Language", "English"), c.expected);
    }
}

TEST_F(IniFileTest, ReadStringStopsAt2047Characters) {
    const std::string longValue(3000, 'a');
    EXPECT_EQ(With("[S]\nK=" + longValue + "\n").ReadString("S", "K", ""),
              longValue.substr(0, 2047));
    // The quotes go before the cut; the cut counts 8-bit characters, not UTF-8 bytes.
    const std::string quoted = "\"" + std::string(2046, '\xE9') + "xy\"";
    EXPECT_EQ(With("[S]\nK=" + quoted + "\n").ReadString("S", "K", ""), [] {
        std::string s;
        for (int i = 0; i < 2046; ++i) {
            s += "\xC3\xA9";
        }
        return s + "x";
    }());
    const std::string exact(2047, 'b');
    EXPECT_EQ(With("[S]\nK=" + exact).ReadString("S", "K", ""), exact);
}

TEST_F(IniFileTest, MissingFileGivesTheDefaultAndIsNotCreated) {
    const IniFile file(dir_ / "none.ini");
    EXPECT_EQ(file.ReadString("Settings", "Language", "English"), "English");
    EXPECT_EQ(file.ReadInteger("Settings", "MaxBufferSize", 8192), 8192);
    EXPECT_TRUE(file.ReadBool("Settings", "AskWhenFileExists", true));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "none.ini"));
    // A folder in the file's place reads as no file.
    std::filesystem::create_directory(dir_ / "folder.ini");
    EXPECT_EQ(IniFile(dir_ / "folder.ini").ReadString("S", "K", "d"), "d");
}

TEST_F(IniFileTest, UnreadableFileGivesTheDefault) {
    dir_.Write("partsmith.ini", std::string("[S]\nK=v\n"));
    testing::FaultyFileSystem fs;
    fs.FailOpenRead(path_);
    EXPECT_EQ(IniFile(path_, fs).ReadString("S", "K", "d"), "d");
}

TEST_F(IniFileTest, ReadIntegerDecimalOrHexElseTheDefault) {
    struct Case {
        std::string value;
        std::int64_t expected; // default 8192
    };
    const Case cases[] = {
        {"256", 256},
        {"0x100", 256},
        {"0X100", 256},
        {"$FF", 255},
        {"$ff", 255},
        {"0xfF", 255},
        {"-5", -5},
        {"+5", 5},
        {"-$10", -16},
        {"-0x10", -16},
        {"  42  ", 42},
        {"\"64\"", 64},
        {"0", 0},
        {"007", 7},
        {"abc", 8192},
        {"12abc", 8192},
        {"1 2", 8192},
        {"", 8192},
        {"$", 8192},
        {"0x", 8192},
        {"-", 8192},
        {"--5", 8192},
        {"$-5", 8192},
        {"0x+5", 8192},
        {"1e3", 8192},
        {"2.5", 8192},
        {"$G", 8192},
        {"yes", 8192},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775808", 8192},
        {"99999999999999999999", 8192},
        {"$7FFFFFFFFFFFFFFF", INT64_MAX},
        {"$8000000000000000", 8192},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(With("[Settings]\nMaxBufferSize=" + c.value + "\n")
                      .ReadInteger("Settings", "MaxBufferSize", 8192),
                  c.expected)
            << c.value;
    }
}

TEST_F(IniFileTest, ReadBoolIsAnyNonZeroInteger) {
    struct Case {
        std::string value;
        bool fallback;
        bool expected;
    };
    const Case cases[] = {
        {"1", false, true},     {"2", false, true},  {"-1", false, true}, {"0x10", false, true},
        {"0", true, false},     {"$0", true, false}, {"yes", true, true}, {"yes", false, false},
        {"true", false, false}, {"", true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            With("[Settings]\nFlag=" + c.value + "\n").ReadBool("Settings", "Flag", c.fallback),
            c.expected)
            << c.value << " fallback " << c.fallback;
    }
}

TEST_F(IniFileTest, WriteReplacesInPlaceAndKeepsEveryOtherLine) {
    const std::string before = "; my settings\r\n"
                               "[Other]\r\n"
                               "MaxBufferSize=1\r\n"
                               "\r\n"
                               "[settings]\r\n"
                               "  maxbuffersize = 8192  \r\n"
                               "Language=English\r\n"
                               "junk line\r\n"
                               "\r\n"
                               "[Tail]\r\n"
                               "B=2";
    IniFile file = With(before);
    file.WriteInteger("Settings", "MaxBufferSize", 256);
    file.WriteString("Settings", "ProgramToExecute", "editor \"%s\"");
    file.WriteBool("Tail", "C", true);
    file.WriteBool("New", "D", false);
    EXPECT_EQ(FileText(path_), "; my settings\r\n"
                               "[Other]\r\n"
                               "MaxBufferSize=1\r\n"
                               "\r\n"
                               "[settings]\r\n"
                               "  maxbuffersize =256\r\n"
                               "Language=English\r\n"
                               "junk line\r\n"
                               "ProgramToExecute=editor \"%s\"\r\n"
                               "\r\n"
                               "[Tail]\r\n"
                               "B=2\r\n"
                               "C=1\r\n"
                               "[New]\r\n"
                               "D=0\r\n");
    EXPECT_EQ(file.ReadInteger("Settings", "MaxBufferSize", 0), 256);
    EXPECT_EQ(file.ReadInteger("Other", "MaxBufferSize", 0), 1);
    EXPECT_EQ(file.ReadString("settings", "programtoexecute", ""), "editor \"%s\"");
}

TEST_F(IniFileTest, WriteAddsFileFolderSectionAndEntry) {
    const auto path = dir_ / "new" / "folder" / "partsmith.ini";
    IniFile file(path);
    file.WriteString("Settings", "Language", "English");
    file.WriteInteger("Settings", "MaxBufferSize", -3);
    EXPECT_EQ(FileText(path), "[Settings]\nLanguage=English\nMaxBufferSize=-3\n");
    EXPECT_EQ(file.ReadInteger("Settings", "MaxBufferSize", 0), -3);
    // Nothing but the file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(IniFileTest, WriteStoresWindows1252) {
    IniFile file = With("");
    file.WriteString("Settings", "Language",
                     "Fran\xC3\xA7"
                     "ais");
    file.WriteString("Settings", "ProgramToExecute", "\xE6\x97\xA5 \xE2\x82\xAC");
    file.WriteString("Settings", "Broken", "a\r\nb\nc");
    EXPECT_EQ(FileText(path_), "[Settings]\nLanguage=Fran\xE7"
                               "ais\nProgramToExecute=? \x80\n"
                               "Broken=a  b c\n");
    EXPECT_EQ(file.ReadString("Settings", "Language", ""), "Fran\xC3\xA7"
                                                           "ais");
}

TEST_F(IniFileTest, WriteIntoAFolderThatCannotBeMadeRaises) {
    dir_.Write("plain-file", std::string("x"));
    const auto path = dir_ / "plain-file" / "partsmith.ini";
    IniFile file(path);
    try {
        file.WriteBool("Settings", "FirstTime", false);
        FAIL() << "no SettingsWriteError";
    } catch (const SettingsWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path.string());
        EXPECT_FALSE(e.Reason().empty());
    }
    EXPECT_EQ(FileText(dir_ / "plain-file"), "x");
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFileIntact) {
    const std::string before = "[Settings]\nFirstTime=1\nLanguage=German\n";
    dir_.Write("partsmith.ini", before);
    testing::FaultyFileSystem fs;
    fs.FailWritesAfter(10); // a disk that fills up while the new text is written
    IniFile file(path_, fs);
    EXPECT_THROW(file.WriteBool("Settings", "FirstTime", false), SettingsWriteError);
    EXPECT_EQ(FileText(path_), before);
    // No half-written text is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                            std::filesystem::directory_iterator()),
              1);

    // An old file that cannot be read is not replaced by one that lacks its lines.
    testing::FaultyFileSystem unreadable;
    unreadable.FailOpenRead(path_);
    IniFile blind(path_, unreadable);
    EXPECT_THROW(blind.WriteBool("Settings", "FirstTime", false), SettingsWriteError);
    EXPECT_EQ(FileText(path_), before);
}

TEST_F(IniFileTest, FolderInThePlaceOfTheFileIsNotReplaced) {
    std::filesystem::create_directory(path_);
    EXPECT_THROW(IniFile(path_).WriteBool("Settings", "FirstTime", false), SettingsWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(path_));
}

TEST_F(IniFileTest, WriteThroughALinkKeepsTheLink) {
    dir_.Write("real.ini", std::string("[Settings]\nFirstTime=1\n"));
    std::filesystem::create_symlink(dir_ / "real.ini", path_);
    IniFile(path_).WriteBool("Settings", "FirstTime", false);
    EXPECT_TRUE(std::filesystem::is_symlink(path_));
    EXPECT_EQ(FileText(dir_ / "real.ini"), "[Settings]\nFirstTime=0\n");
}

} // namespace
} // namespace partsmith
