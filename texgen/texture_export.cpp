#include "texgen/texture_export.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>
#include <vector>

#include "text/name_limit.h"
#include "texgen/tex_layout.h"

namespace texgen {

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kFnvOffset = 0xCBF29CE484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001B3ull;

uint64_t fnv(uint64_t h, const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < n; ++i) {
        h ^= p[i];
        h *= kFnvPrime;
    }
    return h;
}

uint64_t fnv_int(uint64_t h, int64_t v) {
    uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * i));
    return fnv(h, b, 8);
}

double finite_or(double v, double fallback) { return std::isfinite(v) ? v : fallback; }

constexpr int kMapWidth = 512;
constexpr int kMapHeight = 256;

// Closes and, unless committed, removes a file being written.
class OutputFile {
public:
    explicit OutputFile(std::string path) : path_(std::move(path)) {
        file_ = std::fopen(path_.c_str(), "wb");
    }
    ~OutputFile() {
        if (file_) {
            std::fclose(file_);
            std::remove(path_.c_str());
        }
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool ok() const { return file_ != nullptr && good_; }
    void write(const std::vector<uint8_t>& data) {
        if (file_ && good_ && std::fwrite(data.data(), 1, data.size(), file_) != data.size()) good_ = false;
    }
    bool commit() {
        if (!file_) return false;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!(closed && good_)) {
            std::remove(path_.c_str());
            return false;
        }
        return true;
    }

private:
    std::string path_;
    FILE* file_ = nullptr;
    bool good_ = true;
};

// Reports progress on the calling thread, never backwards and never outside 0..1.
class Progress {
public:
    Progress(TextureProgress cb, int level, int total) : cb_(cb), level_(level), total_(std::max(total, 1)) {}
    void report(double fraction) {
        if (!cb_) return;
        fraction = std::clamp(fraction, 0.0, 1.0);
        if (fraction < last_) fraction = last_;
        last_ = fraction;
        cb_(level_, fraction);
    }
    void step() {
        done_ = std::min(done_ + 1, total_);
        report(static_cast<double>(done_) / total_);
    }

private:
    TextureProgress cb_;
    int level_;
    int total_;
    int done_ = 0;
    double last_ = 0.0;
};

enum class Layer { Surface, Clouds };

// Renders and encodes the images of one .tex file; images are made in parallel in chunks and
// written in file order, so the bytes do not depend on the number of threads.
bool write_tex(const std::string& path, const PlanetPainter& painter, Layer layer, int level,
               PixelFormat format, Progress& progress) {
    const std::vector<ImageGeometry> images = file_layout(level);
    OutputFile out(path);
    if (!out.ok()) return false;

    unsigned hw = std::thread::hardware_concurrency();
    const unsigned workers = std::clamp(hw == 0 ? 1u : hw, 1u, 8u);
    const size_t chunk = std::max<size_t>(workers * 4, 8);

    for (size_t first = 0; first < images.size(); first += chunk) {
        const size_t count = std::min(chunk, images.size() - first);
        std::vector<std::vector<uint8_t>> encoded(count);
        std::atomic<size_t> next{0};
        std::atomic<bool> failed{false};
        auto work = [&]() {
            try {
                std::vector<uint8_t> rgba;
                for (size_t i = next++; i < count; i = next++) {
                    const ImageGeometry& g = images[first + i];
                    rgba.resize(static_cast<size_t>(g.size) * static_cast<size_t>(g.size) * 4);
                    if (layer == Layer::Surface)
                        painter.render_surface(g, rgba.data());
                    else
                        painter.render_clouds(g, rgba.data());
                    encoded[i].reserve(encoded_size(g.size, format));
                    append_dds(encoded[i], rgba.data(), g.size, format);
                }
            } catch (...) {
                failed = true;
            }
        };
        std::vector<std::thread> threads;
        for (unsigned t = 1; t < workers && t < count; ++t) {
            try {
                threads.emplace_back(work);
            } catch (const std::system_error&) {
                break;  // the calling thread does the remaining work
            }
        }
        work();
        for (std::thread& t : threads) t.join();
        if (failed) return false;
        for (size_t i = 0; i < count; ++i) {
            out.write(encoded[i]);
            std::vector<uint8_t>().swap(encoded[i]);
            progress.step();
        }
        if (!out.ok()) return false;
    }
    return out.commit();
}

}  // namespace

