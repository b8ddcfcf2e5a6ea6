// Runs a fuzz target once over each file of a corpus folder, in name order so that a failure
// is reproducible. An empty or missing folder is a failure: a replay that tested nothing must
// not pass.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool ReadAll(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->is_regular_file()) {
            files.push_back(it->path());
        }
    }
    if (ec) {
        std::fprintf(stderr, "%s: %s\n", folder.c_str(), ec.message().c_str());
        return 1;
    }
    if (files.empty()) {
        std::fprintf(stderr, "%s: no corpus files\n", folder.c_str());
        return 1;
    }
    std::ranges::sort(files);
    for (const std::filesystem::path& file : files) {
        std::vector<std::uint8_t> bytes;
        if (!ReadAll(file, bytes)) {
            std::fprintf(stderr, "%s: cannot be read\n", file.c_str());
            return 1;
        }
        std::fprintf(stderr, "%s (%zu bytes)\n", file.filename().c_str(), bytes.size());
        // A null pointer for an empty input, as libFuzzer may pass one too.
        LLVMFuzzerTestOneInput(bytes.empty() ? nullptr : bytes.data(), bytes.size());
    }
    std::fprintf(stderr, "replayed %zu files\n", files.size());
    return 0;
}
