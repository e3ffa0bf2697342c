#pragma once
// The texture plug-in: a shared library with five entry points that makes the surface,
// cloud and atmosphere textures of exported bodies. Loaded once at start-up; without it the
// program runs and exports without textures.

#include <functional>
#include <string>

#include "platform/message_sink.h"
#include "plugin/texture_request.h"

class TexturePlugin {
public:
    TexturePlugin() = default;
    ~TexturePlugin();
    TexturePlugin(const TexturePlugin&) = delete;
    TexturePlugin& operator=(const TexturePlugin&) = delete;

    // Loads the library at `path`. A missing library is no failure (the program goes on
    // without textures); a library that lacks an entry point is reported through `messages`
    // and left unused. Returns false only in that second case.
    bool load(const std::string& path, MessageSink& messages);

    // Whether the plug-in is there to be called.
    bool loaded() const { return handle_ != nullptr; }

    void setOption(int option, int value) const;
    void justInitialize(TextureRequest& request) const;
    void clearGen(TextureRequest& request) const;
    // Reports the progress of the body through `progress` (level, fraction of the body).
    void exportToOrbiter(TextureRequest& request, int level, int mode, const std::string& folder,
                         const std::function<void(int, double)>& progress) const;

private:
    void* handle_ = nullptr;
    SetOptionEntry setOption_ = nullptr;
    JustInitializeEntry justInitialize_ = nullptr;
    ClearGenEntry clearGen_ = nullptr;
    Export2OrbiterEntry export2orbiter_ = nullptr;
    GetTexImgEntry getTexImg_ = nullptr;
};

// The text of the message shown when the plug-in lacks an entry point.
constexpr const char* kPluginMismatchTitle = "Error!";
constexpr const char* kPluginMismatchText = "Interface error. Check installation for version mix-up.";
