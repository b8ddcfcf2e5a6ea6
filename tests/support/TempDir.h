// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test.
#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace partsmith::testing {

class TempDir {
public:
    TempDir() {
        std::random_device seed;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto candidate = base / ("partsmith-test-" + std::to_string(seed()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = std::move(candidate);
                return;
            }
        }
        throw std::runtime_error("no temporary folder could be made");
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Writes bytes to a new file in the folder and returns its path.
    std::filesystem::path Write(const std::string& name, std::span<const std::byte> bytes) const {
        const auto path = path_ / name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            throw std::runtime_error("test file could not be written");
        }
        return path;
    }
    std::filesystem::path Write(const std::string& name, const std::string& text) const {
        return Write(name, std::as_bytes(std::span(text.data(), text.size())));
    }

private:
    std::filesystem::path path_;
};

// size bytes that depend on seed only.
inline std::vector<std::byte> RandomBytes(std::size_t size, unsigned seed = 1) {
    std::mt19937 generator(seed);
    std::vector<std::byte> bytes(size);
    for (auto& byte : bytes) {
        byte = static_cast<std::byte>(generator() & 0xFF);
    }
    return bytes;
}

inline std::vector<std::byte> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> chars{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::byte> bytes(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) {
        bytes[i] = static_cast<std::byte>(chars[i]);
    }
    return bytes;
}

} // namespace partsmith::testing
