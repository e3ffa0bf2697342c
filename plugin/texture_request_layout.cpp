// Fails to compile when the request's layout differs from the one documented in its header,
// which plug-ins built elsewhere rely on.
#include <cstddef>

#include "plugin/texture_request.h"

#if defined(__x86_64__)
static_assert(offsetof(TextureRequest, basename) == 0);
static_assert(offsetof(TextureRequest, radius) == 8);
static_assert(offsetof(TextureRequest, style) == 12);
static_assert(offsetof(TextureRequest, cloudclass) == 16);
static_assert(offsetof(TextureRequest, atmosphereclass) == 20);
static_assert(offsetof(TextureRequest, temperature) == 24);
static_assert(offsetof(TextureRequest, cloudcover) == 32);
static_assert(offsetof(TextureRequest, watercover) == 40);
static_assert(offsetof(TextureRequest, icecover) == 48);
static_assert(offsetof(TextureRequest, reserved) == 56);
static_assert(offsetof(TextureRequest, pressure) == 64);
static_assert(offsetof(TextureRequest, colour) == 72);
static_assert(sizeof(TextureRequest) == 80);
#endif
