#include "app/startup_phases.h"

#include <cstdio>
#include <fstream>
#include <sstream>

void StartupPhases::mark(const char* name) {
    const Clock::time_point now = Clock::now();
    phases_.emplace_back(name, std::chrono::duration<double, std::milli>(now - last_).count());
    last_ = now;
}

std::string StartupPhases::report() const {
    std::string line = "startup-ms";
    char figure[64];
    for (const auto& [name, ms] : phases_) {
        std::snprintf(figure, sizeof figure, " %s %.1f", name, ms);
        line += figure;
    }
    std::snprintf(figure, sizeof figure, " total %.1f",
                  std::chrono::duration<double, std::milli>(last_ - launched_).count());
    return line + figure;
}

ResidentMemory residentMemory() {
    ResidentMemory memory;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream fields(line);
        std::string key;
        double kilobytes = 0.0;
        if (!(fields >> key >> kilobytes)) continue;
        if (key == "VmRSS:") memory.residentMb = kilobytes / 1024.0;
        if (key == "VmHWM:") memory.peakMb = kilobytes / 1024.0;
    }
    return memory;
}
