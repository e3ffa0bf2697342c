#pragma once
// A list of texts with one selected entry: what the core fills for the engine's list boxes
// (the route, the bookmark folders and bookmarks). The atlas adapts the engine's list box;
// the command line and the tests use MemoryListBox.

#include <string>
#include <vector>

class ListBox {
public:
    virtual ~ListBox() = default;
    virtual void clear() = 0;
    virtual void addItem(const std::string& text) = 0;
    // Selected entry, or -1 for none.
    virtual int selected() const = 0;
    virtual void setSelected(int index) = 0;
    virtual int itemCount() const = 0;
};

class MemoryListBox : public ListBox {
public:
    void clear() override { items_.clear(); }
    void addItem(const std::string& text) override { items_.push_back(text); }
    int selected() const override { return selected_; }
    void setSelected(int index) override { selected_ = index; }
    int itemCount() const override { return static_cast<int>(items_.size()); }
    const std::vector<std::string>& items() const { return items_; }

private:
    std::vector<std::string> items_;
    int selected_ = -1;
};
