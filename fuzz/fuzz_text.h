#pragma once
// What every fuzz target shares: libFuzzer's bytes handed to the target's fuzzText as one
// text, and require(), which stops the run as a crash when a reader left something wrong.

#include <cstddef>
#include <cstdint>
#include <string>

void fuzzText(std::string text);

inline void require(bool holds) { if (!holds) __builtin_trap(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzText(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
