// The texture plug-in, loaded the way the program loads it: dlopen and the five entry points.
#include <dlfcn.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/name_limit.h"
#include "plugin/texture_request.h"
#include "tests/test_files.h"

#ifndef STARVANE_TEXGEN_PATH
#error "STARVANE_TEXGEN_PATH must name the built texgen.so"
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kPatchIndex[9] = {0, 1, 2, 3, 5, 13, 37, 137, 501};

struct Plugin {
    void* handle = nullptr;
    SetOptionEntry set_option = nullptr;
    JustInitializeEntry just_initialize = nullptr;
    ClearGenEntry clear_gen = nullptr;
    Export2OrbiterEntry export2orbiter = nullptr;
    GetTexImgEntry get_tex_img = nullptr;
};

// Loaded once and never unloaded, as the program does.
const Plugin& plugin() {
    static const Plugin p = [] {
        Plugin q;
        q.handle = dlopen(STARVANE_TEXGEN_PATH, RTLD_NOW | RTLD_LOCAL);
        if (q.handle == nullptr) return q;
        q.set_option = reinterpret_cast<SetOptionEntry>(dlsym(q.handle, "set_option"));
        q.just_initialize = reinterpret_cast<JustInitializeEntry>(dlsym(q.handle, "just_initialize"));
        q.clear_gen = reinterpret_cast<ClearGenEntry>(dlsym(q.handle, "clear_gen"));
        q.export2orbiter = reinterpret_cast<Export2OrbiterEntry>(dlsym(q.handle, "export2orbiter"));
        q.get_tex_img = reinterpret_cast<GetTexImgEntry>(dlsym(q.handle, "get_tex_img"));
        return q;
    }();
    return p;
}

uint32_t u32(const std::vector<uint8_t>& d, size_t off) {
    return static_cast<uint32_t>(d[off]) | static_cast<uint32_t>(d[off + 1]) << 8 |
           static_cast<uint32_t>(d[off + 2]) << 16 | static_cast<uint32_t>(d[off + 3]) << 24;
}

std::vector<uint8_t> read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct DdsImage {
    uint32_t flags = 0, width = 0, height = 0, pitch_or_size = 0, mipmaps = 0, caps = 0;
    uint32_t pf_flags = 0, fourcc = 0, bits = 0;
    size_t pixels = 0;  // offset of the pixel data in the file
};

// Walks a .tex file image by image; fails the test on a malformed image.
std::vector<DdsImage> walk_tex(const std::vector<uint8_t>& d) {
    std::vector<DdsImage> images;
    size_t off = 0;
    while (off < d.size()) {
        EXPECT_GE(d.size() - off, 128u) << "truncated header at " << off;
        if (d.size() - off < 128) break;
        EXPECT_EQ(std::memcmp(&d[off], "DDS ", 4), 0) << "no DDS magic at " << off;
        DdsImage im;
        EXPECT_EQ(u32(d, off + 4), 124u);
        im.flags = u32(d, off + 8);
        im.height = u32(d, off + 12);
        im.width = u32(d, off + 16);
        im.pitch_or_size = u32(d, off + 20);
        im.mipmaps = u32(d, off + 28);
        EXPECT_EQ(u32(d, off + 76), 32u);  // pixel format size
        im.pf_flags = u32(d, off + 80);
        im.fourcc = u32(d, off + 84);
        im.bits = u32(d, off + 88);
        im.caps = u32(d, off + 108);
        im.pixels = off + 128;
        size_t bytes;
        if (im.pf_flags == 4) {
            const bool dxt1 = im.fourcc == 0x31545844u;
            bytes = static_cast<size_t>(im.width) * im.height / (dxt1 ? 2 : 1);
        } else {
            bytes = static_cast<size_t>(im.width) * im.height * 4;
        }
        if (bytes == 0 || d.size() - im.pixels < bytes) {
            ADD_FAILURE() << "image data runs past the end at " << off;
            break;
        }
        images.push_back(im);
        off = im.pixels + bytes;
    }
    return images;
}

// Image sizes a level-L file must have, in order.
std::vector<uint32_t> expected_sizes(int level) {
    std::vector<uint32_t> s;
    for (int i = 0; i < kPatchIndex[level]; ++i) s.push_back(i < 3 ? (64u << i) : 256u);
    return s;
}

using TempFolder = TemporaryFolder;

// Every regular file below `folder`.
std::vector<fs::path> filesBelow(const fs::path& folder) {
    std::vector<fs::path> out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) out.push_back(e.path());
    return out;
}

