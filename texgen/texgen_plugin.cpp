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

// Every option in one record, replaced whole, so an export reads a consistent set.
std::atomic<texgen::Options> g_options{texgen::Options{}};
constexpr int32_t kThreadsOption = 4;

}  // namespace

TEXGEN_EXPORT void set_option(int32_t option, int32_t value) {
    texgen::Options options = g_options.load();
    if (option == TEXTURE_OPTION_DETAIL)
        options.detailed = value != 0;
    else if (option == TEXTURE_OPTION_COMPRESSION)
        options.compressed = value != 0;
    else if (option == kThreadsOption)
        options.threads = value;
    g_options.store(options);
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
        texgen::export_textures(*request, level, mode, folder, progress, g_options.load());
    } catch (...) {
        // Out of memory or a file system error: the body is left without textures.
    }
}

TEXGEN_EXPORT void get_tex_img(void) {}
