#include "app/irrlicht_adapters.h"

#include <algorithm>
#include <sstream>

irr::core::stringw widen(const std::string& text) {
    irr::core::stringw wide;
    for (const char c : text) wide.append(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

namespace {

int widthOf(irr::gui::IGUIFont* font, const irr::core::stringw& text) {
    return static_cast<int>(font->getDimension(text.c_str()).Width);
}

// `line`, or as much of it as fits `width` with "..." after it.
irr::core::stringw cutToFit(irr::gui::IGUIFont* font, irr::core::stringw line, int width, bool cut) {
    if (!cut && widthOf(font, line) <= width) return line;
    while (!line.empty() && widthOf(font, line + L"...") > width) line = line.subString(0, line.size() - 1);
    return line + L"...";
}

}  // namespace

irr::core::stringw wrapped(irr::gui::IGUIFont* font, const std::string& text, int width, int maxLines) {
    std::vector<irr::core::stringw> lines;
    irr::core::stringw line;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        irr::core::stringw longer = line.empty() ? widen(word) : line + L" " + widen(word);
        if (!line.empty() && widthOf(font, longer) > width) {
            lines.push_back(line);
            longer = widen(word);
        }
        line = longer;
    }
    if (!line.empty()) lines.push_back(line);
    irr::core::stringw result;
    const std::size_t shown = std::min(lines.size(), static_cast<std::size_t>(std::max(1, maxLines)));
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) result += L"\n";
        result += cutToFit(font, lines[i], width, i + 1 == shown && shown < lines.size());
    }
    return result;
}

std::string narrow(const wchar_t* text) {
    std::string result;
    if (text == nullptr) return result;
    for (; *text != 0; ++text) result += static_cast<char>(*text);
    return result;
}

void showRows(irr::gui::IGUIListBox* list, const std::vector<std::string>& rows, int selected) {
    list->clear();
    for (const std::string& row : rows) list->addItem(widen(row).c_str());
    list->setSelected(selected);
}

std::unique_ptr<PixelImage> EngineImageLoader::load(const std::string& path) const {
    irr::video::IImage* image = driver_->createImageFromFile(path.c_str());
    if (image == nullptr) return nullptr;
    return std::make_unique<EngineImage>(image);
}

void GuiMessages::showMessage(const std::string& title, const std::string& text) {
    if (gui_ != nullptr) gui_->addMessageBox(widen(title).c_str(), widen(text).c_str());
}
