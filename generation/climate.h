#pragma once
// The climate model of a body with a surface: water, clouds, ice and albedo feed back on the
// surface temperature until it settles.

#include "generation/body_node.h"
#include "generation/power_memo.h"

// The powers the model's steps ask for again while the pressure and the day stay put.
struct ClimateMemos {
    PowerMemo opacity;
    PowerMemo pressure;
    PowerMemo day;
};

// One step of the model. The first step starts from an Earth-like albedo; later steps blend
// their results with the last values, two parts old to one part new. A step sets only the
// temperatures the next step reads; iterateClimate() sets the whole range when it settles.
void climateStep(BodyNode& body, bool first, double lastWater, double lastClouds, double lastIce,
                 double lastTemp, double lastAlbedo, ClimateMemos& memos);

// Runs the model until the mean surface temperature changes by less than 0.25 K in a step
// (27 steps at most) and records the greenhouse rise.
void iterateClimate(BodyNode& body);
