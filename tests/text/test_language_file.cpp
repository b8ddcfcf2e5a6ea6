#include "support/FaultyFileSystem.h"
#include "support/TempDir.h"
#include "text/LanguageFile.h"
#include "text/TextCase.h"
#include "text/UnicodeAdds.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace partsmith {
namespace {

using testing::TempDir;

// text as the bytes of a UTF-16 file with its marker.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t u : text) {
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? hi : lo;
        bytes += bigEndian ? lo : hi;
    }
    return bytes;
}

const std::string kUmlautA = "\xC3\xA4"; // U+00E4 in UTF-8

TEST(LanguageFileDecoding, ByTheFirstBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected; // the SplitEnds value
    };
    const Case cases[] = {
        {"UTF-16LE", Utf16(u"SplitEnds=Fertig\r\n", false), "Fertig"},
        {"UTF-16BE", Utf16(u"SplitEnds=Fertig\r\n", true), "Fertig"},
        {"UTF-8", "\xEF\xBB\xBFSplitEnds=Fertig\r\n", "Fertig"},
        {"UTF-16LE umlaut", Utf16(u"SplitEnds=F\u00E4rtig", false), "F" + kUmlautA + "rtig"},
        {"UTF-16BE beyond the BMP", Utf16(u"SplitEnds=\U0001F600", true), "\xF0\x9F\x98\x80"},
        {"UTF-8 umlaut", "\xEF\xBB\xBFSplitEnds=F\xC3\xA4rtig", "F" + kUmlautA + "rtig"},
        // Without a marker the bytes are Windows-1252: E4 is the umlaut, C3 A4 two characters.
        {"8-bit", "SplitEnds=F\xE4rtig", "F" + kUmlautA + "rtig"},
        {"8-bit UTF-8 bytes", "SplitEnds=F\xC3\xA4rtig", "F\xC3\x83\xC2\xA4rtig"},
        {"8-bit euro", "SplitEnds=\x80", "\xE2\x82\xAC"},
        // Broken input becomes U+FFFD rather than passing malformed text on.
        {"UTF-8 malformed", "\xEF\xBB\xBFSplitEnds=a\xE4z", "a\xEF\xBF\xBDz"},
        {"UTF-16 lone surrogate", Utf16(u"SplitEnds=a\xD800z", false), "a\xEF\xBF\xBDz"},
        {"UTF-16 odd length", Utf16(u"SplitEnds=a", false) + "x", "a\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LanguageFile file = LanguageFile::FromBytes(c.bytes);
        EXPECT_EQ(file.Lookup("SplitEnds"), c.expected);
    }
}

TEST(LanguageFileDecoding, TheMarkerIsNoText) {
    EXPECT_EQ(DecodeLanguageText("\xEF\xBB\xBF"
                                 "ab"),
              "ab");
    EXPECT_EQ(DecodeLanguageText(Utf16(u"ab", false)), "ab");
    EXPECT_EQ(DecodeLanguageText(Utf16(u"ab", true)), "ab");
    EXPECT_EQ(DecodeLanguageText("ab"), "ab");
    EXPECT_EQ(DecodeLanguageText(""), "");
    // A marker alone is an empty file, and a marker cut short is 8-bit text.
    EXPECT_EQ(DecodeLanguageText("\xFF\xFE"), "");
    EXPECT_EQ(DecodeLanguageText("\xEF\xBB"), "\xC3\xAF\xC2\xBB");
}

