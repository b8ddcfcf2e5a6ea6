#include "crypto/BlockCipher.h"

namespace partsmith {

void BlockCipher::DecryptBlocks(const std::uint8_t* in, std::uint8_t* out,
                                std::size_t count) const {
    const std::size_t n = BlockBytes();
    for (std::size_t b = 0; b < count; ++b) {
        DecryptBlock(in + b * n, out + b * n);
    }
}

} // namespace partsmith
