// The tool speaks the window's language: the message table takes the language file that the
// window's settings name, so both say the same things in the same words.
#pragma once

#include <filesystem>

namespace partsmith::cli {

// The running program's path (/proc/self/exe), or argv0 where the system does not say.
[[nodiscard]] std::filesystem::path ExecutablePath(const char* argv0);

// Loads the language of the window's settings file (the window's executable lies beside the
// tool) into the message table. Without a settings file, or with a language file that is
// missing or unreadable, the built-in English texts stay; the tool says nothing about it.
void LoadWindowLanguage(const std::filesystem::path& toolExecutable);

} // namespace partsmith::cli