TEST(LanguageFileLines, EndAtCrLfCrLfAndLineSeparator) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitLanguageLines("a\r\nb\rc\nd\xE2\x80\xA8"
                                 "e"),
              (Lines{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(SplitLanguageLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitLanguageLines("a\n\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLanguageLines("a\r\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLanguageLines("a\n\r"), (Lines{"a", ""}));
    EXPECT_EQ(SplitLanguageLines(""), Lines{});
    // U+2029 and U+0085 end no line.
    EXPECT_EQ(SplitLanguageLines("a\xE2\x80\xA9"
                                 "b\xC2\x85"
                                 "c"),
              Lines{"a\xE2\x80\xA9"
                    "b\xC2\x85"
                    "c"});

    // The separator in a UTF-16 file, and a lone CR, end entries too.
    const LanguageFile file =
        LanguageFile::FromBytes(Utf16(u"SplitEnds=Fertig\u2028JoinEnds=Fertig2\rPause=P", false));
    EXPECT_EQ(file.Lookup("SplitEnds"), "Fertig");
    EXPECT_EQ(file.Lookup("JoinEnds"), "Fertig2");
    EXPECT_EQ(file.Lookup("Pause"), "P");
}

TEST(LanguageFileLookup, KeysIgnoreCaseAndNothingIsTrimmed) {
    struct Case {
        const char* name;
        std::string text;
        std::optional<std::string> expected; // the SplitEnds value
    };
    const Case cases[] = {
        {"exact", "SplitEnds=Fertig", "Fertig"},
        {"case", "splitends=Fertig", "Fertig"},
        {"blank in the key", "SplitEnds =Fertig", std::nullopt},
        {"blank before the key", " SplitEnds=Fertig", std::nullopt},
        {"blank in the value", "SplitEnds= Fertig ", " Fertig "},
        {"quotes stay", "SplitEnds=\"Fertig\"", "\"Fertig\""},
        {"later equals signs", "SplitEnds=a=b", "a=b"},
        {"empty value", "SplitEnds=", std::nullopt},
        {"first wins", "SplitEnds=Eins\nSplitEnds=Zwei", "Eins"},
        {"first wins, whatever its case", "SPLITENDS=Eins\nsplitends=Zwei", "Eins"},
        // The first matching line decides; an empty one leaves the text as it is.
        {"first is empty", "SplitEnds=\nSplitEnds=Zwei", std::nullopt},
        {"sections do not matter", "[Captions]\nSplitEnds=Fertig", "Fertig"},
        {"lines without =", "SplitEnds\n; SplitEnds\n[SplitEnds]", std::nullopt},
        {"other keys", "SplitEndsX=a\nXSplitEnds=b", std::nullopt},
        {"nothing", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LanguageFile::FromBytes(c.text).Lookup("SplitEnds"), c.expected);
    }
}

TEST(ApplyMessages, ReplacesOnlyWhatTheFileHas) {
    MessageTable table;
    table.Set(Msg::JoinEnds, "Earlier language");
    ApplyMessages(LanguageFile::FromBytes("[Messages]\r\nPause=&Halt\r\nSplitEnds=\r\n"
                                          "JoinStart=&Start\r\nUnknownKey=x\r\n"),
                  table);
    EXPECT_EQ(table.Text(Msg::Pause), "&Halt");
    // Nothing is reset before a load: a text the file lacks keeps what it had.
    EXPECT_EQ(table.Text(Msg::JoinEnds), "Earlier language");
    EXPECT_EQ(table.Text(Msg::SplitEnds), "File splitting end.");
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        const auto id = static_cast<Msg>(i);
        if (id != Msg::Pause && id != Msg::JoinEnds) {
            EXPECT_EQ(table.Text(id), MsgDefault(id)) << MsgKey(id);
        }
    }
}

TEST(ReadLanguageFile, MissingFileUnreadableFileAndRealFile) {
    TempDir dir;
    MessageTable table;
    EXPECT_FALSE(ReadLanguageFile(dir / "German.ini").has_value());
    EXPECT_FALSE(LoadLanguage(dir / "German.ini", table).has_value());
    EXPECT_EQ(table.Text(Msg::SplitEnds), "File splitting end.");

    // A folder of that name is no language file either.
    std::filesystem::create_directory(dir / "Folder.ini");
    EXPECT_FALSE(ReadLanguageFile(dir / "Folder.ini").has_value());

    const auto german = dir.Write("German.ini", Utf16(u"SplitEnds=Fertig\r\nTo=bis\r\n", false));
    const auto loaded = LoadLanguage(german, table);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(table.Text(Msg::SplitEnds), "Fertig");
    // Captions are the window's: the file hands them on.
    EXPECT_EQ(loaded->Lookup("to"), "bis");

    testing::FaultyFileSystem fs;
    fs.FailOpenRead(german);
    try {
        (void)ReadLanguageFile(german, fs);
        FAIL() << "no IoError";
    } catch (const IoError& e) {
        EXPECT_EQ(e.Path(), german);
        EXPECT_FALSE(e.Reason().empty());
    }
}

TEST(LanguageList, IniFilesInListingOrderAndTheirNames) {
    TempDir dir;
    for (const char* name : {"German.ini", "english.ini", "Upper.INI", "notes.txt", "x.ini.bak"}) {
        dir.Write(name, std::string("To=x"));
    }
    std::filesystem::create_directory(dir / "sub");

    std::vector<std::string> expectedOrder;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::string name = entry.path().filename().string();
        if (EndsWithIgnoringCase(name, ".ini")) {
            expectedOrder.push_back(name);
        }
    }
    const std::vector<std::string> listed = ListLanguageFiles(dir.Path());
    EXPECT_EQ(listed, expectedOrder);
    std::vector<std::string> sorted = listed;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"German.ini", "Upper.INI", "english.ini"}));

    EXPECT_TRUE(ListLanguageFiles(dir / "missing").empty());

    EXPECT_EQ(LanguageListName("German.ini"), "German");
    EXPECT_EQ(LanguageListName("english.ini"), "english");
    EXPECT_EQ(LanguageListName("Portugu\xC3\xAAs (Brasil).ini"), "Portugu\xC3\xAAs (Brasil)");
    EXPECT_EQ(LanguageListName("a.b.ini"), "a.b");
    EXPECT_EQ(LanguageListName(".ini"), "");
    EXPECT_EQ(LanguageListName("noext"), "noext");
}

