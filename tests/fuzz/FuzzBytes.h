// A fuzz input read from the front: each read takes the next bytes, and reads past the end give zeros,
// so that every input, however short, makes a whole case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzBytes {
public:
    FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint32_t Word32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        }
        return value;
    }
    // The next `count` bytes, fewer at the end of the input.
    std::string Text(std::size_t count) {
        const std::size_t taken = count < size_ - at_ ? count : size_ - at_;
        std::string text(reinterpret_cast<const char*>(data_ + at_), taken);
        at_ += taken;
        return text;
    }
    // Everything not read yet.
    std::string Rest() { return Text(size_ - at_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};
