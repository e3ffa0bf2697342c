#pragma once
// How long a name may be where it becomes part of a file name. File systems allow 255 bytes
// for one path component, and the longest file name we make from names is a texture:
// system name + " " + body name + "_cloud.tex", at most 2 x 120 + 1 + 10 = 251 bytes.
// The texture plug-in shares this header, so both sides agree on what a usable name is.

#include <cstddef>

// The most bytes of one name (a system's, a star's, a body's) in a file name or a list.
constexpr std::size_t kLongestNameBytes = 120;

// The most bytes of a texture base name: a system name, a blank and a body name.
constexpr std::size_t kLongestTextureBaseBytes = 2 * kLongestNameBytes + 1;
