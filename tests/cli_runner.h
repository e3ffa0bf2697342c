#pragma once
// Runs starvane-cli as a script would and keeps its exit status and what it printed.

#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <string>

struct CliRun {
    int status;
    std::string out;
};

// Runs a shell command line; `out` holds what it prints on stdout.
inline CliRun runCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return {-1, ""};
    std::string out;
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) out.append(buffer, read);
    return {WEXITSTATUS(pclose(pipe.release())), out};
}

// `out` holds what starvane-cli prints, with its messages too when `withMessages`.
inline CliRun runCli(const std::string& arguments, bool withMessages = false) {
    return runCommand(std::string(STARVANE_CLI) + " " + arguments + (withMessages ? " 2>&1" : " 2>/dev/null"));
}
