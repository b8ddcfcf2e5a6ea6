// The program's fixed identity texts, compiled in: the window's title, the launch log line and
// the command-line tool's version line are all made from these.
#pragma once

namespace partsmith {

// The title of the program as a whole, and the caption of the general error box.
inline constexpr const char* kApplicationTitle = "Partsmith";
// First argument of the formats below.
inline constexpr const char* kProductTitle = "Brimvale Partsmith";
// Second argument of the formats below.
inline constexpr const char* kVersionText = "0.9.3 beta";
// Main window caption, About page titles, tray hint: product title, version text.
inline constexpr const char* kWindowTitleFormat = "%s v%s";
// First line of the activity log: product title, version text.
inline constexpr const char* kLaunchLogFormat = "%s version %s Launched!";

} // namespace partsmith
