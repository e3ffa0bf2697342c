#include "text/text_number.h"

#include <charconv>
#include <climits>

namespace {

std::string_view skipBlanks(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t' || text[start] == '\r'))
        ++start;
    return text.substr(start);
}

// from_chars accepts no leading plus sign; the files may carry one.
std::string_view signAndDigits(std::string_view text, bool& negative) {
    negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

double leadingNumber(std::string_view field) {
    bool negative;
    const std::string_view digits = signAndDigits(skipBlanks(field), negative);
    if (digits.empty() || !(digits[0] == '.' || (digits[0] >= '0' && digits[0] <= '9'))) return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small to hold: from_chars leaves the value alone; say what it is.
        bool tiny = false;
        for (const char* p = digits.data(); p < result.ptr; ++p)
            if (*p == 'e' || *p == 'E') tiny = p + 1 < result.ptr && p[1] == '-';
        value = tiny ? 0.0 : __builtin_huge_val();
    } else if (result.ec != std::errc()) {
        return 0.0;
    }
    return negative ? -value : value;
}

int leadingInteger(std::string_view field) {
    bool negative;
    const std::string_view digits = signAndDigits(skipBlanks(field), negative);
    if (digits.empty() || digits[0] < '0' || digits[0] > '9') return 0;
    long long value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range) value = LLONG_MAX;
    else if (result.ec != std::errc()) return 0;
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
