#include "platform/fake/FakePlatform.h"

#include "platform/fake/FakeKey.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace vt::fake {

// --- Windows and the session ----------------------------------------------------------

HWND FakePlatform::AddWindow(const std::string& className, const std::string& title, bool visible) {
    HWND handle = 0x10000 + windows_.size() * 4;
    windows_[handle] = Window{className, title, visible};
    return handle;
}

HWND FakePlatform::FindWindowA(const char* className, const char* title) {
    std::string cls = className ? className : "";
    std::string caption = title ? title : "";
    if (Enter({Call::FindWindow, cls, caption})) return 0;
    for (const auto& [handle, window] : windows_)
        if ((!className || EqualNoCase(window.className, cls)) &&
            (!title || window.title == caption))
            return handle;
    return 0;
}

BOOL FakePlatform::IsWindowVisible(HWND window) {
    auto it = windows_.find(window);
    return it != windows_.end() && it->second.visible;
}

BOOL FakePlatform::PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LONG fault = Enter({Call::PostMessage, {}, {}, message})) return Fail(fault);
    if (!windows_.count(window)) return Fail(1400 /* ERROR_INVALID_WINDOW_HANDLE */);
    posted_.push_back({window, message, wParam, lParam});
    return TRUE;
}

BOOL FakePlatform::ExitWindowsEx(UINT flags) {
    if (LONG fault = Enter({Call::ExitWindows, {}, {}, flags})) return Fail(fault);
    exitRequests_.push_back(flags);
    if (whileExiting_) whileExiting_(flags);
    return TRUE;
}

HANDLE FakePlatform::CreateMutexA(const char* name) {
    if (LONG fault = Enter({Call::CreateMutex, {}, name ? name : ""})) return Fail(fault);
    bool existed = name && !mutexes_.insert(name).second;
    lastError_ = existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    HANDLE handle = nextMutex_;
    nextMutex_ += 4;
    return handle;
}

BOOL FakePlatform::ShowWindow(HWND window, int command) {
    if (LONG fault = Enter({Call::ShowWindow, {}, {}, static_cast<DWORD>(command), window}))
        return Fail(fault);
    showRequests_.emplace_back(window, command);
    auto it = windows_.find(window);
    if (it == windows_.end()) return FALSE;
    bool was = it->second.visible;  // answers whether the window was visible before
    it->second.visible = command != SW_HIDE;
    return was ? TRUE : FALSE;
}

BOOL FakePlatform::SetForegroundWindow(HWND window) {
    if (LONG fault = Enter({Call::SetForegroundWindow, {}, {}, 0, window})) return Fail(fault);
    foreground_ = window;
    return TRUE;
}

// --- The notification area -------------------------------------------------------------

constexpr LONG kShellFailure = static_cast<LONG>(0x80004005u);  // E_FAIL, as Wine answers

BOOL FakePlatform::Shell_NotifyIconA(DWORD message, const NOTIFYICONDATAA* data) {
    if (LONG fault = Enter(
            {Call::ShellNotifyIcon, {}, data ? data->szTip : "", message, data ? data->hWnd : 0})) {
        if (data) notifyRequests_.push_back({message, *data, FALSE});
        return Fail(fault);
    }
    if (!data) return Fail(ERROR_INVALID_PARAMETER);
    auto key = std::make_pair(data->hWnd, data->uID);
    auto icon = trayIcons_.find(key);
    bool ok = trayAvailable_;
    if (ok) {
        switch (message) {
            case NIM_ADD:
                ok = icon == trayIcons_.end();
                if (ok) trayIcons_[key] = *data;
                break;
            case NIM_MODIFY:
                ok = icon != trayIcons_.end();
                if (ok) {
                    if (data->uFlags & NIF_MESSAGE)
                        icon->second.uCallbackMessage = data->uCallbackMessage;
                    if (data->uFlags & NIF_ICON) icon->second.hIcon = data->hIcon;
                    if (data->uFlags & NIF_TIP)
                        std::memcpy(icon->second.szTip, data->szTip, sizeof data->szTip);
                }
                break;
            case NIM_DELETE:
                ok = icon != trayIcons_.end();
                if (ok) trayIcons_.erase(icon);
                break;
            default:
                ok = false;
                break;
        }
    }
    notifyRequests_.push_back({message, *data, ok ? TRUE : FALSE});
    return ok ? TRUE : Fail(kShellFailure);
}

const NOTIFYICONDATAA* FakePlatform::TrayIcon(HWND window, UINT id) const {
    auto icon = trayIcons_.find({window, id});
    return icon == trayIcons_.end() ? nullptr : &icon->second;
}

