#include "text/Format.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace partsmith {
namespace {

TEST(FormatWide, FillsPlaceholdersInOrder) {
    EXPECT_EQ(FormatWide("Size of file %d is %d Bytes", {std::int64_t{2}, std::int64_t{1000}}),
              "Size of file 2 is 1000 Bytes");
    EXPECT_EQ(FormatWide("File %d as \"%s\"", {std::int64_t{1}, std::string("/tmp/a")}),
              "File 1 as \"/tmp/a\"");
    EXPECT_EQ(FormatWide("%d <> %d", {std::int64_t{-5}, std::int64_t{INT64_MAX}}),
              "-5 <> 9223372036854775807");
    EXPECT_EQ(FormatWide("100%% done", {}), "100% done");
    EXPECT_EQ(FormatWide("no placeholders", {}), "no placeholders");
    EXPECT_EQ(FormatWide("", {}), "");
    EXPECT_EQ(FormatWide("%s%s", {std::string("a"), std::string("")}), "a");
}

TEST(FormatWide, ArgumentsAreNeverFormats) {
    EXPECT_EQ(FormatWide("Error! File \"%s\" not found", {std::string("100%d %s %%.txt")}),
              "Error! File \"100%d %s %%.txt\" not found");
}

TEST(FormatWide, MismatchRaisesFormatError) {
    struct Case {
        const char* format;
        std::initializer_list<FormatArg> args;
    };
    const Case cases[] = {
        {"%s", {}},                                   // missing text
        {"%s and %s", {std::string("one")}},          // one short
        {"%d", {std::string("7")}},                   // text for a number
        {"%s", {std::int64_t{7}}},                    // number for a text
        {"%s", {std::string("a"), std::string("b")}}, // one left over
        {"plain", {std::int64_t{1}}},                 // no placeholder at all
        {"%x", {std::int64_t{1}}},                    // unknown placeholder
        {"%5d", {std::int64_t{1}}},                   // widths are not offered
        {"50%", {}},                                  // "%" at the end
        {"%", {}},
    };
    for (const Case& c : cases) {
        EXPECT_THROW((void)FormatWide(c.format, c.args), FormatError) << c.format;
    }
}

TEST(FormatWide, ErrorNamesTheFormat) {
    try {
        (void)FormatWide("Perform time is %d seconds.", {std::string(".50")});
        FAIL() << "no FormatError";
    } catch (const FormatError& e) {
        EXPECT_STREQ(e.what(),
                     "Format 'Perform time is %d seconds.' invalid or incompatible with argument");
    }
}

TEST(FormatHundredths, TwoDecimalsNoLeadingZero) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {0.5, ".50"},
        {45.678, "45.68"},
        {100, "100.00"},
        {0.004, ".00"},
        {89.2857, "89.29"},
        {99.996, "100.00"},
        {0, ".00"},
        {0.9951, "1.00"}, // the carry reaches the whole part
        {0.995, ".99"},   // 0.99499999999999999555... in binary
        {1.5, "1.50"},
        {12345.6, "12345.60"},
        // An exact half rounds away from zero.
        {0.125, ".13"},
        // Just below a half in binary: 2.675 is 2.67499999999999982...
        {2.675, "2.67"},
        {-0.5, "-.50"},
        {-0.001, ".00"},
        {std::numeric_limits<double>::quiet_NaN(), ".00"},
        {std::numeric_limits<double>::infinity(), ".00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatHundredths(c.value), c.expected) << c.value;
    }
}

TEST(TickDifference, AllowsOneWrap) {
    EXPECT_EQ(TickDifference(100, 250), 150u);
    EXPECT_EQ(TickDifference(7, 7), 0u);
    EXPECT_EQ(TickDifference(0, 0xFFFFFFFFu), 0xFFFFFFFFu);
    // After the wrap: (0xFFFFFFFF - start) + end.
    EXPECT_EQ(TickDifference(0xFFFFFFF0u, 0x10u), 0x1Fu);
    EXPECT_EQ(TickDifference(0xFFFFFFFFu, 0u), 0u);
    EXPECT_EQ(TickDifference(0xFFFFFFFFu, 1000u), 1000u);
}

TEST(Percentage, OfDoneInTotal) {
    EXPECT_DOUBLE_EQ(Percentage(0, 0), 0.0);
    EXPECT_DOUBLE_EQ(Percentage(5, 0), 0.0);
    EXPECT_DOUBLE_EQ(Percentage(1, 4), 25.0);
    EXPECT_DOUBLE_EQ(Percentage(4, 4), 100.0);
    // 64-bit sizes: 3 GiB of 6 GiB.
    EXPECT_DOUBLE_EQ(Percentage(3ull << 30, 6ull << 30), 50.0);
    EXPECT_EQ(FormatHundredths(Percentage(2, 3)), "66.67");
}

} // namespace
} // namespace partsmith
