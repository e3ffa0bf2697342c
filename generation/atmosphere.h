#pragma once
// Which gases make up the atmosphere of a body with a surface, in what shares, and what the
// atmosphere weighs at the surface.

#include "generation/body_node.h"

// Fills the gas list of `body` from its pressure, temperatures and gas retention over the
// star's age, largest partial pressure first, then its gas constant and density.
void composeAtmosphere(const GeneratorStar& star, BodyNode& body);

// Sets `molconst` and `atmdensity` from the gas list.
void atmosphereDensity(BodyNode& body);

// Mean molar mass (kg/mol) of a gas list by its percentages; 0 for an empty list.
double meanMolarMass(const std::vector<AtmosphereGas>& gases);

// Density (kg/m³) at the surface of an atmosphere of that molar mass, pressure (millibars)
// and extreme temperatures: the ideal gas at their mean.
double surfaceAtmosphereDensity(double molarMass, double surfpressure, double maxtemp, double mintemp);
