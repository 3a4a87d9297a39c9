// A popup menu of the model: named items with their captions and click reactions. Whoever
// shows the menu runs the chosen item's click.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vt::ui {

class PopupMenu;

class MenuItem {
  public:
    MenuItem(std::string name, PopupMenu* menu, std::string caption);
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& Caption() const { return caption_; }
    void Click() {
        if (OnClick) OnClick();
    }
    std::function<void()> OnClick;

  private:
    std::string name_;
    std::string caption_;
};

class PopupMenu {
  public:
    explicit PopupMenu(std::string name) : name_(std::move(name)) {}
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    // Whoever still refers to the menu hears of its end first.
    ~PopupMenu() {
        auto watchers = std::move(watchers_);
        for (auto& [who, forget] : watchers) forget();
    }

    const std::string& Name() const { return name_; }
    const std::vector<MenuItem*>& Items() const { return items_; }
    void Add(MenuItem& item) { items_.push_back(&item); }

    // `forget` runs when the menu goes, unless `who` stopped watching before.
    void Watch(const void* who, std::function<void()> forget) {
        watchers_[who] = std::move(forget);
    }
    void Unwatch(const void* who) { watchers_.erase(who); }

  private:
    std::string name_;
    std::vector<MenuItem*> items_;
    std::map<const void*, std::function<void()>> watchers_;
};

inline MenuItem::MenuItem(std::string name, PopupMenu* menu, std::string caption)
    : name_(std::move(name)), caption_(std::move(caption)) {
    if (menu) menu->Add(*this);
}

}  // namespace vt::ui
