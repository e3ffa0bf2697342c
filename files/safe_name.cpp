#include "files/safe_name.h"

namespace {
constexpr std::size_t kLongestName = 200;
}

std::string safeFileName(const std::string& name) {
    std::string safe;
    safe.reserve(name.size());
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        safe += (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) ? '_' : c;
    }
    if (safe.size() > kLongestName) safe.resize(kLongestName);
    if (safe.empty() || safe == "." || safe == "..") safe = "_" + safe;
    return safe;
}
