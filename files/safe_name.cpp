#include "files/safe_name.h"

namespace {

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// The longest start of `name` of at most `limit` bytes that does not end inside a UTF-8
// character. A UTF-8 character has at most three continuation bytes; text in another
// encoding is cut after at most three bytes more.
std::size_t cutPoint(const std::string& name, std::size_t limit) {
    if (name.size() <= limit) return name.size();
    std::size_t end = limit;
    const auto continuation = [&](std::size_t at) { return (static_cast<unsigned char>(name[at]) & 0xC0) == 0x80; };
    while (end > 0 && limit - end < 3 && continuation(end)) --end;
    return continuation(end) ? limit : end;
}

}  // namespace

std::string oneLineName(const std::string& name) {
    std::string line = name.substr(0, cutPoint(name, kLongestNameBytes));
    for (char& c : line)
        if (isControl(static_cast<unsigned char>(c))) c = ' ';
    return line;
}

std::string safeFileName(const std::string& name) {
    std::string safe = oneLineName(name);
    for (char& c : safe)
        if (c == '/' || c == '\\') c = '_';
    if (safe.empty() || safe == "." || safe == "..") safe = "_" + safe;
    return safe;
}
