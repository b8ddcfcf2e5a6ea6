// A password in memory: its bytes are overwritten when the object goes away.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace partsmith::cli {

class Secret {
public:
    Secret();
    explicit Secret(std::string_view text);
    ~Secret();
    Secret(const Secret& other);
    Secret& operator=(const Secret& other);
    Secret(Secret&& other) noexcept;
    Secret& operator=(Secret&& other) noexcept;

    void Append(char c);
    void Clear() noexcept;
    [[nodiscard]] std::string_view View() const noexcept { return text_; }
    [[nodiscard]] bool Empty() const noexcept { return text_.empty(); }
    friend bool operator==(const Secret& a, const Secret& b) noexcept { return a.text_ == b.text_; }

private:
    // Grows by reallocation only past this size, so a typed password normally never leaves a
    // stale copy behind in freed memory.
    static constexpr std::size_t kReserve = 1024;
    void Grow();
    std::string text_;
};

// Overwrites size bytes in a way the optimiser may not drop.
void WipeBytes(void* data, std::size_t size) noexcept;

} // namespace partsmith::cli