HINSTANCE FakePlatform::GetModuleHandleA(const char* moduleName) {
    if (LONG fault = Enter({Call::GetModuleHandle, {}, moduleName ? moduleName : ""}))
        return Fail(fault);
    return moduleName ? 0 : kModule;
}

UINT FakePlatform::RegisterWindowMessageA(const char* name) {
    if (LONG fault = Enter({Call::RegisterWindowMessage, {}, name ? name : ""})) return Fail(fault);
    if (!name || !*name) return Fail(ERROR_INVALID_PARAMETER);
    auto [entry, added] = registeredMessages_.try_emplace(
        ToUpper(name), static_cast<UINT>(0xC000 + registeredMessages_.size()));
    return entry->second;
}

UINT FakePlatform::RegisteredMessage(const std::string& name) const {
    auto entry = registeredMessages_.find(ToUpper(name));
    return entry == registeredMessages_.end() ? 0 : entry->second;
}

HICON FakePlatform::LoadImageA(HINSTANCE instance, UINT resourceId, UINT type, int width,
                               int height, UINT flags) {
    if (LONG fault = Enter({Call::LoadImage, {}, {}, resourceId, instance})) return Fail(fault);
    if (instance != kModule || resourceId != 1 || type != IMAGE_ICON)
        return Fail(1813 /* ERROR_RESOURCE_TYPE_NOT_FOUND */);
    HICON icon = nextIcon_++;
    icons_[icon] = {width ? width : 32, height ? height : 32, flags};
    return icon;
}

BOOL FakePlatform::DestroyIcon(HICON icon) {
    if (LONG fault = Enter({Call::DestroyIcon, {}, {}, 0, icon})) return Fail(fault);
    if (!icons_.erase(icon)) return Fail(1402 /* ERROR_INVALID_CURSOR_HANDLE */);
    return TRUE;
}

// --- Popup menus -----------------------------------------------------------------------

BOOL FakePlatform::GetCursorPos(POINT* point) {
    if (LONG fault = Enter({Call::GetCursorPos, {}, {}})) return Fail(fault);
    *point = cursor_;
    return TRUE;
}

int FakePlatform::GetSystemMetrics(int index) {
    Enter({Call::GetSystemMetrics, {}, {}, static_cast<DWORD>(index)});
    auto metric = metrics_.find(index);
    if (metric != metrics_.end()) return metric->second;
    // Windows 98 at 96 dots per inch.
    if (index == SM_CXSMICON || index == SM_CYSMICON) return 16;
    return index == SM_CYMENUSIZE ? 18 : 0;
}

HMENU FakePlatform::CreatePopupMenu() {
    if (LONG fault = Enter({Call::CreatePopupMenu, {}, {}})) return Fail(fault);
    HMENU menu = nextMenu_;
    nextMenu_ += 4;
    menus_[menu];
    return menu;
}

BOOL FakePlatform::AppendMenuA(HMENU menu, UINT flags, UINT id, const char* text) {
    if (LONG fault = Enter({Call::AppendMenu, {}, text ? text : "", flags, menu}))
        return Fail(fault);
    auto it = menus_.find(menu);
    if (it == menus_.end()) return Fail(1401 /* ERROR_INVALID_MENU_HANDLE */);
    it->second.push_back({id, text ? text : ""});
    return TRUE;
}

BOOL FakePlatform::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
    if (LONG fault = Enter({Call::TrackPopupMenu, {}, {}, flags, menu})) return Fail(fault);
    auto it = menus_.find(menu);
    if (it == menus_.end()) return Fail(1401 /* ERROR_INVALID_MENU_HANDLE */);
    ShownMenu shown{{}, {}, flags, x, y, owner};
    for (const MenuItem& item : it->second) {
        shown.items.push_back(item.text);
        shown.ids.push_back(item.id);
    }
    shownMenus_.push_back(shown);
    UINT chosen = 0;
    if (!menuChoices_.empty()) {
        for (const MenuItem& item : it->second)
            if (item.text == menuChoices_.front()) chosen = item.id;
        menuChoices_.erase(menuChoices_.begin());
    }
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen) posted_.push_back({owner, 0x0111 /* WM_COMMAND */, chosen, 0});
    return TRUE;
}

BOOL FakePlatform::DestroyMenu(HMENU menu) {
    if (LONG fault = Enter({Call::DestroyMenu, {}, {}, 0, menu})) return Fail(fault);
    return menus_.erase(menu) ? TRUE : Fail(1401 /* ERROR_INVALID_MENU_HANDLE */);
}

BOOL FakePlatform::SetSystemPowerState(BOOL suspend, BOOL force) {
    if (LONG fault = Enter({Call::SetSystemPowerState,
                            {},
                            {},
                            static_cast<DWORD>((suspend ? 1 : 0) | (force ? 2 : 0))}))
        return Fail(fault);
    powerRequests_.emplace_back(suspend, force);
    return TRUE;
}

