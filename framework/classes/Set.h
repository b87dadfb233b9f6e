#pragma once
// Set<E>: a small set of enumerators, one bit per ordinal (ordinals 0..63).
// Used for the framework's set types: shift states, font styles, border icons,
// control styles and component states.

#include <cassert>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace fw {

template <typename E>
class Set {
    static_assert(std::is_enum_v<E>, "Set<E> holds enumerators");

public:
    static constexpr int MaxOrdinal = 63;

    constexpr Set() = default;
    constexpr Set(std::initializer_list<E> items) {
        for (E e : items)
            Include(e);
    }

    // The set whose bit pattern is `bits` (bit n stands for ordinal n).
    static constexpr Set FromBits(std::uint64_t bits) {
        Set s;
        s.FBits = bits;
        return s;
    }
    constexpr std::uint64_t Bits() const { return FBits; }

    constexpr Set& Include(E e) {
        FBits |= Bit(e);
        return *this;
    }
    constexpr Set& Exclude(E e) {
        FBits &= ~Bit(e);
        return *this;
    }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr void Clear() { FBits = 0; }

    // Pascal-style spelling: `state << csLoading`, `state >> csLoading`.
    constexpr Set& operator<<(E e) { return Include(e); }
    constexpr Set& operator>>(E e) { return Exclude(e); }

    // Union, difference and intersection.
    friend constexpr Set operator+(Set a, Set b) { return FromBits(a.FBits | b.FBits); }
    friend constexpr Set operator-(Set a, Set b) { return FromBits(a.FBits & ~b.FBits); }
    friend constexpr Set operator*(Set a, Set b) { return FromBits(a.FBits & b.FBits); }
    friend constexpr Set operator+(Set a, E e) { return a.Include(e); }
    friend constexpr Set operator-(Set a, E e) { return a.Exclude(e); }
    constexpr Set& operator+=(Set b) { return *this = *this + b; }
    constexpr Set& operator-=(Set b) { return *this = *this - b; }
    constexpr Set& operator+=(E e) { return Include(e); }
    constexpr Set& operator-=(E e) { return Exclude(e); }

    friend constexpr bool operator==(Set a, Set b) = default;

private:
    static constexpr std::uint64_t Bit(E e) {
        const auto ordinal = static_cast<std::int64_t>(e);
        assert(ordinal >= 0 && ordinal <= MaxOrdinal);
        return std::uint64_t{1} << ordinal;
    }

    std::uint64_t FBits = 0;
};

} // namespace fw
