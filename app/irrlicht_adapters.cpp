#include "app/irrlicht_adapters.h"

#include <sstream>

irr::core::stringw widen(const std::string& text) {
    irr::core::stringw wide;
    for (const char c : text) wide.append(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

irr::core::stringw wrapped(irr::gui::IGUIFont* font, const std::string& text, int width) {
    irr::core::stringw result;
    irr::core::stringw line;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        irr::core::stringw longer = line.empty() ? widen(word) : line + L" " + widen(word);
        if (!line.empty() && static_cast<int>(font->getDimension(longer.c_str()).Width) > width) {
            result += line + L"\n";
            longer = widen(word);
        }
        line = longer;
    }
    return result + line;
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
