#include "e2e/Driver.h"

#include <cstdio>

#include <fstream>
#include <iterator>

#include "view/ControlId.h"

#include <vector>

namespace e2e {

Process Start(const std::string& exe, const std::string& directory, const std::string& arguments) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    Process process;
    if (::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         directory.c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        process.handle = info.hProcess;
        process.id = info.dwProcessId;
    }
    return process;
}

int WaitExit(Process& process, int timeoutMs) {
    if (!process.handle) return -1;
    if (::WaitForSingleObject(process.handle, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(process.handle, &code);
    return static_cast<int>(code);
}

void Stop(Process& process) {
    if (!process.handle) return;
    if (::WaitForSingleObject(process.handle, 0) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.handle, 99);
        ::WaitForSingleObject(process.handle, 5000);
    }
    ::CloseHandle(process.handle);
    process = {};
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (static_cast<int>(::GetTickCount() - start) > timeoutMs) return false;
        ::Sleep(10);
    }
    return true;
}

HWND WaitWindow(const char* className, const char* caption, int timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = ::FindWindowA(className, caption);
            return found && ::IsWindowVisible(found);
        },
        timeoutMs);
    return found && ::IsWindowVisible(found) ? found : nullptr;
}

int CountWindows(const char* className, const char* caption) {
    int count = 0;
    HWND after = nullptr;
    while ((after = ::FindWindowExA(nullptr, after, className, caption)) != nullptr) ++count;
    return count;
}

namespace {

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<BoxSearch*>(lParam);
    char className[16] = "";
    ::GetClassNameA(hwnd, className, sizeof className);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->processId && std::string(className) == "#32770" &&
        ::IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitMessageBox(DWORD processId, int timeoutMs) {
    BoxSearch search{processId, nullptr};
    WaitUntil(
        [&] {
            ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

std::string MessageText(HWND box) {
    return Text(::GetDlgItem(box, 0xFFFF));  // the message box's text is static 0xFFFF
}

void Answer(HWND box, int buttonId) {
    // What the button tells its box when clicked: a posted BM_CLICK can be lost while the box
    // is still being activated.
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, buttonId)));
}

HWND Control(HWND form, const char* name) {
    // A page not shown yet gets its windows shortly after the main window appears.
    HWND control = nullptr;
    WaitUntil([&] { return (control = ::GetDlgItem(form, vt::view::ControlId(name))) != nullptr; },
              10000);
    return control;
}

std::string Text(HWND window) {
    if (!window) return {};
    std::vector<char> buffer(4096, '\0');
    LRESULT length =
        ::SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), static_cast<size_t>(length));
}

void Click(HWND control) {
    ::PostMessageA(control, BM_CLICK, 0, 0);
}

void ClickAndWait(HWND control) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

void DoubleClick(HWND control) {
    RECT area{};
    ::GetClientRect(control, &area);
    LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    ::PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(control, WM_LBUTTONUP, 0, at);
    ::PostMessageA(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageA(control, WM_LBUTTONUP, 0, at);
}

void Hover(HWND control) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(control, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4), SMTO_NORMAL, 10000, &result);
}

void ClickTab(HWND tabs, int index) {
    // TCM_GETITEMRECT writes into the program's memory: borrow a little of it.
    DWORD processId = 0;
    ::GetWindowThreadProcessId(tabs, &processId);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return;
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT tab{};
    if (remote && ::SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote)))
        ::ReadProcessMemory(process, remote, &tab, sizeof tab, nullptr);
    if (remote) ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
    LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ::PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(tabs, WM_LBUTTONUP, 0, at);
}

