#pragma once
// JSON and text forms of stellar records for the command line.

#include <iosfwd>

#include <nlohmann/json.hpp>

#include "galaxy/star_record.h"
#include "galaxy/stellar_tables.h"

nlohmann::ordered_json stellarDataToJson(const StellarData& data);
nlohmann::ordered_json classRecordToJson(const StellarClassRecord& record);
void printStellarData(std::ostream& out, const StellarData& data);
