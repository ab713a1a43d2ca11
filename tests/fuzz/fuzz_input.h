#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads a fuzzer's bytes from the front as small values and texts. Past the
// end every read gives zero, so any input decodes to something.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }

    std::uint8_t Byte() { return Empty() ? 0 : data_[pos_++]; }

    std::uint64_t Bits64() {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = bits << 8U | Byte();
        return bits;
    }

    // One code unit of text: a byte below 0xF0 stands for the character of
    // that number (ASCII and Latin-1, the no-break space 0xA0 among them);
    // 0xF0 and above take the next two bytes as any UTF-16 code unit, lone
    // surrogates and full-width digits included.
    char16_t CodeUnit() {
        const std::uint8_t first = Byte();
        if (first < 0xF0) return first;
        const auto high = static_cast<std::uint16_t>(Byte() << 8U);
        return static_cast<char16_t>(high | Byte());
    }

    std::u16string Text(std::size_t length) {
        std::u16string text;
        while (text.size() < length && !Empty())
            text.push_back(CodeUnit());
        return text;
    }

    std::u16string Rest() { return Text(size_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The entry point every fuzz target defines, as libFuzzer calls it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Stops the run with the reason, so the fuzzer keeps the input that broke.
[[noreturn]] void FuzzFailure(const char* what);
