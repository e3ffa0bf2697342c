#pragma once
// Where an installed copy keeps what it ships: the programs live in <prefix>/bin, the default
// data in <prefix>/share/starvane and the texture plug-in in <prefix>/lib/starvane. A program
// run from its build tree finds neither, and the paths stay empty.

#include <filesystem>

struct InstallLayout {
    std::filesystem::path data;    // the folder holding the shipped Starvane/ folder
    std::filesystem::path plugin;  // the texture plug-in texgen.so
};

// The layout around the running program, found from its own place (/proc/self/exe).
InstallLayout installedLayout();

// The layout around a program that lives in `programFolder`.
InstallLayout layoutAround(const std::filesystem::path& programFolder);
