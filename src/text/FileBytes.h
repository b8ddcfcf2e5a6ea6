// Whole-file reads for the small text files of the program (settings, language files).
#pragma once

#include "io/File.h"

#include <filesystem>
#include <string>

namespace partsmith {

// Every byte of the file at path. Raises IoError when it cannot be opened or read.
std::string ReadFileBytes(FileSystem& fs, const std::filesystem::path& path);

} // namespace partsmith
