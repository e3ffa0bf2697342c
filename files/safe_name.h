#pragma once
// Names from files and from users become folder and file names when we save. A name must never
// lead outside the folder it is meant for, so separators, control characters and the names
// "." and ".." are replaced before a name is used in a path.

#include <string>

// `name` made safe to use as one path component: "/", "\" and control characters become "_",
// an empty name or "." or ".." gets a leading "_", and the result is at most 200 bytes.
std::string safeFileName(const std::string& name);
