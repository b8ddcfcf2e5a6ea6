// A command line as the launch after a join gives it: one text, split into the program and its
// arguments the way a POSIX shell splits words, without running a shell and without any
// expansion, so a joined file's path reaches the program exactly as written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace partsmith {

// Words are separated by unquoted blanks (space, tab, line breaks). Inside '...' every
// character stands for itself; inside "..." a backslash keeps its meaning only before ", \, $
// and `; outside quotes a backslash takes the next character literally. Quotes join with the
// text around them ("a"'b'c is one word abc), and "" alone is one empty word. A quote left open
// runs to the end of the text, and a backslash at the very end stands for itself.
// The first word names the program; an empty or blank text gives no words.
[[nodiscard]] std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The launch text with every %s replaced by path, each piece between them formatted by
// FormatWide: "%%" gives "%", and any other placeholder (%d, a lone % at the end) raises
// FormatError. A text without %s is used as it stands, without the path.
[[nodiscard]] std::string LaunchCommandLine(std::string_view launchText, std::string_view path);

} // namespace partsmith
