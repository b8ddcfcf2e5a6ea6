#include "split/EngineCommon.h"

#include "crypto/EncryptMod.h"
#include "crypto/SecureBytes.h"
#include "io/File.h"
#include "text/CodePage.h"
#include "text/LangStr.h"
#include "text/UnicodeAdds.h"

#include <limits>
#include <new>

namespace partsmith {

std::string IoFailureText(const IoError& error) {
    Msg key = Msg::IoReadFailed;
    switch (error.Op()) {
    case IoOp::Open:
        key = Msg::IoOpenFailed;
        break;
    case IoOp::Create:
        key = Msg::IoCreateFailed;
        break;
    case IoOp::Read:
        key = Msg::IoReadFailed;
        break;
    case IoOp::Write:
        key = Msg::IoWriteFailed;
        break;
    case IoOp::Close:
        key = Msg::IoCloseFailed;
        break;
    case IoOp::Size:
        key = Msg::IoSizeFailed;
        break;
    case IoOp::Delete:
        key = Msg::IoDeleteFailed;
        break;
    case IoOp::Copy:
        key = Msg::IoCopyFailed;
        break;
    }
    return Message(key, {Utf8FromPath(error.Path()), error.Reason()});
}

std::uint64_t EffectiveBufferSize(std::uint64_t bufferSize) {
    return bufferSize == 0 ? 1024 : bufferSize;
}

void RunBuffer::Reserve(std::uint64_t size) {
    if (size <= size_) {
        return;
    }
    if (size > std::numeric_limits<std::size_t>::max()) {
        throw std::bad_alloc();
    }
    data_.reset();
    size_ = 0;
    // Not value-initialised: every byte is read into before it is used. The nothrow form lets a
    // refused allocation be told apart from any other failure the same way everywhere.
    data_.reset(new (std::nothrow) std::byte[static_cast<std::size_t>(size)]);
    if (data_ == nullptr) {
        throw std::bad_alloc();
    }
    size_ = static_cast<std::size_t>(size);
}

std::span<std::byte> RunBuffer::First(std::uint64_t n) noexcept {
    return {data_.get(), static_cast<std::size_t>(n)};
}

void WipeText(std::string& text) noexcept {
    SecureFill(text.data(), text.size(), 0);
    text.clear();
}

std::unique_ptr<PartCipher> KeyedCipher(std::uint8_t cipherCode, std::uint8_t hashCode,
                                        const std::string& passwordUtf8) {
    auto cipher = CipherForCode(cipherCode);
    const HashAlgorithm* hash = HashForCode(hashCode);
    if (cipher == nullptr || hash == nullptr) {
        return nullptr;
    }
    std::string password8bit = Utf8ToCodePage(passwordUtf8);
    struct Wiper {
        std::string& text;
        ~Wiper() { WipeText(text); }
    } wiper{password8bit};
    cipher->KeyFromPassword(password8bit, *hash);
    return cipher;
}

} // namespace partsmith