TextureRequest earth_like(const char* name) {
    TextureRequest r{};
    r.basename = name;
    r.radius = 6371000;
    r.style = 10;
    r.cloudclass = 3;
    r.atmosphereclass = 2;
    r.temperature = 15;
    r.cloudcover = 0.6;
    r.watercover = 0.7 * 0.7;
    r.icecover = 0.05;
    r.pressure = 1.013;
    return r;
}

std::vector<double> g_fractions;
std::vector<int32_t> g_levels;
void record_progress(int32_t level, double fraction) {
    g_levels.push_back(level);
    g_fractions.push_back(fraction);
}

class TexgenTest : public ::testing::Test {
protected:
    void SetUp() override {
        const Plugin& p = plugin();
        ASSERT_NE(p.handle, nullptr) << dlerror();
        ASSERT_NE(p.export2orbiter, nullptr);
        ASSERT_NE(p.set_option, nullptr);
        ASSERT_NE(p.just_initialize, nullptr);
        ASSERT_NE(p.clear_gen, nullptr);
        ASSERT_NE(p.get_tex_img, nullptr);
        p.set_option(1, 1);  // detailed surfaces
        p.set_option(3, 1);  // compressed, as the shipped configuration has it
        ASSERT_FALSE(tmp_.path().empty());
    }
    void TearDown() override {
        if (plugin().set_option) {
            plugin().set_option(1, 1);
            plugin().set_option(3, 1);
        }
    }
    void run(TextureRequest r, int level, int mode, const fs::path& folder) {
        plugin().export2orbiter(&r, level, mode, folder.string().c_str(), nullptr);
        plugin().clear_gen(&r);
    }
    TempFolder tmp_;
};

TEST_F(TexgenTest, AtmosphereColoursPerClass) {
    plugin().get_tex_img();  // present and harmless
    // Classes 1 to 21 have stable colours (none for airless class 1); only the colour word is
    // written; out-of-range classes get no colour rather than garbage.
    std::vector<uint32_t> colours;
    for (int cls : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 0, -3, 22, 1000}) {
        TextureRequest r{};
        r.basename = "sky";
        r.radius = 1000;
        r.atmosphereclass = cls;
        r.colour = 0xDEADBEEF;
        plugin().just_initialize(&r);
        const uint32_t first = r.colour;
        plugin().just_initialize(&r);
        EXPECT_EQ(r.colour, first) << "class " << cls << " is not stable";
        EXPECT_STREQ(r.basename, "sky");
        EXPECT_EQ(r.radius, 1000);
        EXPECT_EQ(r.colour >> 24, 0u) << "bits above blue are set for class " << cls;
        EXPECT_EQ(r.colour == 0u, cls < 2 || cls > 21) << "class " << cls;
        colours.push_back(r.colour);
        plugin().clear_gen(&r);
    }
    // Nitrogen-oxygen skies are blue (red in the lowest byte); chlorine skies (18) yellow-orange.
    EXPECT_GT((colours[1] >> 16) & 0xFF, colours[1] & 0xFF);
    EXPECT_GT(colours[17] & 0xFF, (colours[17] >> 16) & 0xFF);
}

TEST_F(TexgenTest, BodyExportWritesSurfaceCloudAndMapIntoTextures) {
    // The longest base name the program passes: a system name, a blank and a body name.
    for (const std::string& name : {std::string("Sol Terra Nova"), std::string(kLongestTextureBaseBytes, 'x')}) {
        run(earth_like(name.c_str()), 3, TEXTURE_MODE_BODY, tmp_.path());
        const fs::path dir = tmp_.path() / "Textures";
        EXPECT_TRUE(fs::is_regular_file(dir / (name + ".tex")));
        EXPECT_TRUE(fs::is_regular_file(dir / (name + "_cloud.tex")));
        EXPECT_TRUE(fs::is_regular_file(dir / (name + "M.bmp")));
    }
    EXPECT_EQ(filesBelow(tmp_.path()).size(), 6u);
}

TEST_F(TexgenTest, CloudFileOnlyForCloudyBodiesWithAtmosphere) {
    TextureRequest asteroid = earth_like("Rock#1");
    asteroid.style = 2;
    asteroid.atmosphereclass = 1;
    asteroid.cloudcover = 0.0;
    run(asteroid, 2, TEXTURE_MODE_ASTEROID, tmp_.path());
    TextureRequest airless = earth_like("Airless");
    airless.atmosphereclass = 1;
    run(airless, 2, TEXTURE_MODE_BODY, tmp_.path());
    TextureRequest clear = earth_like("Clear");
    clear.cloudcover = 0.0;
    run(clear, 2, TEXTURE_MODE_BODY, tmp_.path());
    // Mode 1 never writes clouds, even when the request has cloud cover.
    TextureRequest cloudy_asteroid = earth_like("Odd#2");
    run(cloudy_asteroid, 2, TEXTURE_MODE_ASTEROID, tmp_.path());
    const fs::path dir = tmp_.path() / "Textures";
    for (const char* n : {"Rock#1", "Airless", "Clear", "Odd#2"}) {
        EXPECT_TRUE(fs::exists(dir / (std::string(n) + ".tex"))) << n;
        EXPECT_TRUE(fs::exists(dir / (std::string(n) + "M.bmp"))) << n;
        EXPECT_FALSE(fs::exists(dir / (std::string(n) + "_cloud.tex"))) << n;
    }
}

