#include "text/CodePage.h"

#include <gtest/gtest.h>

namespace partsmith {
namespace {

TEST(CodePage, BothWays) {
    struct Case {
        std::string utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"plain ASCII 123", "plain ASCII 123"},
        {"", ""},
        {"Fran\xC3\xA7"
         "ais",
         "Fran\xE7"
         "ais"},                  // U+00E7
        {"\xC3\xBF", "\xFF"},     // U+00FF
        {"\xC2\xA0", "\xA0"},     // no-break space
        {"\xE2\x82\xAC", "\x80"}, // euro sign
        {"\xE2\x80\x9A", "\x82"}, // U+201A
        {"\xC5\xBD", "\x8E"},     // U+017D
        {"\xE2\x80\x9C"
         "x"
         "\xE2\x80\x9D",
         "\x93x\x94"},            // curly quotes
        {"\xE2\x84\xA2", "\x99"}, // trade mark
        {"\xC5\xB8", "\x9F"},     // U+0178
        // The unassigned bytes stand for the C1 controls of their value.
        {"\xC2\x81", "\x81"},
        {"\xC2\x9D", "\x9D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToCodePage(c.utf8), c.bytes) << c.utf8;
        EXPECT_EQ(CodePageToUtf8(c.bytes), c.utf8) << c.utf8;
    }
}

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    all += '\0';
    EXPECT_EQ(Utf8ToCodePage(CodePageToUtf8(all)), all);
}

TEST(CodePage, QuestionMarkForWhatItCannotCarry) {
    struct Case {
        std::string utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"\xE6\x97\xA5\xE6\x9C\xAC", "??"}, // two CJK characters
        {"a\xF0\x9F\x98\x80"
         "b",
         "a?b"},           // one character beyond the BMP
        {"\xC2\x80", "?"}, // U+0080: byte 0x80 is the euro sign
        {"\xC4\x81", "?"}, // U+0101
        // Malformed input: one "?" per bad sequence, the following text kept.
        {"\xC3", "?"},   // cut short at the end
        {"\xC3(", "?("}, // missing continuation
        {"\xE2\x82"
         "A",
         "?A"}, // three-byte form cut short
        {"\x80"
         "x",
         "?x"},                       // lone continuation byte
        {"\xC0\xAF", "??"},           // overlong "/"
        {"\xED\xA0\x80", "???"},      // encoded surrogate
        {"\xF4\x90\x80\x80", "????"}, // beyond U+10FFFF
        {"\xFF\xFE", "??"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToCodePage(c.utf8), c.bytes) << testing::PrintToString(c.utf8);
    }
}

} // namespace
} // namespace partsmith
