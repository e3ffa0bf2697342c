#include "texgen/texture_export.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "text/name_limit.h"
#include "texgen/ordered_work.h"
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

enum class Layer { Surface, Clouds, Map };

// One piece of a body's export: an image of a .tex file, or a tile of the map.
struct Job {
    Layer layer;
    ImageGeometry geometry;  // of an image
    int tile_x = 0;          // of a map tile: its first column and row
    int tile_y = 0;
};

unsigned worker_count(const Options& options) {
    if (options.threads > 0) return static_cast<unsigned>(std::min(options.threads, kMostThreads));
    const unsigned hw = std::thread::hardware_concurrency();
    return std::clamp(hw == 0 ? 1u : hw, 1u, static_cast<unsigned>(kMostThreads));
}

// The files of one body, made piece by piece on several threads and written in file order, so
// the bytes do not depend on the number of threads: the surface images, the cloud images, then
// the tiles of the map. The cloud file's pieces keep the surface file's slow images from
// holding up the other threads, and the map's tiles those of the cloud file.
class BodyExport {
public:
    BodyExport(const PlanetPainter& painter, const std::string& base, int level, bool clouds,
               bool compressed, Progress& progress)
        : painter_(painter), base_(base), progress_(progress),
          surface_format_(compressed ? PixelFormat::Dxt1 : PixelFormat::Argb8),
          cloud_format_(compressed ? PixelFormat::Dxt5 : PixelFormat::Argb8),
          map_(new uint8_t[static_cast<size_t>(kMapWidth * kMapHeight * 3)]) {
        const std::vector<ImageGeometry> images = file_layout(level);
        for (const ImageGeometry& g : images) jobs_.push_back({Layer::Surface, g});
        surface_.emplace(base + ".tex");
        surface_open_ = surface_->ok();
        if (clouds) {
            for (const ImageGeometry& g : images) jobs_.push_back({Layer::Clouds, g});
            clouds_.emplace(base + "_cloud.tex");
            clouds_open_ = clouds_->ok();
        }
        for (int ty = 0; ty < kMapHeight; ty += PlanetPainter::kMapTile)
            for (int tx = 0; tx < kMapWidth; tx += PlanetPainter::kMapTile)
                jobs_.push_back({Layer::Map, {}, tx, ty});
    }

    bool run(unsigned workers) {
        const size_t window = std::max<size_t>(workers * 4, 8);
        const bool done = run_in_order(
            jobs_.size(), workers, window,
            [this](size_t i, std::vector<uint8_t>& out) { produce(jobs_[i], out); },
            [this](size_t i, std::vector<uint8_t>& out) { return consume(i, out); });
        if (!done) return false;
        const bool map_ok = write_bmp24(base_ + "M.bmp", map_.get(), kMapWidth, kMapHeight);
        progress_.step();
        return files_ok_ && map_ok;
    }

private:
    void produce(const Job& job, std::vector<uint8_t>& out) {
        if (job.layer == Layer::Map) {
            painter_.render_map_tile(kMapWidth, kMapHeight, job.tile_x, job.tile_y, map_.get());
            return;
        }
        // A file that could not be made gets nothing, so its images are not worth painting.
        if (!(job.layer == Layer::Surface ? surface_open_ : clouds_open_)) return;
        const ImageGeometry& g = job.geometry;
        // Left uninitialised: the painter sets every byte.
        const std::unique_ptr<uint8_t[]> rgba(
            new uint8_t[static_cast<size_t>(g.size) * static_cast<size_t>(g.size) * 4]);
        if (job.layer == Layer::Surface)
            painter_.render_surface(g, rgba.get());
        else
            painter_.render_clouds(g, rgba.get());
        const PixelFormat format = job.layer == Layer::Surface ? surface_format_ : cloud_format_;
        out.reserve(encoded_size(g.size, format));
        append_dds(out, rgba.get(), g.size, format);
    }

    // Writes an image to its file, closing the file after its last image.
    bool consume(size_t index, const std::vector<uint8_t>& out) {
        const Job& job = jobs_[index];
        if (job.layer == Layer::Map) return true;
        std::optional<OutputFile>& file = job.layer == Layer::Surface ? surface_ : clouds_;
        file->write(out);
        progress_.step();
        const bool last = index + 1 == jobs_.size() || jobs_[index + 1].layer != job.layer;
        if (last) files_ok_ = file->commit() && files_ok_;
        return true;
    }

    const PlanetPainter& painter_;
    const std::string base_;
    Progress& progress_;
    const PixelFormat surface_format_;
    const PixelFormat cloud_format_;
    std::vector<Job> jobs_;
    std::optional<OutputFile> surface_;
    std::optional<OutputFile> clouds_;
    // Every tile paints its own part, on any thread; together they set every byte.
    const std::unique_ptr<uint8_t[]> map_;
    bool surface_open_ = false;  // set before the work starts, read by every thread
    bool clouds_open_ = false;
    bool files_ok_ = true;
};

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
    BodyExport body(painter, dir + "/" + request.basename, level, clouds, options.compressed,
                    progress);
    const bool ok = body.run(worker_count(options));
    progress.report(1.0);
    return ok;
}

}  // namespace texgen