TEST_F(TexgenTest, TexFilesFollowTheLegacyLayoutForLevelsOneToSix) {
    for (int level = 1; level <= 6; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        const std::string name = "Layout " + std::to_string(level);
        run(earth_like(name.c_str()), level, TEXTURE_MODE_BODY, tmp_.path());
        const fs::path dir = tmp_.path() / "Textures";
        const std::vector<uint32_t> sizes = expected_sizes(level);

        const std::vector<uint8_t> surface = read_file(dir / (name + ".tex"));
        const std::vector<DdsImage> s = walk_tex(surface);
        ASSERT_EQ(s.size(), static_cast<size_t>(kPatchIndex[level]));
        for (size_t i = 0; i < s.size(); ++i) {
            EXPECT_EQ(s[i].width, sizes[i]) << "image " << i;
            EXPECT_EQ(s[i].height, sizes[i]) << "image " << i;
            EXPECT_EQ(s[i].fourcc, 0x31545844u) << "surface is not DXT1";  // 'DXT1'
            EXPECT_EQ(s[i].pitch_or_size, sizes[i] * sizes[i] / 2);
        }

        const std::vector<uint8_t> cloud = read_file(dir / (name + "_cloud.tex"));
        const std::vector<DdsImage> c = walk_tex(cloud);
        ASSERT_EQ(c.size(), static_cast<size_t>(kPatchIndex[level]));
        for (size_t i = 0; i < c.size(); ++i) {
            EXPECT_EQ(c[i].width, sizes[i]) << "image " << i;
            EXPECT_EQ(c[i].fourcc, 0x35545844u) << "clouds are not DXT5";  // 'DXT5'
        }
    }
}

TEST_F(TexgenTest, NamesVaryTheLook) {
    run(earth_like("Twin"), 3, TEXTURE_MODE_BODY, tmp_.path());
    run(earth_like("Sibling"), 3, TEXTURE_MODE_BODY, tmp_.path());
    EXPECT_NE(read_file(tmp_.path() / "Textures" / "Twin.tex"), read_file(tmp_.path() / "Textures" / "Sibling.tex"));
}

TEST_F(TexgenTest, UnsafeBaseNamesWriteNothing) {
    const fs::path inner = tmp_.path() / "export";
    fs::create_directory(inner);
    const std::string tooLong(kLongestTextureBaseBytes + 1, 'x');
    for (const char* bad : {"../escape", "..", ".", "", "a/b", "a\\b", "..\\escape", "/abs", tooLong.c_str()}) {
        run(earth_like(bad), 1, TEXTURE_MODE_BODY, inner);
    }
    EXPECT_TRUE(filesBelow(tmp_.path()).empty());
}

TEST_F(TexgenTest, NullAndBrokenRequestsDoNotCrash) {
    plugin().export2orbiter(nullptr, 3, 4, tmp_.path().string().c_str(), record_progress);
    plugin().just_initialize(nullptr);
    plugin().clear_gen(nullptr);
    TextureRequest r = earth_like(nullptr);
    plugin().export2orbiter(&r, 3, 4, tmp_.path().string().c_str(), record_progress);
    EXPECT_TRUE(filesBelow(tmp_.path()).empty());
    plugin().set_option(77, 5);  // unknown option: ignored

    // Non-finite and out-of-range fields still give well-formed files.
    TextureRequest odd = earth_like("Odd");
    odd.cloudcover = odd.pressure = std::numeric_limits<double>::quiet_NaN();
    odd.watercover = std::numeric_limits<double>::infinity();
    odd.icecover = -odd.watercover;
    odd.temperature = -100000;
    odd.cloudclass = 99;
    odd.atmosphereclass = -4;
    odd.style = 777;
    odd.radius = -5;
    run(odd, 2, TEXTURE_MODE_BODY, tmp_.path());
    const auto images = walk_tex(read_file(tmp_.path() / "Textures" / "Odd.tex"));
    EXPECT_EQ(images.size(), 2u);
}

