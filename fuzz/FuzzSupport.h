#pragma once
// What the fuzz targets share: reading the fuzzer's bytes as choices, and
// stopping loudly when an invariant breaks (libFuzzer keeps the input).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

// The fuzzer's bytes as a stream of choices; reading past the end gives zeros.
class TInput {
public:
    TInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    bool Empty() const { return FPos >= FSize; }
    std::uint8_t Byte() { return Empty() ? 0 : FData[FPos++]; }
    // A choice among n (n > 0).
    unsigned Pick(unsigned n) { return Byte() % n; }
    // Text of up to `max` bytes, its length given by one byte.
    std::string Text(std::size_t max) {
        std::string s;
        for (std::size_t n = Byte() % (max + 1); n > 0 && !Empty(); --n)
            s += static_cast<char>(Byte());
        return s;
    }
    // Everything not read yet.
    std::string Rest() {
        std::string s(reinterpret_cast<const char*>(FData + FPos), FSize - FPos);
        FPos = FSize;
        return s;
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

[[noreturn]] inline void Fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "fuzz invariant broken: %s %.*s\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

} // namespace fuzz

#define FUZZ_CHECK(cond, detail)                                                                             \
    do {                                                                                                     \
        if (!(cond)) ::fuzz::Fail(#cond, detail);                                                            \
    } while (0)