// Sets or clears an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DataFolder, BesideTheExecutableElseTheShareFolder) {
    const ScopedEnv noOverride(kDataDirVariable, nullptr);
    TempDir dir;
    const auto exeFolder = dir / "bin";
    std::filesystem::create_directories(exeFolder);
    // Nowhere: the place beside the executable, so the message names it.
    EXPECT_EQ(LanguageFolder(exeFolder), exeFolder / "lang");

    std::filesystem::create_directories(dir / "share" / "partsmith" / "lang");
    EXPECT_EQ(LanguageFolder(exeFolder), dir / "share" / "partsmith" / "lang");
    EXPECT_EQ(DataFolder(exeFolder, "Help"), exeFolder / "Help");

    std::filesystem::create_directories(exeFolder / "lang");
    EXPECT_EQ(LanguageFolder(exeFolder), exeFolder / "lang");

    const ScopedEnv override(kDataDirVariable, (dir / "elsewhere").c_str());
    EXPECT_EQ(DataFolder(exeFolder, "Help"), dir / "elsewhere" / "Help");
}

TEST(LanguageFilePath, ExactNameElseOneThatDiffersInCase) {
    const ScopedEnv noOverride(kDataDirVariable, nullptr);
    TempDir dir;
    const auto lang = dir / "lang";
    std::filesystem::create_directories(lang);
    dir.Write("lang/German.ini", std::string("To=bis"));
    dir.Write("lang/english.ini", std::string("To=to"));

    EXPECT_EQ(LanguageFilePath(dir.Path(), "German"), lang / "German.ini");
    // The list offers "english"; a setting "English" still loads it on a case-sensitive system.
    EXPECT_EQ(LanguageFilePath(dir.Path(), "English"), lang / "english.ini");
    EXPECT_EQ(LanguageFilePath(dir.Path(), "French"), lang / "French.ini");
    // An empty setting looks for ".ini", which is missing.
    EXPECT_EQ(LanguageFilePath(dir.Path(), ""), lang / ".ini");
    EXPECT_FALSE(ReadLanguageFile(LanguageFilePath(dir.Path(), "")).has_value());
}

struct CaptionRow {
    const char* key;
    const char* caption;
};

