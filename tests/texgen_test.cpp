// The texture plug-in, loaded the way the program loads it: dlopen and the five entry points.
// The bytes of detailed, compressed files of levels 3 to 6 are pinned by the golden exports.
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/texture_request.h"
#include "tests/test_files.h"
#include "text/name_limit.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kDxt1 = 0x31545844u, kDxt5 = 0x35545844u;

struct Plugin {
    void* handle = dlopen(STARVANE_TEXGEN_PATH, RTLD_NOW | RTLD_LOCAL);
    SetOptionEntry set_option = reinterpret_cast<SetOptionEntry>(entry("set_option"));
    JustInitializeEntry just_initialize = reinterpret_cast<JustInitializeEntry>(entry("just_initialize"));
    ClearGenEntry clear_gen = reinterpret_cast<ClearGenEntry>(entry("clear_gen"));
    Export2OrbiterEntry export2orbiter = reinterpret_cast<Export2OrbiterEntry>(entry("export2orbiter"));
    GetTexImgEntry get_tex_img = reinterpret_cast<GetTexImgEntry>(entry("get_tex_img"));
    void* entry(const char* name) const { return handle == nullptr ? nullptr : dlsym(handle, name); }
};

// Loaded once and never unloaded, as the program does.
const Plugin& plugin() {
    static const Plugin loaded;
    return loaded;
}

uint32_t u32(const std::string& d, size_t off) {
    uint32_t v;
    std::memcpy(&v, d.data() + off, 4);
    return v;
}

struct DdsImage {
    uint32_t flags, size, pitch_or_size, pf_flags, fourcc, bits;
    size_t pixels;  // offset of the pixel data in the file
};

// Walks a .tex file image by image; fails the test on a malformed image.
std::vector<DdsImage> walk_tex(const std::string& d) {
    std::vector<DdsImage> images;
    for (size_t off = 0; off < d.size();) {
        if (d.size() - off < 128 || d.compare(off, 4, "DDS ") != 0 || u32(d, off + 4) != 124 || u32(d, off + 76) != 32) {
            ADD_FAILURE() << "bad header at " << off;
            break;
        }
        const DdsImage im{u32(d, off + 8), u32(d, off + 16), u32(d, off + 20), u32(d, off + 80), u32(d, off + 84), u32(d, off + 88), off + 128};
        EXPECT_EQ(u32(d, off + 12), im.size) << "not square at " << off;
        const size_t bytes = size_t{im.size} * im.size * (im.pf_flags != 4 ? 8 : im.fourcc == kDxt1 ? 1 : 2) / 2;
        if (bytes == 0 || d.size() - im.pixels < bytes) {
            ADD_FAILURE() << "image data runs past the end at " << off;
            break;
        }
        images.push_back(im);
        off = im.pixels + bytes;
    }
    return images;
}

size_t filesIn(const fs::path& folder) { return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator{})); }

TextureRequest earth_like(const char* name) { return {name, 6371000, 10, 3, 2, 15, 0.6, 0.7 * 0.7, 0.05, 0.0, 1.013, 0}; }

std::vector<std::pair<int32_t, double>> g_progress;
void record_progress(int32_t level, double fraction) { g_progress.emplace_back(level, fraction); }

class TexgenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(plugin().handle, nullptr) << dlerror();
        ASSERT_TRUE(plugin().set_option && plugin().just_initialize && plugin().clear_gen && plugin().export2orbiter && plugin().get_tex_img);
        plugin().set_option(1, 1);  // detailed surfaces
        plugin().set_option(3, 1);  // compressed, as the shipped configuration has it
        plugin().set_option(4, 0);  // threads: one per core
        ASSERT_FALSE(tmp_.path().empty());
    }
    void TearDown() override { SetUp(); }
    void run(TextureRequest r, int level, int mode = TEXTURE_MODE_BODY, const fs::path& folder = {},
             TextureProgress progress = nullptr) {
        plugin().export2orbiter(&r, level, mode, (folder.empty() ? tmp_.path() : folder).string().c_str(), progress);
        plugin().clear_gen(&r);
    }
    std::string texture(const std::string& name) { return readAll(tmp_.path() / "Textures" / name); }
    TemporaryFolder tmp_;
};

