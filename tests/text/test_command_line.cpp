#include "text/CommandLine.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace partsmith {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, WordsAndQuotes) {
    struct Case {
        const char* line;
        Words words;
    };
    const Case cases[] = {
        {"", {}},
        {"  \t ", {}},
        {"vlc", {"vlc"}},
        {"  vlc   --play  x ", {"vlc", "--play", "x"}},
        // The launch text of the Join page with the joined file's path put in.
        {"player \"/data/my movie.avi\"", {"player", "/data/my movie.avi"}},
        {"player /data/my movie.avi", {"player", "/data/my", "movie.avi"}},
        {"'/opt/My Tools/view' '/a b/c'", {"/opt/My Tools/view", "/a b/c"}},
        {"a\"b c\"'d e'f", {"ab cd ef"}},
        {"x \"\" ''", {"x", "", ""}},
        {"a\\ b", {"a b"}},
        {"a\\\\b", {"a\\b"}},
        {"\"say \\\"hi\\\" \\$HOME \\n\"", {"say \"hi\" $HOME \\n"}},
        {"'no \\escape \"here\"'", {"no \\escape \"here\""}},
        {"no $HOME ~ *.txt expansion", {"no", "$HOME", "~", "*.txt", "expansion"}},
        {"open \"unterminated path", {"open", "unterminated path"}},
        {"open 'unterminated", {"open", "unterminated"}},
        {"trailing\\", {"trailing\\"}},
        {"line1\nline2\r\n", {"line1", "line2"}},
        {"100% \"%s\"", {"100%", "%s"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.words) << c.line;
}

} // namespace
} // namespace partsmith
