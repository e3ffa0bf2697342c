#pragma once
// The gases an atmosphere can hold, with the properties the atmosphere model weighs them by.

#include <cstdint>

struct GasProperties {
    std::int32_t gasnumber;
    const char* symbol;
    const char* formattedsymbol;  // kept with the row; nothing reads it
    const char* name;
    double weight;               // molecular weight
    double melt;                 // melting point, K
    double boil;                 // boiling point, K
    double density;
    double earthabundance;
    double solarabundance;
    double reactivity;
    double maxinspiredpressure;  // largest tolerated inspired partial pressure, millibars
};

constexpr int kGasCount = 20;

// The table, in the order the atmosphere model walks it.
extern const GasProperties kGasTable[kGasCount];

// The row of a gas number, or null. A linear search in table order.
const GasProperties* findGas(std::int32_t gasnumber);

// The most gases one atmosphere read from a file may list: each gas of the table once.
constexpr int kMostGases = kGasCount;
