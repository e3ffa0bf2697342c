#include "platform/install_layout.h"

namespace fs = std::filesystem;

InstallLayout layoutAround(const fs::path& programFolder) {
    InstallLayout layout;
    if (programFolder.empty()) return layout;
    const fs::path prefix = programFolder.parent_path();
    std::error_code error;
    const fs::path data = prefix / "share" / "starvane";
    if (fs::is_directory(data / "Starvane", error)) layout.data = data;
    const fs::path plugin = prefix / "lib" / "starvane" / "texgen.so";
    if (fs::is_regular_file(plugin, error)) layout.plugin = plugin;
    return layout;
}

InstallLayout installedLayout() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? InstallLayout{} : layoutAround(program.parent_path());
}
