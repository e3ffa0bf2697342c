#include "app/irrlicht_adapters.h"

irr::core::stringw widen(const std::string& text) {
    irr::core::stringw wide;
    for (const char c : text) wide.append(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
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
