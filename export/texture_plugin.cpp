#include "export/texture_plugin.h"

#include <dlfcn.h>

TexturePlugin::~TexturePlugin() = default;  // a loaded plug-in stays for the whole run

bool TexturePlugin::load(const std::string& path, MessageSink& messages) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return true;

    auto entry = [handle](const char* name) { return dlsym(handle, name); };
    void* exportEntry = entry("export2orbiter");
    void* imageEntry = entry("get_tex_img");
    void* clearEntry = entry("clear_gen");
    void* initEntry = entry("just_initialize");
    void* optionEntry = entry("set_option");
    if (!exportEntry || !imageEntry || !clearEntry || !initEntry || !optionEntry) {
        messages.showMessage(kPluginMismatchTitle, kPluginMismatchText);
        dlclose(handle);
        return false;
    }
    handle_ = handle;
    export2orbiter_ = reinterpret_cast<Export2OrbiterEntry>(exportEntry);
    getTexImg_ = reinterpret_cast<GetTexImgEntry>(imageEntry);
    clearGen_ = reinterpret_cast<ClearGenEntry>(clearEntry);
    justInitialize_ = reinterpret_cast<JustInitializeEntry>(initEntry);
    setOption_ = reinterpret_cast<SetOptionEntry>(optionEntry);
    return true;
}

void TexturePlugin::setOption(int option, int value) const {
    if (setOption_) setOption_(option, value);
}

void TexturePlugin::justInitialize(TextureRequest& request) const {
    if (justInitialize_) justInitialize_(&request);
}

void TexturePlugin::clearGen(TextureRequest& request) const {
    if (clearGen_) clearGen_(&request);
}

namespace {

// The plug-in reports progress through a plain function without context, on the thread that
// called it; this is the report of the call under way on that thread.
thread_local const std::function<void(int, double)>* t_progress = nullptr;

void forwardProgress(int32_t level, double fraction) {
    if (t_progress != nullptr && *t_progress) (*t_progress)(level, fraction);
}

}  // namespace

void TexturePlugin::exportToOrbiter(TextureRequest& request, int level, int mode, const std::string& folder,
                                    const std::function<void(int, double)>& progress) const {
    if (!export2orbiter_) return;
    const std::function<void(int, double)>* outer = t_progress;
    t_progress = &progress;
    export2orbiter_(&request, level, mode, folder.c_str(), forwardProgress);
    t_progress = outer;
}
