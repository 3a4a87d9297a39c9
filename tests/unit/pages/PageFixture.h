// A fake Windows 98 machine with the main window and its pages, for the page tests.
#pragma once

#include "compose/PageTable.h"
#include "platform/fake/FakePlatform.h"
#include "store/Paths.h"
#include "store/ShellFolders.h"
#include "store/StoreError.h"
#include "ui/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vt::testing {

// The control of that name under `root` (a kind the caller knows it has).
template <typename T>
T& Named(ui::Control& root, const std::string& name) {
    std::function<ui::Control*(ui::Control&)> find = [&](ui::Control& c) -> ui::Control* {
        if (c.Name() == name) return &c;
        for (ui::Control* child : c.Children())
            if (ui::Control* found = find(*child)) return found;
        return nullptr;
    };
    ui::Control* found = find(root);
    if (!found) throw std::logic_error(name);
    return static_cast<T&>(*found);
}

class PageTest : public ::testing::Test {
  protected:
    PageTest() {
        AttachPages(program, sys, prompts);
        form().WindowsDir = "C:\\WINDOWS";
        form().Folders = ShellFolders::BelowWindows(form().WindowsDir);
    }

    // A machine with user profiles for "ann", as the main window finds it when it opens.
    void UseUserProfile() {
        sys.UseUserProfile("ann");
        form().Folders = TakeShellFolders(sys, form().WindowsDir);
    }
    static constexpr const char* kProfile = "C:\\WINDOWS\\Profiles\\ann";

    Pages& pages() { return *std::static_pointer_cast<Pages>(program.pages); }
    TForm1& form() { return program.main; }

    // The passes as the main window runs them: every page read, then written, with the rule
    // that a setting whose control still shows what was read stays as stored.
    void ReadPass() { form().BacaData(); }
    void WritePass() { form().TulisData(); }

    // The left button pressed and released on a box, as a user clicks it.
    static void Click(ui::CheckBox& box) {
        box.PressMouse(ui::MouseButton::Left);
        box.ReleaseMouse(ui::MouseButton::Left, true);
    }

    void PutText(HKEY root, const std::string& path, const std::string& name,
                 const std::string& text) {
        std::vector<BYTE> bytes(text.begin(), text.end());
        bytes.push_back(0);
        sys.PutValue(root, path, name, REG_SZ, bytes);
    }
    void PutBytes(HKEY root, const std::string& path, const std::string& name,
                  std::vector<BYTE> bytes) {
        sys.PutValue(root, path, name, REG_BINARY, bytes);
    }
    void PutNumber(HKEY root, const std::string& path, const std::string& name, DWORD number) {
        sys.PutValue(root, path, name, REG_DWORD,
                     {BYTE(number), BYTE(number >> 8), BYTE(number >> 16), BYTE(number >> 24)});
    }

    bool KeyExists(HKEY root, const std::string& path) {
        HKEY key = 0;
        if (sys.RegOpenKeyExA(root, path.c_str(), 0, &key) != ERROR_SUCCESS) return false;
        sys.RegCloseKey(key);
        return true;
    }

    // A stored value as type and bytes; nothing when missing.
    struct Stored {
        DWORD type;
        std::vector<BYTE> bytes;
        std::string Text() const { return std::string(bytes.begin(), bytes.end()).c_str(); }
    };
    std::optional<Stored> Value(HKEY root, const std::string& path, const std::string& name) {
        HKEY key = 0;
        if (sys.RegOpenKeyExA(root, path.c_str(), 0, &key) != ERROR_SUCCESS) return std::nullopt;
        Stored stored{0, std::vector<BYTE>(256)};
        DWORD size = 256;
        LONG rc = sys.RegQueryValueExA(key, name.c_str(), &stored.type, stored.bytes.data(), &size);
        sys.RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return std::nullopt;
        stored.bytes.resize(size);
        return stored;
    }

    fake::FakePlatform sys;
    ui::ScriptedPrompts prompts;
    Program program{sys, prompts};
};

}  // namespace vt::testing
