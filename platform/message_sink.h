#pragma once
// Where the core's few messages to the user go: the atlas shows them in its window, the
// command line prints them on stderr.

#include <iostream>
#include <string>

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
