#include "export/config_file.h"

#include <charconv>
#include <cmath>

#include "text/general_number.h"

std::string fixedSix(double value) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    return std::string(text, result.ptr);
}

std::string ExportNumbers::operator()(double value) const {
    return fixed_ ? fixedSix(value) : generalNumber(value);
}

void ConfigFile::number(const std::string& key, double value) {
    if (std::isfinite(value)) line(key + " = " + numbers_(value));
}

void ConfigFile::period(const std::string& key, double value) {
    if (value != 0.0) number(key, value);
}

void ConfigFile::numbers(const std::string& key, std::initializer_list<double> values) {
    std::string text = key + " =";
    for (const double value : values) {
        if (!std::isfinite(value)) return;
        text += " " + numbers_(value);
    }
    line(text);
}
