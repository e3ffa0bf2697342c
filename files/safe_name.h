#pragma once
// Names from files and from users become list entries, folder names and file names when we
// save. A name must stay on one line of a list, fit into a file name with its suffixes, and
// never lead outside the folder it is meant for.

#include <string>

#include "text/name_limit.h"

// `name` on one line and at most kLongestNameBytes long: line breaks, tabs and other control
// characters become blanks, and a longer name is cut, at a UTF-8 character boundary.
std::string oneLineName(const std::string& name);

// `name` made safe to use as one path component: oneLineName(), then "/" and "\" become "_",
// and an empty name or "." or ".." gets a leading "_".
std::string safeFileName(const std::string& name);
