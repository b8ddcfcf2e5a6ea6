#include "text/CommandLine.h"
#include "text/Format.h"

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

TEST(LaunchCommandLine, EveryPlaceholderTakesThePath) {
    struct Case {
        const char* launch;
        const char* result;
    };
    const Case cases[] = {
        {"player \"%s\"", "player \"/d/my film.avi\""},
        {"player", "player"},
        {"diff %s %s.bak", "diff /d/my film.avi /d/my film.avi.bak"},
        {"100%% %s", "100% /d/my film.avi"},
        {"%%s stays", "%s stays"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LaunchCommandLine(c.launch, "/d/my film.avi"), c.result) << c.launch;
    // The path is never read as a format.
    EXPECT_EQ(LaunchCommandLine("open %s", "/d/100%d.txt"), "open /d/100%d.txt");
}

TEST(LaunchCommandLine, OtherPlaceholdersFail) {
    for (const char* launch : {"run %d", "run %s %x", "ends in %"})
        EXPECT_THROW(static_cast<void>(LaunchCommandLine(launch, "/f")), FormatError) << launch;
}

} // namespace
} // namespace partsmith
