/*
 * The record the program hands to the texture plug-in, and the plug-in's entry points.
 * Shared by the program (export/) and our plug-in (texgen/); plain C so that any plug-in
 * can be built against it.
 *
 * Layout on x86-64 Linux (native alignment, sizeof 80):
 *   offset  0  const char* basename     base name of the texture files
 *   offset  8  int32  radius            body radius in metres, truncated
 *   offset 12  int32  style             surface style
 *   offset 16  int32  cloudclass        cloud class
 *   offset 20  int32  atmosphereclass   atmosphere class 1 to 21
 *   offset 24  int32  temperature       mean surface temperature in degrees Celsius, truncated
 *   offset 28  (4 bytes of padding)
 *   offset 32  double cloudcover        cloud cover fraction
 *   offset 40  double watercover        water cover fraction times 0.7
 *   offset 48  double icecover          ice cover fraction
 *   offset 56  double reserved          not set by the program
 *   offset 64  double pressure          surface pressure in bar
 *   offset 72  uint32 colour            written by just_initialize: red in the lowest byte,
 *                                       then green, then blue
 *   offset 76  (4 bytes of padding)
 */
#ifndef STARVANE_TEXTURE_REQUEST_H
#define STARVANE_TEXTURE_REQUEST_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TextureRequest {
    const char* basename;
    int32_t radius;
    int32_t style;
    int32_t cloudclass;
    int32_t atmosphereclass;
    int32_t temperature;
    double cloudcover;
    double watercover;
    double icecover;
    double reserved;
    double pressure;
    uint32_t colour;
} TextureRequest;

/* Called by the plug-in while it works: the texture level and the fraction done, 0 to 1. */
typedef void (*TextureProgress)(int32_t level, double fraction);

/* The five entry points, looked up by these names. */
typedef void (*SetOptionEntry)(int32_t option, int32_t value);
typedef void (*JustInitializeEntry)(TextureRequest* request);
typedef void (*ClearGenEntry)(TextureRequest* request);
typedef void (*Export2OrbiterEntry)(TextureRequest* request, int32_t level, int32_t mode,
                                    const char* folder, TextureProgress progress);
typedef void (*GetTexImgEntry)(void);

/* Options of set_option: surface detail (0 plain, otherwise detailed) and texture compression
   (0 off, otherwise DXT). */
#define TEXTURE_OPTION_DETAIL 1
#define TEXTURE_OPTION_COMPRESSION 3

/* Modes of export2orbiter. */
#define TEXTURE_MODE_ASTEROID 1
#define TEXTURE_MODE_BODY 4

#ifdef __cplusplus
}
#endif

#endif
