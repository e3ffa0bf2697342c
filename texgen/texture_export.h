// Writing the texture files of one body: <base>.tex, <base>_cloud.tex and <base>M.bmp.
#ifndef STARVANE_TEXGEN_TEXTURE_EXPORT_H
#define STARVANE_TEXGEN_TEXTURE_EXPORT_H

#include <cstdint>
#include <string>

#include "texgen/planet_painter.h"
#include "plugin/texture_request.h"

namespace texgen {

// Plug-in options, set through set_option.
struct Options {
    bool detailed = true;    // option 1: full noise detail; plain surfaces use fewer octaves
    bool compressed = true;  // option 3: DXT1 surfaces and DXT5 clouds; off writes A8R8G8B8
    int threads = 0;         // option 4: threads painting the images; 0 or less: one per core
};

// The most threads an export paints on.
constexpr int kMostThreads = 8;

// A usable base name: not empty, at most kLongestTextureBaseBytes long (so that every file
// name made from it fits), no path separators, not "." or "..", no control characters.
bool valid_base_name(const char* name);

// The request's fields made finite and brought into range, with the seeds derived from the
// base name and the body's fields.
BodyParams body_params(const TextureRequest& request, const Options& options);

// The folder textures go to: <folder>/Textures, created when missing. The folder text may use
// "\" as separator. Returns an empty string when the folder does not exist or Textures cannot
// be made.
std::string texture_folder(const char* folder);

// Writes the files; returns false when something could not be written.
bool export_textures(const TextureRequest& request, int level, int mode, const char* folder,
                     TextureProgress progress, const Options& options);

}  // namespace texgen

#endif
