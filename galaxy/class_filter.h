#pragma once
// Which stars the class filter shows. Class index: 0 all, 1..7 "O".."M", 8 white dwarfs,
// 9 neutron stars and black holes. Luminosity index: 0 all, 1 any of "I", "Ia", "Ib", "Ia0",
// 2..6 "II", "III", "IV", "V", "VI".

#include "galaxy/star_record.h"

bool passesClassFilter(const StellarData& star, int classIndex, int luminosityIndex);
