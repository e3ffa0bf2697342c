#pragma once
// Where the core's few messages to the user go: the atlas shows them in its window, the
// command line prints them on stderr.

#include <iostream>
#include <string>
#include <utility>

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
};

class StderrMessages : public MessageSink {
public:
    void showMessage(const std::string& title, const std::string& text) override {
        std::cerr << title << " " << text << "\n";
    }
};

// Messages as the warning lines of a command-line program: "<program>: warning: <text>".
class StderrWarnings : public MessageSink {
public:
    explicit StderrWarnings(std::string program) : program_(std::move(program)) {}
    void showMessage(const std::string&, const std::string& text) override {
        std::cerr << program_ << ": warning: " << text << "\n";
    }

private:
    std::string program_;
};
