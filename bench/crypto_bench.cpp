// Throughput of EncryptRun and DecryptRun for every cipher of the catalogue, in memory: the key
// from a password through SHA-256, 64 MiB in runs of 8 MiB, each run in place as the workers do.
// Prints one line per cipher: list name, encrypt MB/s, decrypt MB/s (MB = 10^6 bytes).
// Times are the thread's CPU time, as openssl speed measures by default, so that the two stay
// comparable on a machine that is busy with other work.
#include "crypto/EncryptMod.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kTotal = 64u << 20;
constexpr std::size_t kRun = 8u << 20;
constexpr int kSha256 = 7;

double CpuSeconds() {
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0) {
        std::perror("clock_gettime");
        std::exit(EXIT_FAILURE);
    }
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

template <class Pass>
double Timed(const std::string& name, Pass pass, std::vector<std::uint8_t>& data) {
    auto cipher = partsmith::CipherForCode(*partsmith::CipherCodeForName(name));
    cipher->KeyFromPassword("benchmark password", *partsmith::HashForCode(kSha256));
    const double start = CpuSeconds();
    for (std::size_t at = 0; at < data.size(); at += kRun) {
        pass(*cipher, data.data() + at, kRun);
    }
    return static_cast<double>(kTotal) / (CpuSeconds() - start) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::uint8_t> data(kTotal);
    std::uint32_t x = 12345;
    for (auto& b : data) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(x >> 23);
    }
    const std::vector<std::uint8_t> original = data;
    const std::string only = argc > 1 ? argv[1] : "";
    int status = EXIT_SUCCESS;
    for (const auto& entry : partsmith::CipherList()) {
        const std::string name(entry.listName);
        if (!only.empty() && name != only) {
            continue;
        }
        const double enc = Timed(
            name,
            [](partsmith::PartCipher& c, std::uint8_t* p, std::size_t n) { c.EncryptRun(p, p, n); },
            data);
        const double dec = Timed(
            name,
            [](partsmith::PartCipher& c, std::uint8_t* p, std::size_t n) { c.DecryptRun(p, p, n); },
            data);
        const bool same = data == original;
        std::printf("%s\t%.1f\t%.1f%s\n", name.c_str(), enc, dec, same ? "" : "\tMISMATCH");
        std::fflush(stdout);
        if (!same) {
            status = EXIT_FAILURE;
            data = original;
        }
    }
    return status;
}
