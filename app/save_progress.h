#pragma once
// What the save's progress bar shows: its caption and how far it is filled. No engine needed.

#include <string>

// "Saving <system>: <body> (<done>/<total>)"; without a body yet, "Saving <system>: <body>"
// stands for what is under way.
std::string saveCaption(const std::string& system, const std::string& body, int done, int total);

// How much of the whole save is done, within 0 and 1: `done` bodies begun (the last of them
// `bodyFraction` done) of `total`.
double saveFraction(int done, int total, double bodyFraction);
