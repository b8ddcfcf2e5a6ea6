#include "checksum/Hash.h"

#include "io/File.h"

#include <memory>
#include <stdexcept>

namespace partsmith {

namespace {

// Finishing is what wipes a context, so it happens on every way out, an exception included.
class ContextGuard {
public:
    ContextGuard(const DigestAlgorithm& algorithm, DigestContext& context)
        : algorithm_(algorithm), context_(context) {
        algorithm_.init(context_);
    }
    ~ContextGuard() {
        if (!finished_) {
            DigestArea discarded{};
            algorithm_.final(context_, discarded);
        }
    }
    ContextGuard(const ContextGuard&) = delete;
    ContextGuard& operator=(const ContextGuard&) = delete;

    void Finish(DigestArea& digest) {
        finished_ = true;
        algorithm_.final(context_, digest);
    }

private:
    const DigestAlgorithm& algorithm_;
    DigestContext& context_;
    bool finished_ = false;
};

} // namespace

DigestStatus DigestOfFile(FileSystem& files, const std::filesystem::path& path,
                          const DigestAlgorithm& algorithm, DigestArea& digest,
                          std::span<std::byte> buffer) {
    // An empty buffer reads nothing, which would pass for the end of any file.
    if (buffer.empty()) {
        throw std::invalid_argument("DigestOfFile needs a read buffer");
    }
    std::unique_ptr<InputFile> file;
    try {
        file = files.OpenRead(path);
    } catch (const IoError& error) {
        return {kDigestOpenFailed, error.Reason()};
    }

    DigestContext context;
    ContextGuard guard(algorithm, context);
    DigestStatus status;
    try {
        // A pipe or a slow device delivers short reads long before its end; only a read that
        // delivers nothing ends the data.
        for (;;) {
            const std::size_t got = file->Read(buffer);
            if (got == 0) {
                break;
            }
            algorithm.update(context, buffer.data(), got);
        }
    } catch (const IoError& error) {
        status = {kDigestReadFailed, error.Reason()};
    }
    file.reset();
    guard.Finish(digest);
    return status;
}

DigestStatus DigestOfFile(const std::filesystem::path& path, const DigestAlgorithm& algorithm,
                          DigestArea& digest, std::span<std::byte> buffer) {
    return DigestOfFile(RealFileSystem(), path, algorithm, digest, buffer);
}

} // namespace partsmith