bool ShowPage(HWND form, int index, int timeoutMs) {
    HWND tabs = Control(form, "PageControl1");
    if (!tabs) return false;
    ClickTab(tabs, index);
    if (!WaitUntil([&] { return ::SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == index; }, timeoutMs))
        return false;
    // The tab control marks the tab before the window has made and shown the page: a message
    // sent to the window returns once that is done.
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(form, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool ClickOnPages(HWND form, const std::vector<std::pair<int, const char*>>& clicks,
                  int timeoutMs) {
    bool shown = true;
    for (auto [page, name] : clicks) {
        shown = ShowPage(form, page, timeoutMs) && shown;
        ClickAndWait(Control(form, name));
    }
    return shown;
}

void CloseWindow(HWND window) {
    ::PostMessageA(window, WM_CLOSE, 0, 0);
}

bool InstallCopy(const std::string& dir) {
    ::CreateDirectoryA(dir.c_str(), nullptr);
    if (!::CopyFileA((CurrentDirectory() + "\\Veltrim.exe").c_str(),
                     (dir + "\\Veltrim.exe").c_str(), FALSE))
        return false;
    const std::uint32_t records[5] = {0, 7, 0, 8, 9};
    WriteWhole(dir + "\\Config.DAT",
               std::string(reinterpret_cast<const char*>(records), sizeof records));
    return true;
}

std::string RegistryText(HKEY root, const char* path, const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char buffer[512] = "";
    DWORD size = sizeof buffer, type = 0;
    LONG rc = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(buffer) : "<missing>";
}

void SetRegistryText(HKEY root, const char* path, const char* name, const std::string& text) {
    HKEY key = nullptr;
    ::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(key);
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string SystemIniPath() {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows) + "\\SYSTEM.INI";
}

void PutMsdosSys(const std::string& bytes) {
    ::SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_NORMAL);
    WriteWhole(kMsdosSys, bytes);
    ::SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ::SetFileAttributesA(kMsdosSys, kMsdosSysProtected);
}

DWORD MsdosSysProtection() {
    return ::GetFileAttributesA(kMsdosSys) & kMsdosSysProtected;
}

std::string CurrentDirectory() {
    char path[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof path, path);
    return path;
}

bool KeyExists(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

std::vector<std::string> SubKeys(HKEY key) {
    std::vector<std::string> names;
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD size = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, size);
    }
    return names;
}

SavedValue::SavedValue(HKEY root, std::string path, std::string name)
    : root_(root), path_(std::move(path)), name_(std::move(name)) {
    keyExisted_ = KeyExists(root_, path_.c_str());
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        bytes_.resize(size);
        ::RegQueryValueExA(key, name_.c_str(), nullptr, &type_, bytes_.data(), &size);
        existed_ = true;
    }
    ::RegCloseKey(key);
}

SavedValue::~SavedValue() {
    if (!keyExisted_) {
        ::RegDeleteTreeA(root_, path_.c_str());
        return;
    }
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root_, path_.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    if (existed_)
        ::RegSetValueExA(key, name_.c_str(), 0, type_, bytes_.data(),
                         static_cast<DWORD>(bytes_.size()));
    else
        ::RegDeleteValueA(key, name_.c_str());
    ::RegCloseKey(key);
}

void Dump(HKEY root, const std::string& path, const std::string& label,
          std::map<std::string, std::string>& out) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD nameSize = sizeof name, type = 0;
        BYTE data[4096];
        DWORD dataSize = sizeof data;
        if (::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS)
            break;
        std::string shown = std::to_string(type) + ":";
        for (DWORD b = 0; b < dataSize; ++b) shown += std::to_string(data[b]) + " ";
        out[label + "\\" + path + "\\" + std::string(name, nameSize)] = shown;
    }
    std::vector<std::string> children = SubKeys(key);
    ::RegCloseKey(key);
    out[label + "\\" + path + "\\"] = "key";
    for (const std::string& child : children) Dump(root, path + "\\" + child, label, out);
}

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string Hex(std::uint32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(number));
    return text;
}

std::string Sealed(const std::string& body) {
    return body + "; end, checksum " + Hex(Crc32(body)) + "\r\n";
}

}  // namespace e2e
