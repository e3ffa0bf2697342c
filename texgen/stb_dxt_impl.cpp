// The one translation unit holding the DXT block compressor.
#include <cstring>

#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>