TEST_F(TexgenTest, LevelsOutsideOneToEightAreClamped) {
    run(earth_like("Low"), 0, TEXTURE_MODE_BODY, tmp_.path());
    run(earth_like("Negative"), -7, TEXTURE_MODE_BODY, tmp_.path());
    EXPECT_EQ(walk_tex(read_file(tmp_.path() / "Textures" / "Low.tex")).size(), 1u);
    EXPECT_EQ(walk_tex(read_file(tmp_.path() / "Textures" / "Negative.tex")).size(), 1u);
}

TEST_F(TexgenTest, BackslashFolderTextIsAccepted) {
    fs::create_directories(tmp_.path() / "Saved" / "Sys");
    const std::string folder = tmp_.path().string() + "\\Saved\\Sys";
    TextureRequest r = earth_like("Slashed");
    plugin().export2orbiter(&r, 1, TEXTURE_MODE_BODY, folder.c_str(), nullptr);
    EXPECT_TRUE(fs::exists(tmp_.path() / "Saved" / "Sys" / "Textures" / "Slashed.tex"));
}

TEST_F(TexgenTest, ProgressRunsFromZeroToOneWithoutGoingBack) {
    g_fractions.clear();
    g_levels.clear();
    TextureRequest r = earth_like("Progress");
    plugin().export2orbiter(&r, 5, TEXTURE_MODE_BODY, tmp_.path().string().c_str(), record_progress);
    ASSERT_GE(g_fractions.size(), 3u);
    EXPECT_EQ(g_fractions.front(), 0.0);
    EXPECT_EQ(g_fractions.back(), 1.0);
    // At least one report per image of the surface file.
    EXPECT_GE(g_fractions.size(), static_cast<size_t>(kPatchIndex[5]));
    for (size_t i = 1; i < g_fractions.size(); ++i) EXPECT_GE(g_fractions[i], g_fractions[i - 1]) << "report " << i;
    EXPECT_EQ(std::count(g_levels.begin(), g_levels.end(), 5), static_cast<long>(g_levels.size()));
}

// Uncompressed output lets the tests look at pixels.
class UncompressedTest : public TexgenTest {
protected:
    void SetUp() override {
        TexgenTest::SetUp();
        plugin().set_option(3, 0);
    }
    struct Pixels {
        const std::vector<uint8_t>* data;
        DdsImage im;
        // Sum of B, G and R at (x, y).
        int at(uint32_t x, uint32_t y) const {
            const size_t o = im.pixels + (static_cast<size_t>(y) * im.width + x) * 4;
            return (*data)[o] + (*data)[o + 1] + (*data)[o + 2];
        }
    };
    // Mean absolute difference of two pixel runs.
    template <typename A, typename B>
    static double mean_difference(A a, B b, uint32_t n) {
        double s = 0.0;
        for (uint32_t i = 0; i < n; ++i) s += std::abs(a(i) - b(i));
        return s / n;
    }
};

TEST_F(UncompressedTest, ImagesAreA8R8G8B8WithPitch) {
    run(earth_like("Raw"), 2, TEXTURE_MODE_BODY, tmp_.path());
    for (const char* f : {"Raw.tex", "Raw_cloud.tex"}) {
        const auto images = walk_tex(read_file(tmp_.path() / "Textures" / f));
        ASSERT_EQ(images.size(), 2u) << f;
        for (const DdsImage& im : images) {
            EXPECT_EQ(im.flags, 0x100Fu);
            EXPECT_EQ(im.pitch_or_size, im.width * 4);
            EXPECT_EQ(im.pf_flags, 0x41u);
            EXPECT_EQ(im.bits, 32u);
        }
    }
}

TEST_F(UncompressedTest, PlainSurfacesLeaveOutTheFinestDetail) {
    // Mean second difference along the rows of a patch of the finest level.
    const auto roughness = [&](const fs::path& folder) {
        const auto d = read_file(folder / "Textures" / "Rocky.tex");
        const auto images = walk_tex(d);
        if (images.size() != 13u) return 0.0;
        const Pixels patch{&d, images[5]};
        double sum = 0.0;
        for (uint32_t y = 0; y < 256; ++y)
            sum += mean_difference([&](uint32_t x) { return 2 * patch.at(x + 1, y); },
                                   [&](uint32_t x) { return patch.at(x, y) + patch.at(x + 2, y); }, 254);
        return sum / 256.0;
    };
    TextureRequest rocky = earth_like("Rocky");
    rocky.style = 10;
    TempFolder plainFolder;
    run(rocky, 5, TEXTURE_MODE_BODY, tmp_.path());
    plugin().set_option(1, 0);
    run(rocky, 5, TEXTURE_MODE_BODY, plainFolder.path());
    const double detailed = roughness(tmp_.path()), plain = roughness(plainFolder.path());
    EXPECT_GT(detailed, 0.0);
    EXPECT_LT(plain, 0.8 * detailed) << detailed;
}

}  // namespace
