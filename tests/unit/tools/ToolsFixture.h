// A fake Windows 98 machine with the main window, its companions and the tool pages, for the
// tool page tests.
#pragma once

#include "platform/fake/FakePlatform.h"
#include "store/StoreError.h"
#include "store/TRegistry.h"
#include "compose/PageTable.h"
#include "ui/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vt::testing {

inline constexpr const char* kToolsProgramDir = "C:\\Program Files\\Veltrim 2000";

class ToolsTest : public ::testing::Test {
  protected:
    ToolsTest() {
        sys.MakeDirectories(kToolsProgramDir);
        form().ProgramDir = kToolsProgramDir;
        form().WindowsDir = "C:\\WINDOWS";
    }

    TForm1& form() { return program.main; }
    RightClickMenus& menus() { return tools.rightClickMenus; }
    AddRemove& addRemove() { return tools.addRemove; }
    TForm5& dialog() { return program.uninstall; }

    // The left button pressed and released on a box, as a user clicks it.
    static void Click(ui::CheckBox& box) {
        box.PressMouse(ui::MouseButton::Left);
        box.ReleaseMouse(ui::MouseButton::Left, true);
    }
    // A user action as the view runs it: an error it raises reaches the error box.
    void Do(const std::function<void()>& action) { Guarded(prompts, action); }

    void PutText(HKEY root, const std::string& path, const std::string& name,
                 const std::string& text, DWORD type = REG_SZ) {
        std::vector<BYTE> bytes(text.begin(), text.end());
        bytes.push_back(0);
        sys.PutValue(root, path, name, type, bytes);
    }
    // A stored text; nothing when the key or value is missing.
    std::optional<std::string> Text(HKEY root, const std::string& path, const std::string& name) {
        HKEY key = 0;
        if (sys.RegOpenKeyExA(root, path.c_str(), 0, &key) != ERROR_SUCCESS) return std::nullopt;
        std::vector<char> data(1024, '\0');
        DWORD type = 0, size = static_cast<DWORD>(data.size());
        LONG rc = sys.RegQueryValueExA(key, name.c_str(), &type,
                                       reinterpret_cast<BYTE*>(data.data()), &size);
        sys.RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return std::nullopt;
        return std::string(data.data());
    }
    std::optional<DWORD> Type(HKEY root, const std::string& path, const std::string& name) {
        HKEY key = 0;
        if (sys.RegOpenKeyExA(root, path.c_str(), 0, &key) != ERROR_SUCCESS) return std::nullopt;
        DWORD type = 0, size = 0;
        LONG rc = sys.RegQueryValueExA(key, name.c_str(), &type, nullptr, &size);
        sys.RegCloseKey(key);
        return rc == ERROR_SUCCESS ? std::optional<DWORD>(type) : std::nullopt;
    }
    bool KeyExists(HKEY root, const std::string& path) {
        HKEY key = 0;
        if (sys.RegOpenKeyExA(root, path.c_str(), 0, &key) != ERROR_SUCCESS) return false;
        sys.RegCloseKey(key);
        return true;
    }

    // Someone else deletes a key with everything below it.
    void DeleteTree(HKEY root, const std::string& path) {
        TRegistry reg(sys);
        reg.SelectRoot(root);
        ASSERT_TRUE(reg.RemoveKey("\\" + path)) << path;
    }

    std::string DataIniPath() const { return std::string(kToolsProgramDir) + "\\data.ini"; }
    std::string DataIni() const { return sys.FileText(DataIniPath()); }
    void PutDataIni(const std::string& contents, DWORD attributes = 0) {
        sys.PutFile(DataIniPath(), contents, attributes);
    }

    // Every call that changed the machine since the last ClearCalls.
    std::vector<std::string> Changes() const {
        std::vector<std::string> changes;
        for (const fake::CallInfo& call : sys.Calls()) switch (call.kind) {
                case fake::Call::RegCreateKey:
                case fake::Call::RegSetValue:
                case fake::Call::RegDeleteValue:
                case fake::Call::RegDeleteKey:
                case fake::Call::ProfileWrite:
                    changes.push_back(call.path + "|" + call.name);
                    break;
                default:
                    break;
            }
        return changes;
    }

    fake::FakePlatform sys;
    ui::ScriptedPrompts prompts;
    Program program{sys, prompts};
    Tools& tools = Attached();

  private:
    Tools& Attached() {
        AttachPages(program, sys, prompts);  // as the program attaches them
        return *std::static_pointer_cast<Tools>(program.tools);
    }
};

}  // namespace vt::testing
