#include "crypto/SecureBytes.h"

#include <cstring>

namespace partsmith {

void SecureFill(void* data, std::size_t size, std::uint8_t value) noexcept {
    if (size == 0) {
        return;
    }
    std::memset(data, value, size);
    // The empty statement claims to read the memory, so the stores above stay.
    asm volatile("" : : "r"(data) : "memory");
}

} // namespace partsmith
