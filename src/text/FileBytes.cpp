#include "text/FileBytes.h"

#include <array>
#include <cstddef>
#include <span>

namespace partsmith {

std::string ReadFileBytes(FileSystem& fs, const std::filesystem::path& path) {
    const std::unique_ptr<InputFile> file = fs.OpenRead(path);
    std::string bytes;
    std::array<std::byte, 16384> buffer{};
    // Read until a read delivers nothing: the size known at open may change, and a short read
    // is no end.
    for (;;) {
        const std::size_t count = file->Read(buffer);
        if (count == 0) {
            break;
        }
        bytes.append(reinterpret_cast<const char*>(buffer.data()), count);
    }
    return bytes;
}

} // namespace partsmith
