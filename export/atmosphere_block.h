#pragma once
// The atmosphere and cloud lines of a body's configuration file. The sky colour comes from
// the texture plug-in when it is loaded (and is stored in the body's `colour`); the cloud
// height is drawn at random.

#include "export/config_file.h"
#include "export/texture_plugin.h"
#include "generation/generated_system.h"
#include "generation/lcg_random.h"

// Writes the atmosphere and cloud parameters of `body`; draws one cloud height from `random`.
void writeAtmosphere(ConfigFile& file, PlanetRecord& body, const TexturePlugin* plugin, LcgRandom& random);

// The tag text of the requests that ask the plug-in for an atmosphere colour.
constexpr const char* kColourRequestTag = "skycolour";
