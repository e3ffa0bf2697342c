#include "generation/generated_system.h"

namespace {

const char* const kTypeNames[] = {
    "Unknown",          "Rock",           "Venusian",          "Terrestrial",
    "Jovian",           "Martian",        "Water",             "Ice",
    "Ice Giant",        "Gas Dwarf",      "Asteroids",         "1Face",
    "Sudarsky I Giant", "Sudarsky II Giant", "Sudarsky III Giant", "Sudarsky IV Giant",
    "Sudarsky V Giant",
};

const char* const kNumerals[] = {
    "I",  "II",  "III",  "IV",  "V",  "VI",  "VII",  "VIII",  "IX",  "X",
    "XI", "XII", "XIII", "XIV", "XV", "XVI", "XVII", "XVIII", "XIX", "XX",
};

struct GasName {
    std::int32_t number;
    const char* name;
};

const GasName kGasNames[] = {
    {1, "Hydrogen"},        {2, "Helium"},         {7, "Nitrogen"},        {8, "Oxygen"},
    {9, "Fluorine"},        {10, "Neon"},          {15, "Phosphor"},       {17, "Chlorine"},
    {18, "Argon"},          {35, "Bromine"},       {36, "Krypton"},        {53, "Iodine"},
    {54, "Xenon"},          {80, "Mercury"},       {85, "Astatine"},       {86, "Radon"},
    {87, "Francium"},       {900, "Ammonia"},      {901, "Water Vapour"},  {902, "Carbon Dioxide"},
    {903, "Ozon"},          {904, "Methane"},      {905, "Ethanole"},      {906, "Hyd.Peroxyde"},
    {907, "Sulf.Dioxide"},  {908, "Nitric Acid"},  {909, "Hyd.Sulfide"},   {910, "Disulf.Diclor."},
    {911, "Sulf.Acid"},
};

}  // namespace

const char* planetTypeName(std::int32_t type) {
    if (type < 0 || type >= kPlanetTypeCount) return "Unknown";
    return kTypeNames[type];
}

const char* gasDisplayName(std::int32_t gasnumber) {
    for (const GasName& gas : kGasNames)
        if (gas.number == gasnumber) return gas.name;
    return "";
}

const char* moonNumeral(std::int32_t number) {
    if (number < 1 || number > 20) return "";
    return kNumerals[number - 1];
}

std::string planetLetter(int index) {
    return std::string(1, static_cast<char>('a' + index));
}

std::string moonName(const std::string& planetName, int number) {
    return planetName + " " + moonNumeral(number);
}

void GeneratedSystem::clearPlanets() {
    planets.clear();
    planetcount = 0;
}