// Every caption key of the task pages with its layout caption. TargetName and BrowseHint are
// left out on purpose: their controls differ in their captions, and loading the shipped file
// must change none.
const CaptionRow kCaptions[] = {
    {"TabSplitName", "Split File"},
    {"SplitTargetHint", "File which do you want to Split"},
    {"GroupSplitOptions", "Split Options"},
    {"BySize", "By Size"},
    {"ByFileNumber", "By File Numbers"},
    {"BySizeSetHints", "File Size per splited File"},
    {"ByFileNumberSetHints", "Number of Files"},
    {"SplitOutputName", "Output name"},
    {"SplitOutputDir", "Output Directory"},
    {"SplitDeleteSourceFile", "Delete source file after splitting"},
    {"SplitEncryptFile", "Encrypt Data"},
    {"EncryptMode", "Mode"},
    {"EncryptHashType", "Hashing Type"},
    {"SplitStart", "&Start Split"},
    {"TabJoinName", "Join File"},
    {"JoinTargetHint", "Please select the first part of the files."},
    {"GroupJoinOptions", "Join Options"},
    {"JoinSaveTo", "Save to file"},
    {"JoinFileCounting", "File counting type:"},
    {"ScanAllHint", "Scan all knowns file in the same directory."},
    {"FileNumberSetHint", "Let me choose the range of files"},
    {"To", "to"},
    {"AppLaunch", "Launch application when finished"},
    {"AppLaunchHint", "Add the %s for given result file name"},
    {"JoinDeleteSourceFile", "Delete all splitted files after join"},
    {"JoinStart", "&Start Join"},
    {"TabChecksumName", "Compare Checksum"},
    {"ChecksumTargetHint", "Please select the file do you want to calculate this checksum."},
    {"GroupChecksumOptions", "Checksum Options/Result"},
    {"ChecksumTypeHint", "Calculate file checksum to:"},
    {"ResultHint", "Result"},
    {"CompareChecksumHint", "Compare"},
    {"ChecksumCompareNeutral", "Data not Entered!"},
    {"CopyChecksum", "Copy To Clipboard"},
    {"ChecksumStart", "&Start Calculate"},
    {"TabCompareName", "Compare File"},
    {"CompareTarget1Hint", "Please select the of the compare file"},
    {"CompareTarget2Hint", "Compare with"},
    {"GroupCompareOptions", "Compare Options"},
    {"CompareMethodHint", "Compare methods"},
    {"ByChecksum", "By Checksum"},
    {"ByFileCompare", "By File Compare"},
    {"CompareFileSize", "Compare file size"},
    {"CompareStart", "&Start Compare"},
};

class ShippedEnglish : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path path =
            std::filesystem::path(PARTSMITH_SOURCE_DATA) / "lang" / "English.ini";
        ASSERT_TRUE(FileIsPresent(path)) << path;
        // The shipped file carries the UTF-8 marker.
        ASSERT_EQ(testing::ReadAll(path).at(0), std::byte{0xEF});
        auto file = ReadLanguageFile(path);
        ASSERT_TRUE(file.has_value());
        file_ = std::move(*file);
    }
    LanguageFile file_;
};

TEST_F(ShippedEnglish, HoldsEveryMessageWithItsDefaultText) {
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        const auto id = static_cast<Msg>(i);
        EXPECT_EQ(file_.Lookup(MsgKey(id)), std::string(MsgDefault(id))) << MsgKey(id);
    }
    MessageTable table;
    ApplyMessages(file_, table);
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        EXPECT_EQ(table.Text(static_cast<Msg>(i)), MsgDefault(static_cast<Msg>(i)));
    }
}

TEST_F(ShippedEnglish, HoldsEveryCaptionButTheSharedOnes) {
    for (const CaptionRow& row : kCaptions) {
        EXPECT_EQ(file_.Lookup(row.key), std::string(row.caption)) << row.key;
    }
    EXPECT_EQ(file_.Lookup("TargetName"), std::nullopt);
    EXPECT_EQ(file_.Lookup("BrowseHint"), std::nullopt);
}

TEST_F(ShippedEnglish, HoldsNoUnknownOrRepeatedKey) {
    std::vector<std::string> seen;
    for (const auto& [key, value] : file_.Entries()) {
        const bool isCaption = std::any_of(std::begin(kCaptions), std::end(kCaptions),
                                           [&](const CaptionRow& r) { return r.key == key; });
        EXPECT_TRUE(MsgForKey(key).has_value() || isCaption) << "unknown key " << key;
        EXPECT_TRUE(std::none_of(seen.begin(), seen.end(),
                                 [&](const std::string& s) { return EqualsIgnoringCase(s, key); }))
            << "repeated key " << key;
        seen.push_back(key);
    }
    EXPECT_EQ(seen.size(), kMessageCount + std::size(kCaptions));
}

} // namespace
} // namespace partsmith
