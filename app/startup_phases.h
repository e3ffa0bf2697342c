#pragma once
// Where the atlas's start-up spends its time: each phase is closed by naming it once it is
// done, and the --stats report prints them all in order with the time to the first drawn frame.

#include <chrono>
#include <string>
#include <utility>
#include <vector>

class StartupPhases {
public:
    using Clock = std::chrono::steady_clock;

    // Starts counting from `launched` (the program's first moment).
    explicit StartupPhases(Clock::time_point launched) : launched_(launched), last_(launched) {}

    // Closes the phase that ran since the previous mark, under `name`.
    void mark(const char* name);

    // "startup-ms NAME MS ... total MS": each phase in milliseconds, and their sum.
    std::string report() const;

private:
    Clock::time_point launched_;
    Clock::time_point last_;
    std::vector<std::pair<const char*, double>> phases_;
};

// The program's resident memory, and its peak, in megabytes (0 where the system does not say).
struct ResidentMemory {
    double residentMb = 0.0;
    double peakMb = 0.0;
};
ResidentMemory residentMemory();
