#include "files/galaxy_files.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "files/safe_name.h"
#include "files/star_catalogue_copy.h"
#include "files/saved_system_file.h"
#include "text/text_lines.h"
#include "text/text_number.h"
#include "galaxy/mwc_random.h"
#include "galaxy/star_naming.h"

namespace {

// A whole number as the description file writes it: sign and digits, the rest ignored.
long long wholeNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > 100000000000000000LL) break;  // far beyond any sensible value
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

// Parsecs to cubes, truncating toward zero.
double cubesOf(std::string_view parsecs) { return static_cast<double>(wholeNumber(parsecs) / 10); }

std::string_view field(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view{};
}

void placeCustomStar(StarRecord& custom) {
    custom.classified = 1;
    custom.connected = 0;
}

}  // namespace

std::filesystem::path galaxyFolder(const std::filesystem::path& root, const std::string& name) {
    return root / "Starvane" / "Galaxy" / safeFileName(name);
}

void loadCustomSystems(GalaxyCatalogue& catalogue, const std::filesystem::path& folder,
                       MessageSink* messages) {
    catalogue.customstars.clear();
    catalogue.customcount = 0;
    catalogue.noaliascount = 0;

    std::vector<std::filesystem::path> files;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder / "Custom Systems", error);
    if (error) return;
    for (const auto& entry : entries) {
        std::error_code typeError;
        if (entry.is_directory(typeError)) continue;
        std::string extension = entry.path().extension().string();
        for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (extension == ".svs") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());

    for (const std::filesystem::path& file : files) {
        auto star = std::make_unique<StarRecord>();
        // A file that cannot be read adds no star.
        if (loadSystemFile(catalogue, file, *star, messages)) catalogue.customstars.push_back(std::move(star));
    }
    catalogue.customcount = static_cast<std::int32_t>(catalogue.customstars.size());
}

void readGalaxyDescription(GalaxyCatalogue& catalogue, const std::string& text) {
    const std::vector<std::string_view> lines = splitLines(text);
    auto value = [&](int lineNumber) {
        return lineNumber - 1 < static_cast<int>(lines.size()) ? lines[lineNumber - 1] : std::string_view{};
    };
    catalogue.galaxyage = static_cast<double>(wholeNumber(value(2)));
    const std::vector<std::string_view> bulge = splitFields(value(4), 'x');
    catalogue.bulgewidth = cubesOf(field(bulge, 0));
    catalogue.bulgelength = cubesOf(field(bulge, 1));
    catalogue.bulgeheight = cubesOf(field(bulge, 2));
    catalogue.bulgeangle = static_cast<double>(wholeNumber(value(6)));
    catalogue.discage = static_cast<double>(wholeNumber(value(8)));
    catalogue.agegradient = static_cast<double>(wholeNumber(value(10)));
    catalogue.thindisc = cubesOf(value(12));
    catalogue.thickdisc = cubesOf(value(14));
    const std::vector<std::string_view> reference = splitFields(value(16), ',');
    for (int i = 0; i < 3; ++i)
        catalogue.referencecube[i] = static_cast<float>(wholeNumber(field(reference, i)));
    // The file gives the offset as x, up, y; the catalogue holds x, y, up.
    catalogue.referenceoffset[0] = static_cast<float>(wholeNumber(field(reference, 3)));
    catalogue.referenceoffset[2] = static_cast<float>(wholeNumber(field(reference, 4)));
    catalogue.referenceoffset[1] = static_cast<float>(wholeNumber(field(reference, 5)));
    catalogue.starseed = static_cast<double>(wholeNumber(value(18)));
    catalogue.systemseed = static_cast<double>(wholeNumber(value(20)));

    const auto seed = static_cast<std::uint64_t>(static_cast<long long>(catalogue.starseed));
    catalogue.starRandom.seed(static_cast<std::uint32_t>(seed & 0xFFFFFFFFu),
                        static_cast<std::uint32_t>(seed >> 32));
}