// Classes 2 to 21 have stable colours, airless class 1 and classes out of range none; only the
// colour word is written. (The golden exports pin the colours themselves.)
TEST_F(TexgenTest, AtmosphereColoursPerClass) {
    plugin().get_tex_img();  // present and harmless
    for (int cls = -3; cls <= 23; ++cls) {
        TextureRequest r{"sky", 1000, 0, 0, cls, 0, 0.0, 0.0, 0.0, 0.0, 0.0, 0xDEADBEEF};
        plugin().just_initialize(&r);
        const uint32_t first = r.colour;
        plugin().just_initialize(&r);
        EXPECT_EQ(r.colour, first) << "class " << cls << " is not stable";
        EXPECT_TRUE(std::strcmp(r.basename, "sky") == 0 && r.radius == 1000 && r.atmosphereclass == cls);
        EXPECT_EQ(r.colour >> 24, 0u) << "bits above blue are set for class " << cls;
        EXPECT_EQ(r.colour == 0u, cls < 2 || cls > 21) << "class " << cls;
    }
}

// A level-L file holds the images of levels 1 to L: one globe each of 64, 128 and 256 pixels,
// then 256-pixel patches, 5 in all at level 4; levels below 1 are 1. Surfaces are DXT1, clouds
// DXT5; the map is beside them. Progress runs from 0 to 1 without going back, at least once per
// image, for the level written. (The golden exports pin the bands of patches of higher levels.)
TEST_F(TexgenTest, FilesFollowTheLegacyLayoutWithProgress) {
    const int imagesUpTo[] = {0, 1, 2, 3, 5};
    const std::pair<int, std::string> rows[] = {
        {0, std::string(kLongestTextureBaseBytes, 'x')}, {1, "Level 1"}, {2, "Level 2"}, {3, "Level 3"}, {4, "Level 4"}};
    for (const auto& [level, name] : rows) {
        SCOPED_TRACE("level " + std::to_string(level));
        const int written = std::max(level, 1);
        g_progress.clear();
        run(earth_like(name.c_str()), level, TEXTURE_MODE_BODY, {}, record_progress);
        for (const auto& [file, fourcc] : {std::pair{name + ".tex", kDxt1}, std::pair{name + "_cloud.tex", kDxt5}}) {
            const std::vector<DdsImage> images = walk_tex(texture(file));
            ASSERT_EQ(images.size(), static_cast<size_t>(imagesUpTo[written])) << file;
            for (size_t i = 0; i < images.size(); ++i) {
                const uint32_t size = i < 3 ? 64u << i : 256u;
                EXPECT_EQ(images[i].size, size) << file << " image " << i;
                EXPECT_EQ(images[i].fourcc, fourcc) << file;
                EXPECT_EQ(images[i].pitch_or_size, size * size / (fourcc == kDxt1 ? 2 : 1));
            }
        }
        EXPECT_TRUE(fs::is_regular_file(tmp_.path() / "Textures" / (name + "M.bmp")));
        ASSERT_GE(g_progress.size(), static_cast<size_t>(imagesUpTo[written]) + 2);
        EXPECT_EQ(g_progress.front().second, 0.0);
        EXPECT_EQ(g_progress.back().second, 1.0);
        for (size_t i = 0; i < g_progress.size(); ++i) {
            EXPECT_EQ(g_progress[i].first, written);
            if (i > 0) EXPECT_GE(g_progress[i].second, g_progress[i - 1].second) << "report " << i;
        }
    }
    EXPECT_EQ(filesIn(tmp_.path() / "Textures"), 3 * std::size(rows));
    EXPECT_NE(texture("Level 1.tex"), texture(rows[0].second + ".tex"));  // names vary the look
}

TEST_F(TexgenTest, CloudFileOnlyForCloudyBodiesWithAtmosphere) {
    TextureRequest asteroid = earth_like("Rock#1"), airless = earth_like("Airless"), clear = earth_like("Clear");
    asteroid.style = 2;
    asteroid.atmosphereclass = airless.atmosphereclass = 1;
    asteroid.cloudcover = clear.cloudcover = 0.0;
    run(asteroid, 1, TEXTURE_MODE_ASTEROID);
    run(airless, 1);
    run(clear, 1);
    run(earth_like("Odd#2"), 1, TEXTURE_MODE_ASTEROID);  // asteroids never have clouds
    // A folder given with backslashes is the same folder.
    fs::create_directories(tmp_.path() / "Saved" / "Sys");
    run(earth_like("Slashed"), 1, TEXTURE_MODE_BODY, tmp_.path().string() + "\\Saved\\Sys");
    EXPECT_TRUE(fs::exists(tmp_.path() / "Saved" / "Sys" / "Textures" / "Slashed.tex"));
    for (const std::string n : {"Rock#1", "Airless", "Clear", "Odd#2"}) {
        EXPECT_TRUE(fs::exists(tmp_.path() / "Textures" / (n + ".tex"))) << n;
        EXPECT_TRUE(fs::exists(tmp_.path() / "Textures" / (n + "M.bmp"))) << n;
        EXPECT_FALSE(fs::exists(tmp_.path() / "Textures" / (n + "_cloud.tex"))) << n;
    }
}

