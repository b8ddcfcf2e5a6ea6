#include "join/PartScan.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace partsmith {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

class PartScanTest : public ::testing::Test {
protected:
    std::string Make(const std::string& name) { return dir.Write(name, "x").string(); }
    std::string At(const std::string& name) const { return (dir.Path() / name).string(); }
    PartSetRange Scan(const std::string& picked) {
        statuses.clear();
        logs.clear();
        return ScanPartSet(picked, report);
    }

    TempDir dir;
    std::vector<std::string> statuses;
    std::vector<std::string> logs;
    ScanReport report{[this](const std::string& s) { statuses.push_back(s); },
                      [this](const std::string& s) { logs.push_back(s); }};
};

TEST_F(PartScanTest, PlainSetFromItsFirstPart) {
    for (const char* n : {"001", "002", "003", "004"}) {
        Make(std::string("movie.avi.") + n);
    }
    const PartSetRange range = Scan(At("movie.avi.001"));
    EXPECT_EQ(range.First, 1);
    EXPECT_EQ(range.Last, 4);
    EXPECT_EQ(range.Width, 3);
    EXPECT_FALSE(range.Encrypted);
    EXPECT_EQ(logs, std::vector<std::string>{"Scanning File found 4 Files"});
    ASSERT_EQ(statuses.size(), 5u);
    EXPECT_EQ(statuses[0], "Scanning File at \"" + At("movie.avi.002") + "\"");
    EXPECT_EQ(statuses[3], "Scanning File at \"" + At("movie.avi.005") + "\"");
    EXPECT_EQ(statuses[4], "Scanning File found 4 Files");
}

TEST_F(PartScanTest, EncryptedSetStopsAtTheFirstMissingNumber) {
    for (int n = 1; n <= 12; ++n) {
        Make("movie.avi.e" + std::string(n < 10 ? "0" : "") + std::to_string(n));
    }
    const PartSetRange range = Scan(At("movie.avi.e01"));
    EXPECT_EQ(range.Last, 12);
    EXPECT_TRUE(range.Encrypted);
    EXPECT_EQ(range.Width, 3);
    EXPECT_EQ(statuses[statuses.size() - 2], "Scanning File at \"" + At("movie.avi.e13") + "\"");
}

TEST_F(PartScanTest, EdgeCases) {
    struct Case {
        const char* what;
        std::vector<std::string> files;
        std::string picked;
        std::int64_t first, last;
        int width;
        bool encrypted;
    };
    const std::vector<Case> cases = {
        {"from part 3", {"a.001", "a.002", "a.003", "a.004", "a.005"}, "a.003", 3, 5, 3, false},
        {"width 1 grows",
         {"b.1", "b.2", "b.3", "b.4", "b.5", "b.6", "b.7", "b.8", "b.9", "b.10", "b.11"},
         "b.1",
         1,
         11,
         1,
         false},
        {"past 999", {"c.998", "c.999", "c.1000", "c.1001"}, "c.998", 998, 1001, 3, false},
        {"past e99", {"d.e98", "d.e99", "d.e100"}, "d.e98", 98, 100, 3, true},
        {"uppercase E, lowercase followers", {"e.E01", "e.e01", "e.e02"}, "e.E01", 1, 2, 3, true},
        {"gap ends the set", {"f.001", "f.002", "f.004"}, "f.001", 1, 2, 3, false},
        {"number not padded", {"g.+1", "g.01"}, "g.+1", 1, 1, 2, false},
        {"unpadded form finds nothing", {"h.+1"}, "h.+1", 1, 0, 2, false},
        {"a folder is no part", {"i.001"}, "i.001", 1, 1, 3, false},
    };
    fs::create_directory(dir.Path() / "i.002");
    for (const Case& c : cases) {
        for (const auto& name : c.files) {
            Make(name);
        }
        const PartSetRange range = Scan(At(c.picked));
        EXPECT_EQ(range.First, c.first) << c.what;
        EXPECT_EQ(range.Last, c.last) << c.what;
        EXPECT_EQ(range.Width, c.width) << c.what;
        EXPECT_EQ(range.Encrypted, c.encrypted) << c.what;
        EXPECT_EQ(logs, std::vector<std::string>{"Scanning File found " + std::to_string(c.last) +
                                                 " Files"})
            << c.what;
    }
}

TEST_F(PartScanTest, ANameWithoutANumberIsAnIntegerError) {
    for (const auto& [name, number] :
         std::vector<std::pair<std::string, std::string>>{{"movie.avi", "avi"},
                                                          {"movie.e", ""},
                                                          {"movie", ""},
                                                          {"x.12a", "12a"},
                                                          {"x.e-", "-"}}) {
        try {
            (void)Scan(Make(name));
            ADD_FAILURE() << name << " was read as a number";
        } catch (const PartNumberError& error) {
            EXPECT_EQ(error.NumberText(), number);
            EXPECT_EQ(std::string(error.what()), "'" + number + "' is not a valid integer value");
        }
        EXPECT_TRUE(logs.empty());
    }
}

TEST(PartScan, DefaultOutputName) {
    EXPECT_EQ(DefaultJoinOutput("/data/movie.avi.001"), "/data/movie.avi");
    EXPECT_EQ(DefaultJoinOutput("a.b.c"), "a.b");
    EXPECT_EQ(DefaultJoinOutput("/data.old/file"), "/data.old/file");
}

TEST(PartScan, RangeModeTakesWidthThreeAndTheKindFromTheName) {
    PartSetRange range = RangePartSet("/data/x.017", 2, 4);
    EXPECT_EQ(range.First, 2);
    EXPECT_EQ(range.Last, 4);
    EXPECT_EQ(range.Width, 3);
    EXPECT_FALSE(range.Encrypted);
    range = RangePartSet("/data/x.e5", 1, 9);
    EXPECT_EQ(range.Width, 3);
    EXPECT_TRUE(range.Encrypted);
    EXPECT_TRUE(RangePartSet("/data/x.E01", 1, 9).Encrypted);
}

} // namespace
} // namespace partsmith
