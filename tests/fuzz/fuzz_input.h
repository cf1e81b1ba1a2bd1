// Reading a fuzz input piece by piece, and buffers of an exact size, for the fuzz
// targets of the pure rules. Every piece is taken from the front; an input used up
// gives zeros and empty texts, so every input is a valid one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    bool Flag() { return (Byte() & 1) != 0; }
    // Two bytes, little end first, folded into 0..max.
    std::size_t Number(std::size_t max)
    {
        const std::size_t low = Byte();
        return (low | static_cast<std::size_t>(Byte()) << 8) % (max + 1);
    }
    uint32_t Word()
    {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i) w |= static_cast<uint32_t>(Byte()) << (8 * i);
        return w;
    }
    // The bytes up to the next zero byte (taken, not included) or to the end.
    std::string Text()
    {
        std::string text;
        while (at_ < size_ && data_[at_] != 0) text.push_back(static_cast<char>(data_[at_++]));
        if (at_ < size_) ++at_;
        return text;
    }
    std::string Rest()
    {
        std::string rest(reinterpret_cast<const char*>(data_ + at_), size_ - at_);
        at_ = size_;
        return rest;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A heap block of exactly `size` bytes, so the sanitizer sees a byte read or written
// past it. Filled with `fill` so that bytes a rule must leave alone can be checked.
struct ExactBuffer {
    ExactBuffer(std::size_t n, char fill = '\x5A') : size(n), data(new char[n])
    {
        if (n > 0) std::memset(data.get(), fill, n);
    }
    char* get() { return data.get(); }
    // True when the text starting the buffer ends inside it.
    bool Terminated() const { return size > 0 && std::memchr(data.get(), 0, size) != nullptr; }
    std::size_t size;
    std::unique_ptr<char[]> data;
};

// A zero-terminated copy of `text` in a block of its own length plus one.
inline ExactBuffer ExactText(const std::string& text)
{
    ExactBuffer b(text.size() + 1);
    std::memcpy(b.get(), text.c_str(), text.size() + 1);
    return b;
}

// A failed property: says which and stops the run, so the input is kept as a finding.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                              \
        }                                                                              \
    } while (0)