std::vector<CatalogueLine> parseCatalogueLines(std::string_view text) {
    const std::vector<std::string_view> lines = splitLines(text);
    std::size_t next = 0;
    while (next < lines.size() && lines[next].find_first_not_of(" \t") == std::string_view::npos) ++next;
    long long declared = next < lines.size() ? wholeNumber(lines[next++]) : 0;
    if (declared < 0) declared = 0;
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(declared), lines.size() - next);

    std::vector<CatalogueLine> result(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::vector<std::string_view> fields = splitFields(lines[next + i], ',');
        CatalogueLine& line = result[i];
        line.cube = {leadingInteger(field(fields, 0)), leadingInteger(field(fields, 1)), leadingInteger(field(fields, 2))};
        line.name = std::string(field(fields, 3));
        line.catalogvalue = static_cast<float>(leadingNumber(field(fields, 4)));
        line.spectralclass = std::string(field(fields, 5));
        line.subtype = leadingInteger(field(fields, 6));
        line.lumclass = std::string(field(fields, 7));
        line.offset[0] = static_cast<float>(leadingNumber(field(fields, 8)));
        line.offset[2] = static_cast<float>(leadingNumber(field(fields, 9)));
        line.offset[1] = static_cast<float>(leadingNumber(field(fields, 10)));
    }
    return result;
}

void placeCatalogueLines(GalaxyCatalogue& catalogue, const std::vector<CatalogueLine>& lines) {
    catalogue.stars.clear();
    catalogue.stars.reserve(lines.size() + static_cast<std::size_t>(catalogue.noaliascount));
    for (const CatalogueLine& line : lines) {
        auto star = std::make_unique<StarRecord>();
        star->physical = std::make_unique<StellarData>();
        StellarData& data = *star->physical;
        star->cube = line.cube;
        data.name = line.name;
        data.catalogvalue = line.catalogvalue;
        data.spectralclass = line.spectralclass;
        data.subtype = line.subtype;
        data.lumclass = line.lumclass;
        star->offset = line.offset;
        if (data.name == "NIL") nameStar(catalogue, *star, star->cube.x, star->cube.y, star->cube.z);

        for (auto& custom : catalogue.customstars) {
            if (custom == nullptr || custom->alias != star->physical->name) continue;
            custom->cube = star->cube;
            custom->offset = star->offset;
            star = std::move(custom);
            placeCustomStar(*star);
            break;
        }
        catalogue.stars.push_back(std::move(star));
    }

    for (auto& custom : catalogue.customstars) {
        if (custom == nullptr || !custom->alias.empty()) continue;
        placeCustomStar(*custom);
        catalogue.stars.push_back(std::move(custom));
    }
    catalogue.count = static_cast<std::int32_t>(catalogue.stars.size());
}

void readStarCatalogue(GalaxyCatalogue& catalogue, const std::string& text) {
    placeCatalogueLines(catalogue, parseCatalogueLines(text));
}

void loadGalaxy(GalaxyCatalogue& catalogue, const std::filesystem::path& root,
                const std::string& name, const StellarTables& tables, MessageSink* messages, CatalogueCopy copy) {
    const std::filesystem::path folder = galaxyFolder(root, name);
    const std::string safeName = safeFileName(name);
    catalogue.stellartables = &tables;
    catalogue.centreradius = kCentreRadius;
    loadCustomSystems(catalogue, folder, messages);
    readGalaxyDescription(catalogue, readTextFile(folder / (safeName + ".cfg")));
    const std::filesystem::path catalogueText = folder / (safeName + ".svc");
    if (copy == CatalogueCopy::kKeepBinaryCopy)
        placeCatalogueLines(catalogue, readCatalogueLinesKeepingCopy(catalogueText, catalogueCopyPath(catalogueText)));
    else
        readStarCatalogue(catalogue, readTextFile(catalogueText));
    catalogue.buildCubeIndex();
}
