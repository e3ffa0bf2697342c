// The plug-in's five entry points, exported with C linkage; everything else stays hidden.
//
// Options (set_option), as the configuration file labels them:
//   1  surface detail: 0 plain (fewer noise octaves, quicker), any other value detailed
//      (the default). It does not affect colours.
//   3  texture compression: 0 off, writing uncompressed A8R8G8B8 images; any other value on
//      (the default), writing DXT1 surfaces and DXT5 clouds, as Orbiter's own files are.
//   4  threads painting the images of an export: 0 (the default) one per core, at most 8;
//      more than 8 is 8. The files are the same for any number.
//   Other option numbers are ignored.
//
// The plug-in keeps no memory per request: every export builds what it needs and frees it
// before returning, so clear_gen has nothing to release.
#include <atomic>

#include "texgen/atmosphere_colour.h"
#include "texgen/texture_export.h"
#include "plugin/texture_request.h"

#define TEXGEN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::atomic<int32_t> g_detail{1};
std::atomic<int32_t> g_compression{1};
std::atomic<int32_t> g_threads{0};
constexpr int32_t kThreadsOption = 4;

texgen::Options current_options() {
    texgen::Options o;
    o.detailed = g_detail.load() != 0;
    o.compressed = g_compression.load() != 0;
    o.threads = g_threads.load();
    return o;
}

}  // namespace

TEXGEN_EXPORT void set_option(int32_t option, int32_t value) {
    if (option == TEXTURE_OPTION_DETAIL)
        g_detail = value;
    else if (option == TEXTURE_OPTION_COMPRESSION)
        g_compression = value;
    else if (option == kThreadsOption)
        g_threads = value;
}

TEXGEN_EXPORT void just_initialize(TextureRequest* request) {
    if (request == nullptr) return;
    request->colour = texgen::atmosphere_colour(request->atmosphereclass);
}

TEXGEN_EXPORT void clear_gen(TextureRequest* request) { (void)request; }

TEXGEN_EXPORT void export2orbiter(TextureRequest* request, int32_t level, int32_t mode,
                                  const char* folder, TextureProgress progress) {
    if (request == nullptr || request->basename == nullptr) return;
    try {
        texgen::export_textures(*request, level, mode, folder, progress, current_options());
    } catch (...) {
        // Out of memory or a file system error: the body is left without textures.
    }
}

TEXGEN_EXPORT void get_tex_img(void) {}
