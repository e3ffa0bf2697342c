#include "files/simulator_paths.h"

#include <algorithm>
#include <cctype>

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<std::filesystem::path> containedPath(const std::string& relative) {
    if (relative.empty() || relative[0] == '/' || relative[0] == '\\') return std::nullopt;
    if (relative.size() > 1 && relative[1] == ':') return std::nullopt;  // a drive letter
    std::filesystem::path result;
    std::string component;
    auto take = [&]() -> bool {
        if (component == "..") return false;
        if (!component.empty() && component != ".") result /= component;
        component.clear();
        return true;
    };
    for (const char c : relative) {
        if (c == '/' || c == '\\') {
            if (!take()) return std::nullopt;
        } else {
            component += c;
        }
    }
    if (!take()) return std::nullopt;
    return result;
}

std::optional<std::filesystem::path> resolveInside(const std::filesystem::path& base,
                                                   const std::string& relative) {
    const std::optional<std::filesystem::path> parts = containedPath(relative);
    if (!parts) return std::nullopt;
    std::filesystem::path current = base;
    for (const auto& part : *parts) {
        const std::string wanted = part.string();
        std::filesystem::path next = current / part;
        std::error_code error;
        if (!std::filesystem::exists(next, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(current, error)) {
                if (sameIgnoringCase(entry.path().filename().string(), wanted)) {
                    next = entry.path();
                    break;
                }
            }
        }
        current = next;
    }
    return current;
}

std::optional<std::filesystem::path> realLocation(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::weakly_canonical(path.parent_path(), error);
    if (error || folder.empty()) return std::nullopt;
    return folder / path.filename();
}

bool liesWithin(const std::filesystem::path& inner, const std::filesystem::path& outer) {
    auto part = inner.begin();
    for (const auto& wanted : outer) {
        if (part == inner.end() || *part != wanted) return false;
        ++part;
    }
    return true;
}

std::string scenarioPath(const std::string& safeName) { return "Scenarios/Starvane/" + safeName + ".scn"; }