TEST_F(TexgenTest, BadRequestsWriteNothingAndDoNotCrash) {
    const fs::path inner = tmp_.path() / "export";
    fs::create_directory(inner);
    const std::string tooLong(kLongestTextureBaseBytes + 1, 'x');
    const char* const bad[] = {"../escape", "..", ".", "", "a/b", "a\\b", "..\\escape", "/abs", tooLong.c_str(), nullptr};
    for (const char* name : bad) run(earth_like(name), 1, TEXTURE_MODE_BODY, inner, record_progress);
    plugin().export2orbiter(nullptr, 3, 4, tmp_.path().string().c_str(), record_progress);
    plugin().just_initialize(nullptr);
    plugin().clear_gen(nullptr);
    EXPECT_EQ(filesIn(tmp_.path()), 1u);  // the empty export folder
    EXPECT_EQ(filesIn(inner), 0u);
    plugin().set_option(77, 5);  // unknown option: ignored

    // Non-finite and out-of-range fields still give well-formed files.
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    run({"Odd", -5, 777, 99, -4, -100000, nan, inf, -inf, 0.0, nan, 0}, 2);
    EXPECT_EQ(walk_tex(texture("Odd.tex")).size(), 2u);
}

// Images are painted on several threads but written in file order: one thread and three give
// the same bytes, for the surface, the clouds and the map.
TEST_F(TexgenTest, SameFilesForAnyNumberOfThreads) {
    std::string files[2][3];
    for (const int threads : {1, 3}) {
        plugin().set_option(4, threads);
        TemporaryFolder folder;
        run(earth_like("Threads"), 4, TEXTURE_MODE_BODY, folder.path());
        int f = 0;
        for (const char* name : {"Threads.tex", "Threads_cloud.tex", "ThreadsM.bmp"})
            files[threads == 3][f++] = readAll(folder.path() / "Textures" / name);
    }
    for (int f = 0; f < 3; ++f) {
        EXPECT_FALSE(files[0][f].empty()) << f;
        EXPECT_TRUE(files[0][f] == files[1][f]) << f;
    }
}

// Uncompressed output lets the test look at pixels: A8R8G8B8 images with a pitch. Plain
// surfaces leave out the finest detail: the rows of a patch of the finest level are smoother.
TEST_F(TexgenTest, UncompressedImagesAndPlainSurfaces) {
    plugin().set_option(3, 0);
    const auto roughness = [](const std::string& d) {
        const auto images = walk_tex(d);
        if (images.size() != 5u) return 0.0;
        const auto at = [&](uint32_t x, uint32_t y) {
            const size_t o = images[3].pixels + (size_t{y} * 256 + x) * 4;
            return static_cast<uint8_t>(d[o]) + static_cast<uint8_t>(d[o + 1]) + static_cast<uint8_t>(d[o + 2]);
        };
        double sum = 0.0;
        for (uint32_t y = 0; y < 256; ++y)
            for (uint32_t x = 0; x < 254; ++x) sum += std::abs(2 * at(x + 1, y) - at(x, y) - at(x + 2, y));
        return sum / (256.0 * 254.0);
    };
    run(earth_like("Rocky"), 4);
    for (const std::string f : {"Rocky.tex", "Rocky_cloud.tex"})
        for (const DdsImage& im : walk_tex(texture(f))) {
            EXPECT_EQ(im.flags, 0x100Fu) << f;
            EXPECT_EQ(im.pitch_or_size, im.size * 4) << f;
            EXPECT_EQ(im.pf_flags, 0x41u) << f;
            EXPECT_EQ(im.bits, 32u) << f;
        }
    TemporaryFolder plainFolder;
    plugin().set_option(1, 0);
    run(earth_like("Rocky"), 4, TEXTURE_MODE_BODY, plainFolder.path());
    const double detailed = roughness(texture("Rocky.tex")), plain = roughness(readAll(plainFolder.path() / "Textures" / "Rocky.tex"));
    EXPECT_GT(detailed, 0.0);
    EXPECT_LT(plain, 0.8 * detailed) << detailed;
}

}  // namespace
