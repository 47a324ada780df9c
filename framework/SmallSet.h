// Small sets of enumeration values, as a control's options and kinds are given.
#pragma once

#include <cstdint>
#include <initializer_list>

// A set of up to eight values of an enumeration, one bit each (bit 0 for the first value), in one byte.
template <class Enum>
class SmallSet {
public:
    constexpr SmallSet() = default;
    constexpr SmallSet(std::initializer_list<Enum> members) {
        for (Enum member : members) {
            bits_ |= Bit(member);
        }
    }
    constexpr bool Contains(Enum member) const { return (bits_ & Bit(member)) != 0; }
    constexpr SmallSet With(Enum member) const {
        SmallSet result = *this;
        result.bits_ |= Bit(member);
        return result;
    }
    constexpr std::uint8_t Bits() const { return bits_; }
    constexpr bool operator==(const SmallSet&) const = default;

private:
    static constexpr std::uint8_t Bit(Enum member) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(member));
    }
    std::uint8_t bits_ = 0;
};
