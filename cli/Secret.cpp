#include "Secret.h"

#include <cstring>
#include <utility>

namespace partsmith::cli {

void WipeBytes(void* data, std::size_t size) noexcept {
    auto* p = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        p[i] = 0;
    }
}

Secret::Secret() {
    text_.reserve(kReserve);
}

Secret::Secret(std::string_view text) {
    text_.reserve(text.size() > kReserve ? text.size() : kReserve);
    text_.assign(text);
}

Secret::~Secret() {
    Clear();
}

Secret::Secret(const Secret& other) : Secret(other.View()) {}

Secret& Secret::operator=(const Secret& other) {
    if (this != &other) {
        Clear();
        if (other.text_.size() > text_.capacity()) {
            Secret copy(other.View());
            *this = std::move(copy);
        } else {
            text_.assign(other.text_);
        }
    }
    return *this;
}

Secret::Secret(Secret&& other) noexcept : text_(std::move(other.text_)) {
    other.Clear();
}

Secret& Secret::operator=(Secret&& other) noexcept {
    if (this != &other) {
        Clear();
        text_.swap(other.text_);
        other.Clear();
    }
    return *this;
}

void Secret::Grow() {
    std::string bigger;
    bigger.reserve(text_.capacity() * 2 + kReserve);
    bigger.assign(text_);
    Clear();
    text_.swap(bigger);
}

void Secret::Append(char c) {
    if (text_.size() == text_.capacity()) {
        Grow();
    }
    text_.push_back(c);
}

void Secret::Clear() noexcept {
    // The whole capacity, so that bytes of a longer earlier content go too.
    if (text_.capacity() > 0) {
        text_.resize(text_.capacity());
        WipeBytes(text_.data(), text_.size());
    }
    text_.clear();
}

} // namespace partsmith::cli
