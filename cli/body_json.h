#pragma once
// JSON form of a generated system for scripts and cross-checks: every body with all its
// fields, reals with full precision and non-finite reals as "inf", "-inf" or "nan".

#include <nlohmann/json.hpp>

#include "generation/generated_system.h"

nlohmann::ordered_json realToJson(double value);
nlohmann::ordered_json bodyToJson(const PlanetRecord& body);
nlohmann::ordered_json systemToJson(const GeneratedSystem& system);
