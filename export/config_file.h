#pragma once
// The text of one configuration file of the simulator: lines of "key = value" in the notation
// the simulator reads, each line preceded by a line break.

#include <initializer_list>
#include <sstream>
#include <string>

// Fixed notation with six decimals.
std::string fixedSix(double value);

// Numbers of one export: general notation with six significant digits until the first body
// file's "Size = ", fixed notation with six decimals from there on, in every later file too.
class ExportNumbers {
public:
    std::string operator()(double value) const;
    void switchToFixed() { fixed_ = true; }

private:
    bool fixed_ = false;
};

class ConfigFile {
public:
    explicit ConfigFile(const ExportNumbers& numbers) : numbers_(numbers) {}

    void line(const std::string& text) { text_ << "\n" << text; }
    void blank() { text_ << "\n"; }
    // "key = value", left out when the value is not a number.
    void number(const std::string& key, double value);
    // As number(), also left out when the value is 0 (a period of 0 would divide by zero).
    void period(const std::string& key, double value);
    // "key = value value ...", left out when any value is not a number.
    void numbers(const std::string& key, std::initializer_list<double> values);
    std::string text() const { return text_.str(); }

private:
    const ExportNumbers& numbers_;
    std::ostringstream text_;
};
