#include "files/star_catalogue_copy.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "files/atomic_file.h"
#include "files/galaxy_files.h"
#include "text/format_limits.h"
#include "text/text_lines.h"

namespace {

// The first bytes of a copy: what it is, its layout's version and the byte order it was
// written in (the last byte; a copy from a machine of the other order is refused).
constexpr char kMagic[8] = {'S', 'V', 'C', 'O', 'P', 'Y', '1', static_cast<char>(std::endian::native == std::endian::little)};
// Magic, text size, text time, line count, checksum of what follows.
constexpr std::size_t kHeaderBytes = 8 + 8 + 8 + 4 + 8;
// Cube, value, subtype, offset and the three strings' lengths: the least a line takes.
constexpr std::size_t kLeastLineBytes = 3 * 4 + 4 + 4 + 3 * 4 + 3 * 4;

std::uint64_t checksum(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

template <typename T>
void put(std::string& out, T value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

void putText(std::string& out, const std::string& text) {
    put(out, static_cast<std::uint32_t>(text.size()));
    out += text;
}

// Reads from the front of the bytes it was given; once anything was missing, every later read
// fails too.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    template <typename T>
    T take() {
        T value{};
        if (!ok_ || bytes_.size() < sizeof(T)) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, bytes_.data(), sizeof(T));
        bytes_.remove_prefix(sizeof(T));
        return value;
    }

    std::string takeText() {
        const auto length = take<std::uint32_t>();
        if (!ok_ || bytes_.size() < length) {
            ok_ = false;
            return {};
        }
        std::string text(bytes_.substr(0, length));
        bytes_.remove_prefix(length);
        return text;
    }

    bool ok() const { return ok_; }
    std::size_t left() const { return bytes_.size(); }

private:
    std::string_view bytes_;
    bool ok_ = true;
};

}  // namespace

std::optional<CatalogueTextStamp> catalogueTextStamp(const std::filesystem::path& text) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(text, error);
    if (error) return std::nullopt;
    const auto modified = std::filesystem::last_write_time(text, error);
    if (error) return std::nullopt;
    return CatalogueTextStamp{static_cast<std::uint64_t>(size),
                              static_cast<std::int64_t>(modified.time_since_epoch().count())};
}

std::string encodeCatalogueCopy(const std::vector<CatalogueLine>& lines, const CatalogueTextStamp& stamp) {
    std::string body;
    for (const CatalogueLine& line : lines) {
        put(body, line.cube.x);
        put(body, line.cube.y);
        put(body, line.cube.z);
        put(body, line.catalogvalue);
        put(body, line.subtype);
        for (const float part : line.offset) put(body, part);
        putText(body, line.name);
        putText(body, line.spectralclass);
        putText(body, line.lumclass);
    }
    std::string out(kMagic, sizeof kMagic);
    put(out, stamp.size);
    put(out, stamp.modified);
    put(out, static_cast<std::uint32_t>(lines.size()));
    put(out, checksum(body));
    return out + body;
}

std::optional<std::vector<CatalogueLine>> decodeCatalogueCopy(std::string_view bytes, const CatalogueTextStamp& stamp) {
    if (bytes.size() < kHeaderBytes || bytes.substr(0, sizeof kMagic) != std::string_view(kMagic, sizeof kMagic))
        return std::nullopt;
    Reader header(bytes.substr(sizeof kMagic, kHeaderBytes - sizeof kMagic));
    const CatalogueTextStamp madeFrom{header.take<std::uint64_t>(), header.take<std::int64_t>()};
    const auto count = header.take<std::uint32_t>();
    const auto sum = header.take<std::uint64_t>();
    const std::string_view body = bytes.substr(kHeaderBytes);
    if (!(madeFrom == stamp) || count > body.size() / kLeastLineBytes || sum != checksum(body)) return std::nullopt;

    Reader reader(body);
    std::vector<CatalogueLine> lines(count);
    for (CatalogueLine& line : lines) {
        line.cube = {reader.take<std::int32_t>(), reader.take<std::int32_t>(), reader.take<std::int32_t>()};
        line.catalogvalue = reader.take<float>();
        line.subtype = reader.take<std::int32_t>();
        for (float& part : line.offset) part = reader.take<float>();
        line.name = reader.takeText();
        line.spectralclass = reader.takeText();
        line.lumclass = reader.takeText();
    }
    if (!reader.ok() || reader.left() != 0) return std::nullopt;
    return lines;
}

std::string resealCatalogueCopy(std::string bytes) {
    if (bytes.size() < kHeaderBytes) return bytes;
    const std::uint64_t sum = checksum(std::string_view(bytes).substr(kHeaderBytes));
    std::memcpy(bytes.data() + kHeaderBytes - sizeof sum, &sum, sizeof sum);
    return bytes;
}

std::filesystem::path catalogueCopyPath(const std::filesystem::path& text) {
    std::filesystem::path copy = text;
    copy += ".bin";
    return copy;
}

std::vector<CatalogueLine> readCatalogueLinesKeepingCopy(const std::filesystem::path& text,
                                                         const std::filesystem::path& copy) {
    const std::optional<CatalogueTextStamp> stamp = catalogueTextStamp(text);
    if (stamp) {
        std::string bytes;
        // A sound copy holds the text's characters and a fixed share for each of its lines at
        // most; anything bigger is not read.
        const std::uintmax_t most = kHeaderBytes + stamp->size + (stamp->size + 1) * kLeastLineBytes;
        if (!readBoundedFile(copy, std::min<std::uintmax_t>(most, 4 * kMostTextFileBytes), bytes)) {
            if (auto lines = decodeCatalogueCopy(bytes, *stamp)) return std::move(*lines);
        }
    }
    std::vector<CatalogueLine> lines = parseCatalogueLines(readTextFile(text));
    // Only a copy of the text as it was read, unchanged since it was stamped, is kept.
    if (stamp && catalogueTextStamp(text) == stamp) writeFileAtomically(copy, encodeCatalogueCopy(lines, *stamp));
    return lines;
}
