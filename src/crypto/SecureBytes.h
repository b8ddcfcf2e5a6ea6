// Buffers for key material that are overwritten before their memory is given back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace partsmith {

// A fill the optimiser may not drop, even right before the memory is released.
void SecureFill(void* data, std::size_t size, std::uint8_t value) noexcept;

// A fixed-size byte array that starts zeroed and is zeroed again when it goes out of scope.
template <std::size_t N> class WipedArray {
public:
    WipedArray() = default;
    WipedArray(const WipedArray&) = delete;
    WipedArray& operator=(const WipedArray&) = delete;
    ~WipedArray() { SecureFill(bytes_.data(), N, 0); }

    [[nodiscard]] std::uint8_t* data() noexcept { return bytes_.data(); }
    [[nodiscard]] const std::uint8_t* data() const noexcept { return bytes_.data(); }
    [[nodiscard]] static constexpr std::size_t size() noexcept { return N; }
    std::uint8_t& operator[](std::size_t i) noexcept { return bytes_[i]; }

private:
    std::array<std::uint8_t, N> bytes_{};
};

} // namespace partsmith
