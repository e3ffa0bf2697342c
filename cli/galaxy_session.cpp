#include "cli/galaxy_session.h"

#include <iostream>

#include "cli/data_root.h"
#include "files/galaxy_files.h"
#include "platform/file_image.h"
#include "platform/message_sink.h"

std::unique_ptr<GalaxySession> openGalaxy(const std::filesystem::path& root, const std::string& name) {
    auto session = std::make_unique<GalaxySession>();
    session->root = root;
    if (!loadStellarTables(root, session->tables)) return nullptr;
    const std::filesystem::path folder = galaxyFolder(root, name);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        std::cerr << "starvane-cli: no galaxy folder " << folder.string() << "\n";
        return nullptr;
    }
    StderrWarnings warnings("starvane-cli");
    loadGalaxy(session->catalogue, root, name, session->tables, &warnings);
    session->catalogue.densityimage = FileImageLoader{}.load((folder / "GrayScale.jpg").string());
    if (!session->catalogue.densityimage)
        std::cerr << "starvane-cli: warning: no density picture " << (folder / "GrayScale.jpg").string()
                  << "; only catalogue stars will appear\n";
    return session;
}

StarRecord* findCatalogueStar(GalaxyCatalogue& catalogue, const std::string& name) {
    for (const auto& star : catalogue.stars)
        if (star != nullptr && star->physical && star->physical->name == name) return star.get();
    return nullptr;
}
