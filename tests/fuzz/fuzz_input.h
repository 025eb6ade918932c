// Reading a fuzzer's input as a few small fields, and stopping on a broken
// invariant. The layouts are simple enough to write seeds by hand.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint16_t word() {  // little-endian
        const std::uint16_t low = byte();
        return static_cast<std::uint16_t>(low | (byte() << 8));
    }
    // A field of `length` bytes, or what is left.
    std::string bytes(std::size_t length) {
        const std::size_t n = length < size_ - at_ ? length : size_ - at_;
        std::string out(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return out;
    }
    // A field preceded by its 16-bit length.
    std::string sized() { return bytes(word()); }
    std::string rest() { return bytes(size_ - at_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A text for the log: bytes outside printable ASCII as \xNN.
inline std::string printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
        out += (c >= 0x20 && c < 0x7F) ? std::string(1, static_cast<char>(c)) : escaped;
    }
    return out;
}

// A broken invariant is a crash for libFuzzer: it keeps the input.
[[noreturn]] inline void broken(const char* what, const std::string& detail = "") {
    std::fprintf(stderr, "invariant broken: %s [%s]\n", what, printable(detail).c_str());
    std::abort();
}

inline void check(bool ok, const char* what, const std::string& detail = "") {
    if (!ok) broken(what, detail);
}

}  // namespace fuzz
