#pragma once
// Paths inside the simulator's folders. The simulator's own file system ignores case, so
// "Config" and "config", "Textures" and "textures" are one folder, and its paths may use
// backslashes. Here each component is matched case-insensitively against what exists.

#include <filesystem>
#include <optional>
#include <string>

// Splits a relative path written with "/" or "\" into components, dropping "" and ".".
// Returns nothing when the path is absolute or climbs with "..".
std::optional<std::filesystem::path> containedPath(const std::string& relative);

// `relative` below `base`, each component matched case-insensitively against the entries that
// exist (a component with no match is kept as written). Nothing when the path would leave
// `base`.
std::optional<std::filesystem::path> resolveInside(const std::filesystem::path& base,
                                                   const std::string& relative);

// `path` with the links of every folder on its way resolved. Its last component is kept as it
// is, so that a link there is removed as a link, never followed. Nothing when the way cannot
// be resolved.
std::optional<std::filesystem::path> realLocation(const std::filesystem::path& path);

// True when `inner` is `outer` or lies below it, compared component by component (both paths
// already resolved).
bool liesWithin(const std::filesystem::path& inner, const std::filesystem::path& outer);

// Where the scenario of the system exported under the file name `safeName` lies, relative to
// the simulator's root (or to a folder export's own folder, which copies that layout). The
// launchpad shows it as "Starvane/<safeName>"; its folder names hold no '.', which the
// launchpad would cut off.
std::string scenarioPath(const std::string& safeName);
