// Texture export of one body through the plug-in, loaded as the program loads it: an
// Earth-like body with clouds at level 5 (13 images in each .tex file and the map), on one
// thread (the work itself) and on as many as the machine has (what the user waits for).

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "plugin/texture_request.h"

namespace {

struct TexturePlugin {
    void* handle = dlopen(STARVANE_TEXGEN_PATH, RTLD_NOW | RTLD_LOCAL);
    SetOptionEntry set_option = reinterpret_cast<SetOptionEntry>(entry("set_option"));
    Export2OrbiterEntry export2orbiter = reinterpret_cast<Export2OrbiterEntry>(entry("export2orbiter"));
    void* entry(const char* name) const { return handle == nullptr ? nullptr : dlsym(handle, name); }
};

constexpr int kThreadsOption = 4;  // the plug-in's option for its number of threads
constexpr int kLevel = 5;

void BM_TextureExport(benchmark::State& state) {
    static const TexturePlugin plugin;
    if (plugin.set_option == nullptr || plugin.export2orbiter == nullptr) {
        state.SkipWithError("texture plug-in not loaded");
        return;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "starvane-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    plugin.set_option(TEXTURE_OPTION_DETAIL, 1);
    plugin.set_option(TEXTURE_OPTION_COMPRESSION, 1);
    plugin.set_option(kThreadsOption, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        TextureRequest request{"Bench", 6371000, 10, 3, 2, 15, 0.6, 0.49, 0.05, 0.0, 1.013, 0};
        plugin.export2orbiter(&request, kLevel, TEXTURE_MODE_BODY, pattern.c_str(), nullptr);
    }
    plugin.set_option(kThreadsOption, 0);
    std::filesystem::remove_all(pattern);
    state.SetLabel(state.range(0) == 0 ? "all cores" : "one thread");
}

}  // namespace

// Argument: the number of threads, 0 for one per core.
BENCHMARK(BM_TextureExport)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Repetitions(3)->ReportAggregatesOnly(true);
