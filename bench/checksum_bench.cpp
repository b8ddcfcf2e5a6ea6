// Computes one checksum of one file with the library's routines and prints it with the time the
// computation took, for bench/checksum.sh.
//
//     partsmith-bench-checksum crc32|md5 FILE [READ_BLOCK_BYTES]
#include "checksum/CRC32.h"
#include "checksum/MD5.h"
#include "io/File.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    using namespace partsmith;
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s crc32|md5 FILE [READ_BLOCK_BYTES]\n", argv[0]);
        return 2;
    }
    const std::string_view kind = argv[1];
    const std::filesystem::path path = argv[2];
    const std::size_t block = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 32768;
    try {
        const auto start = std::chrono::steady_clock::now();
        std::string text;
        if (kind == "crc32") {
            text = Crc32ToText(Crc32OfFile(path));
        } else if (kind == "md5") {
            std::vector<std::byte> buffer(block);
            Md5Digest digest{};
            const DigestStatus status = Md5OfFile(path, digest, buffer);
            if (!status) {
                std::fprintf(stderr, "MD5 failed (%u): %s\n", unsigned{status.errorCode},
                             status.reason.c_str());
                return 1;
            }
            text = DigestToText(digest);
        } else {
            std::fprintf(stderr, "unknown checksum %s\n", argv[1]);
            return 2;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::printf("%s %.6f\n", text.c_str(), took.count());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
