#include "text/text_lines.h"

#include "text/format_limits.h"

#include <fstream>
#include <string>
#include <sstream>

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string_view> splitFields(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return fields;
}

std::string readTextFile(const std::filesystem::path& path, bool* ok) {
    std::string text;
    const bool read = !readBoundedFile(path, kMostTextFileBytes, text);
    if (ok != nullptr) *ok = read;
    return text;
}

std::optional<std::string> readBoundedFile(const std::filesystem::path& path, std::uintmax_t most,
                                           std::string& text) {
    text.clear();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return std::string("cannot be read");
    if (!std::filesystem::is_regular_file(path, error)) return std::string("is not a regular file");
    const std::string tooBig = "is bigger than " + std::to_string(most) + " bytes";
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > most) return tooBig;
    if (!error) text.reserve(static_cast<std::size_t>(size));
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::string("cannot be read");
    // Piece by piece up to one byte more than allowed: the file may grow while it is read.
    char piece[65536];
    while (in.read(piece, sizeof piece) || in.gcount() > 0) {
        text.append(piece, static_cast<std::size_t>(in.gcount()));
        if (text.size() > most) {
            text.clear();
            return tooBig;
        }
    }
    return std::nullopt;
}