bool valid_base_name(const char* name) {
    if (name == nullptr || name[0] == '\0') return false;
    const size_t n = std::strlen(name);
    if (n > kLongestTextureBaseBytes) return false;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

BodyParams body_params(const TextureRequest& r, const Options& options) {
    BodyParams p;
    p.style = r.style;
    p.cloud_class = std::clamp(r.cloudclass, 2, 6);
    p.atmosphere_class = (r.atmosphereclass >= 1 && r.atmosphereclass <= 21) ? r.atmosphereclass : 1;
    p.temperature = static_cast<float>(std::clamp(r.temperature, -273, 5000));
    p.cloud_cover = static_cast<float>(std::clamp(finite_or(r.cloudcover, 0.0), 0.0, 1.0));
    p.water = static_cast<float>(std::clamp(finite_or(r.watercover, 0.0) / 0.7, 0.0, 1.0));
    p.ice = static_cast<float>(std::clamp(finite_or(r.icecover, 0.0), 0.0, 1.0));
    p.radius_km = r.radius > 0 ? static_cast<float>(r.radius) * 0.001f : 1.0f;

    uint64_t h = kFnvOffset;
    if (r.basename) h = fnv(h, r.basename, std::strlen(r.basename));
    h = fnv_int(h, r.radius);
    h = fnv_int(h, p.style);
    h = fnv_int(h, 0);  // look variant: 0 is the standard look of every body
    p.seed = h;
    uint64_t c = fnv_int(h, p.cloud_class);
    c = fnv_int(c, p.atmosphere_class);
    p.cloud_seed = c;
    p.detailed = options.detailed;
    return p;
}

std::string texture_folder(const char* folder) {
    std::string text = (folder != nullptr && folder[0] != '\0') ? folder : ".";
    std::replace(text.begin(), text.end(), '\\', '/');
    std::error_code ec;
    const fs::path base(text);
    if (!fs::is_directory(base, ec)) return {};
    const fs::path textures = base / "Textures";
    if (fs::is_directory(textures, ec)) return textures.string();
    // Someone may have created the folder in lower case on a case-sensitive file system.
    const fs::path lower = base / "textures";
    if (fs::is_directory(lower, ec)) return lower.string();
    fs::create_directory(textures, ec);
    if (fs::is_directory(textures, ec)) return textures.string();
    return {};
}

bool export_textures(const TextureRequest& request, int level, int mode, const char* folder,
                     TextureProgress progress_cb, const Options& options) {
    if (!valid_base_name(request.basename)) return false;
    level = clamp_level(level);
    const std::string dir = texture_folder(folder);
    if (dir.empty()) return false;

    const BodyParams params = body_params(request, options);
    const bool asteroid = mode == TEXTURE_MODE_ASTEROID;
    const bool clouds = !asteroid && params.cloud_cover > 0.0f && params.atmosphere_class > 1;
    const int images = image_count(level);
    Progress progress(progress_cb, level, images * (clouds ? 2 : 1) + 1);
    progress.report(0.0);

    const PlanetPainter painter(params, level);
    const std::string base = dir + "/" + request.basename;
    bool ok = write_tex(base + ".tex", painter, Layer::Surface, level,
                        options.compressed ? PixelFormat::Dxt1 : PixelFormat::Argb8, progress);
    if (clouds) {
        ok = write_tex(base + "_cloud.tex", painter, Layer::Clouds, level,
                       options.compressed ? PixelFormat::Dxt5 : PixelFormat::Argb8, progress) && ok;
    }
    std::vector<uint8_t> map(static_cast<size_t>(kMapWidth * kMapHeight * 3));
    painter.render_map(kMapWidth, kMapHeight, map.data());
    ok = write_bmp24(base + "M.bmp", map.data(), kMapWidth, kMapHeight) && ok;
    progress.step();
    progress.report(1.0);
    return ok;
}

}  // namespace texgen