// --- Shell -----------------------------------------------------------------------------

BOOL FakePlatform::CreateShellLink(const char* target, const char* linkFile,
                                   const char* workingDirectory) {
    if (LONG error = Enter({Call::CreateShellLink, FullPath(linkFile), target})) return Fail(error);
    std::string text = std::string("LINK ") + target + "|" + workingDirectory;
    // Saved without a flush: on disk only once flushed.
    std::string full = FullPath(linkFile);
    bool pending = unflushedFiles_.count(ToUpper(full)) > 0;
    auto before = files_.find(ToUpper(full));
    // Held apart from an optional: GCC 12 at -O3 takes a copy of an optional File here for a
    // read of uninitialised memory.
    const bool existed = before != files_.end();
    File onDisk = existed ? before->second : File{};
    if (!WriteFileBytes(linkFile, std::vector<BYTE>(text.begin(), text.end()))) return FALSE;
    if (!pending) {
        std::optional<File>& saved = unflushedFiles_[ToUpper(full)];
        if (existed)
            saved.emplace(std::move(onDisk));
        else
            saved.reset();
    }
    return TRUE;
}

BOOL FakePlatform::ShellExecuteOpen(HWND owner, const char* verb, const char* file) {
    if (LONG error = Enter({Call::ShellExecute, file, verb, 0, owner})) return Fail(error);
    shellOpened_.push_back({owner, verb, file});
    return TRUE;
}

namespace {

// The "User Shell Folders" value of a special folder, and where Windows 98 keeps it without
// user profiles, below the Windows directory.
struct ShellFolderName {
    int id;
    const char* value;
    const char* below;  // the Windows directory, or the profile's folder
};
constexpr ShellFolderName kShellFolders[] = {
    {CSIDL_DESKTOPDIRECTORY, "Desktop", "\\Desktop"},
    {CSIDL_PROGRAMS, "Programs", "\\Start Menu\\Programs"},
    {CSIDL_STARTMENU, "Start Menu", "\\Start Menu"},
    {CSIDL_APPDATA, "AppData", "\\Application Data"},
};
const char* const kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

}  // namespace

void FakePlatform::UseUserProfile(const std::string& user) {
    const std::string profile = windowsDir_ + "\\Profiles\\" + user;
    for (const ShellFolderName& folder : kShellFolders) {
        std::string path = profile + folder.below;
        MakeDirectories(path);
        PutValue(HKEY_CURRENT_USER, kUserShellFolders, folder.value, REG_SZ,
                 std::vector<BYTE>(path.c_str(), path.c_str() + path.size() + 1));
    }
}

BOOL FakePlatform::SHGetSpecialFolderPathA(HWND owner, char* path, int folder, BOOL create) {
    const auto* known = std::find_if(std::begin(kShellFolders), std::end(kShellFolders),
                                     [&](const ShellFolderName& f) { return f.id == folder; });
    if (LONG error = Enter({Call::SpecialFolder,
                            {},
                            known == std::end(kShellFolders) ? "" : known->value,
                            static_cast<DWORD>(folder),
                            owner}))
        return Fail(error);
    if (known == std::end(kShellFolders)) return Fail(ERROR_INVALID_PARAMETER);
    std::string found = windowsDir_ + known->below;
    std::shared_ptr<Key> key = currentUser_;
    for (const std::string& part : SplitKeyPath(kUserShellFolders))
        if (key) key = key->Child(part);
    if (key) {
        auto value = key->values.find(ToLower(known->value));
        if (value != key->values.end() && value->second.second.type == REG_SZ) {
            const std::vector<BYTE>& data = value->second.second.data;
            std::string named(data.begin(), std::find(data.begin(), data.end(), BYTE{0}));
            if (directories_.count(ToUpper(FullPath(named)))) found = named;
        }
    }
    if (!directories_.count(ToUpper(FullPath(found)))) {
        if (!create) return Fail(ERROR_FILE_NOT_FOUND);
        MakeDirectories(found);
    }
    if (found.size() >= MAX_PATH) return Fail(ERROR_MORE_DATA);
    std::memcpy(path, found.c_str(), found.size() + 1);
    return TRUE;
}

// --- System information ----------------------------------------------------------------

void FakePlatform::GlobalMemoryStatus(MEMORYSTATUS* status) {
    *status = memory_;
}

BOOL FakePlatform::GetVersionExA(OSVERSIONINFOA* info) {
    *info = version_;
    return TRUE;
}

void FakePlatform::Sleep(DWORD milliseconds) {
    slept_ += milliseconds;
}

DWORD FakePlatform::GetLastError() {
    return lastError_;
}

}  // namespace vt::fake
