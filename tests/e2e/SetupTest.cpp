// End to end: Setup.exe and its uninstaller on a Windows 98 machine of their own, seeded as the
// default machine before Veltrim 2000 is installed (scripts/wine-run.sh, WINE_RUN_MACHINE).
// Every test leaves the machine as it found it: a snapshot of the whole registry and of drive C
// taken before Setup runs is compared with one taken after the uninstaller has run.
#include "e2e/Driver.h"
#include "imports/PeImage.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

using e2e::Crc32;
using e2e::Hex;
using e2e::ReadWhole;
using e2e::Sealed;
using e2e::WriteWhole;

using e2e::CurrentDirectory;
using e2e::KeyExists;
using e2e::kMsdosSys;
using e2e::MsdosSysProtection;
using e2e::PutMsdosSys;
using e2e::SystemIniPath;

namespace {

constexpr int kWait = 15000;

constexpr int kStartMenuPage = 3;
constexpr int kAddRemovePage = 7;
constexpr int kProgramPage = 12;
constexpr int kRightClickPage = 6;
const char* const kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrim 2000";
const char* const kUninstallList = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";
const char* const kPendingRenames = "PendingFileRenameOperations";
const char* const kDefaultFolder = "C:\\Program Files\\Veltrim 2000";

using Records = std::array<std::uint32_t, 5>;

std::string WindowsDirectory() {
    char path[MAX_PATH] = "";
    ::GetWindowsDirectoryA(path, sizeof path);
    return path;
}

std::string TempDirectory() {
    char path[MAX_PATH] = "";
    ::GetTempPathA(sizeof path, path);
    std::string temp = path;
    if (!temp.empty() && temp.back() == '\\') temp.pop_back();
    return temp;
}

// Where the shell keeps one of the user's folders: below the Windows folder on the default
// machine, below C:\windows\Profiles\<user> on the one with user profiles.
std::string ShellFolder(int folder) {
    char path[MAX_PATH] = "";
    ::SHGetSpecialFolderPathA(nullptr, path, folder, FALSE);
    return path;
}
std::string Group() {
    return ShellFolder(CSIDL_PROGRAMS) + "\\Veltrim 2000";
}
std::string DesktopLink() {
    return ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Veltrim 2000.lnk";
}
std::string QuickLaunchLink() {
    return ShellFolder(CSIDL_APPDATA) +
           "\\Microsoft\\Internet Explorer\\Quick Launch\\Veltrim 2000.lnk";
}
std::string ControlPanelInStartMenu() {
    return ShellFolder(CSIDL_STARTMENU) + "\\Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}";
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Records ReadConfig(const std::string& folder) {
    Records records{};
    std::string bytes = ReadWhole(folder + "\\Config.DAT");
    if (bytes.size() != sizeof records) return {99, 99, 99, 99, 99};
    std::memcpy(records.data(), bytes.data(), sizeof records);
    return records;
}

void WriteConfig(const std::string& folder, const Records& records) {
    WriteWhole(folder + "\\Config.DAT",
               std::string(reinterpret_cast<const char*>(records.data()), sizeof records));
}

std::string RegistryText(HKEY root, const char* path, const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char data[1024] = "";
    DWORD size = sizeof data;
    DWORD type = 0;
    LONG result =
        ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "<missing>";
    return type == REG_SZ ? std::string(data) : "<type " + std::to_string(type) + ">";
}

// --- Snapshots of the machine ----------------------------------------------------------

// Every registry key and value and every file and folder of drive C, each with what it holds:
// a value's type and bytes, a file's attributes, size and time of last write, a folder's
// attributes (its time changes with its contents, which are listed themselves).
using Snapshot = std::map<std::string, std::string>;

std::string HexBytes(const BYTE* data, DWORD size) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (DWORD i = 0; i < size; ++i) {
        text += digits[data[i] >> 4];
        text += digits[data[i] & 15];
    }
    return text;
}

// Wine keeps a copy of the desktop's parameters for the session it runs, made when the first
// window opens; it is Wine's, not the Windows machine's.
bool WineSessionKey(const std::string& path) {
    const std::string tail = "\\Software\\Wine\\Temporary System Parameters";
    return path.size() >= tail.size() &&
           path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
}

void AddKey(Snapshot& out, HKEY root, const std::string& rootName, const std::string& path) {
    std::string name = rootName + (path.empty() ? "" : "\\" + path);
    if (WineSessionKey(name)) return;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.empty() ? nullptr : path.c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        out["key " + name] = "unreadable";
        return;
    }
    out["key " + name] = "";
    std::vector<char> valueName(16384);
    std::vector<BYTE> data;
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(valueName.size());
        DWORD type = 0;
        DWORD size = 0;
        LONG result =
            ::RegEnumValueA(key, i, valueName.data(), &nameSize, nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) break;
        data.assign(size + 2, 0);
        nameSize = static_cast<DWORD>(valueName.size());
        result = ::RegEnumValueA(key, i, valueName.data(), &nameSize, nullptr, &type, data.data(),
                                 &size);
        if (result != ERROR_SUCCESS) break;
        out["value " + name + " [" + std::string(valueName.data(), nameSize) + "]"] =
            std::to_string(type) + ":" + HexBytes(data.data(), size);
    }
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        char child[256] = "";
        DWORD size = sizeof child;
        if (::RegEnumKeyExA(key, i, child, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        children.emplace_back(child, size);
    }
    ::RegCloseKey(key);
    for (const std::string& child : children)
        AddKey(out, root, rootName, path.empty() ? child : path + "\\" + child);
}

void AddFolder(Snapshot& out, const std::string& folder) {
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::string> folders;
    do {
        std::string name = found.cFileName;
        // Wine links the user's profile folders to the Unix home, whose dot files belong to
        // Linux, not to the Windows machine.
        if (name.empty() || name[0] == '.') continue;
        std::string path = folder + "\\" + name;
        std::string attributes = std::to_string(found.dwFileAttributes);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out["folder " + path] = attributes;
            folders.push_back(path);
        } else {
            out["file " + path] = attributes + " " + std::to_string(found.nFileSizeLow) + " " +
                                  std::to_string(found.ftLastWriteTime.dwHighDateTime) + "." +
                                  std::to_string(found.ftLastWriteTime.dwLowDateTime);
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    for (const std::string& path : folders) AddFolder(out, path);
}

Snapshot TakeSnapshot() {
    Snapshot snapshot;
    AddKey(snapshot, HKEY_LOCAL_MACHINE, "HKLM", "");
    AddKey(snapshot, HKEY_USERS, "HKU", "");  // HKEY_CURRENT_USER is one of its keys
    AddFolder(snapshot, "C:");
    return snapshot;
}

// "+ entry" for what came, "- entry" for what went, "* entry" for what changed.
std::vector<std::string> Changes(const Snapshot& before, const Snapshot& after) {
    std::vector<std::string> changes;
    for (const auto& [entry, held] : before) {
        auto now = after.find(entry);
        if (now == after.end())
            changes.push_back("- " + entry);
        else if (now->second != held)
            changes.push_back("* " + entry);
    }
    for (const auto& [entry, held] : after)
        if (!before.count(entry)) changes.push_back("+ " + entry);
    std::sort(changes.begin(), changes.end());
    return changes;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// --- Shortcuts -------------------------------------------------------------------------

struct Link {
    std::string target;
    std::string workingDirectory;
    bool operator==(const Link&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Link& link) {
    return out << "{" << link.target << ", in " << link.workingDirectory << "}";
}

// Reads a shortcut through the shell's link object, as Explorer does.
Link ReadLink(const std::string& path) {
    Link link{"<unreadable>", ""};
    IShellLinkA* shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&shellLink))))
        return link;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[MAX_PATH] = "";
            shellLink->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
            link.target = text;
            text[0] = '\0';
            shellLink->GetWorkingDirectory(text, MAX_PATH);
            link.workingDirectory = text;
        }
        file->Release();
    }
    shellLink->Release();
    return link;
}

// Makes a shortcut as the program's own shortcut boxes do: a target and a working directory.
bool WriteLink(const std::string& path, const std::string& target, const std::string& folder) {
    IShellLinkA* shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&shellLink))))
        return false;
    shellLink->SetPath(target.c_str());
    shellLink->SetWorkingDirectory(folder.c_str());
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        saved = SUCCEEDED(file->Save(wide, TRUE));
        file->Release();
    }
    shellLink->Release();
    return saved;
}

// --- Processes -------------------------------------------------------------------------

e2e::Process StartCommand(const std::string& commandLine, const std::string& directory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    e2e::Process process;
    if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         directory.c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        process.handle = info.hProcess;
        process.id = info.dwProcessId;
    }
    return process;
}

// Runs a command to its end; answers its exit code, or -1 when it did not end in time.
int RunToEnd(const std::string& commandLine, const std::string& directory) {
    e2e::Process process = StartCommand(commandLine, directory);
    int code = e2e::WaitExit(process, kWait);
    e2e::Stop(process);
    return code;
}

// The uninstaller started from the program's folder copies itself into the temporary folder
// ("~nsu*.tmp\Un*.exe"), starts the copy, which does the work, and ends at once. This waits
// for the copies to end.
bool WaitForUninstallerCopies() {
    return e2e::WaitUntil(
        [] {
            HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
            if (snapshot == INVALID_HANDLE_VALUE) return false;
            PROCESSENTRY32 entry{};
            entry.dwSize = sizeof entry;
            bool running = false;
            for (BOOL more = ::Process32First(snapshot, &entry); more;
                 more = ::Process32Next(snapshot, &entry))
                running = running || ::_strnicmp(entry.szExeFile, "Un", 2) == 0;
            ::CloseHandle(snapshot);
            return !running;
        },
        kWait);
}

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    LRESULT count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // Across processes Wine hands the list's text over as it holds it, in wide characters.
        std::vector<wchar_t> wide(1024, L'\0');
        if (::SendMessageW(list, LB_GETTEXTLEN, i, 0) >= 1023) continue;
        ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        char text[2048] = "";
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text, sizeof text, nullptr, nullptr);
        items.emplace_back(text);
    }
    return items;
}

BOOL CALLBACK CollectText(HWND child, LPARAM texts) {
    *reinterpret_cast<std::string*>(texts) += e2e::Text(child) + "\n";
    return TRUE;
}

// The display names the Add/Remove page lists: those of the Uninstall keys that have one.
std::vector<std::string> DisplayNames() {
    std::vector<std::string> names;
    HKEY list = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallList, 0, KEY_READ, &list) != ERROR_SUCCESS)
        return names;
    char key[256] = "";
    for (DWORD i = 0; ::RegEnumKeyA(list, i, key, sizeof key) == ERROR_SUCCESS; ++i) {
        std::string name = RegistryText(
            HKEY_LOCAL_MACHINE, (std::string(kUninstallList) + "\\" + key).c_str(), "DisplayName");
        if (name != "<missing>" && name != "<no key>") names.push_back(name);
    }
    ::RegCloseKey(list);
    return names;
}

// --- The fixture -----------------------------------------------------------------------

class SetupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::CoInitialize(nullptr);
        ASSERT_TRUE(Exists(here_ + "\\Setup.exe")) << "Setup.exe is not beside the test";
        ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey))
            << "this machine must not have Veltrim 2000 yet";
        ASSERT_FALSE(Exists(Group()));
        before_ = TakeSnapshot();
    }

    void TearDown() override {
        for (e2e::Process& process : processes_) e2e::Stop(process);
        // A test that stopped half way still uninstalls, so that the next one starts afresh
        // (the machine is made anew for the next run all the same).
        if (KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) {
            RunToEnd(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString") + " /S",
                     here_);
            WaitForUninstallerCopies();
        }
        ::CoUninitialize();
    }

    int RunSetup(const std::string& arguments) {
        return RunToEnd("\"" + here_ + "\\Setup.exe\" " + arguments, here_);
    }

    // Runs the uninstaller as Add/Remove Programs does, with /S, and waits for its work.
    void Uninstall() {
        std::string command = RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
        ASSERT_EQ(0, RunToEnd(command + " /S", here_)) << command;
        ASSERT_TRUE(WaitForUninstallerCopies());
    }

    // What Setup.exe leaves in `folder`, in the Start-menu group and in the registry.
    void ExpectInstalled(const std::string& folder) {
        EXPECT_EQ(ReadWhole(here_ + "\\Veltrim.exe"), ReadWhole(folder + "\\Veltrim.exe"));
        EXPECT_EQ(ReadWhole(here_ + "\\Readme.html"), ReadWhole(folder + "\\Readme.html"));
        EXPECT_TRUE(Exists(folder + "\\Uninstall.exe"));
        EXPECT_EQ((Link{folder + "\\Veltrim.exe", folder}),
                  ReadLink(Group() + "\\Veltrim 2000.lnk"));
        EXPECT_EQ((Link{folder + "\\Readme.html", folder}), ReadLink(Group() + "\\Readme.lnk"));
        EXPECT_EQ((Link{folder + "\\Uninstall.exe", folder}),
                  ReadLink(Group() + "\\Uninstall.lnk"));
        EXPECT_EQ("Veltrim 2000", RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"));
        EXPECT_EQ("\"" + folder + "\\Uninstall.exe\"",
                  RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    }

    // Nothing of the program is left, and the machine is as it was before Setup ran, but for
    // the uninstaller's own copy: it cannot delete itself, so it asks Windows to delete it
    // and its folder at the next start (Wine keeps that list in the registry; Windows 98 in
    // wininit.ini). Those are checked and deleted here as that start would.
    // `rewritten`: files put back with the same bytes and attributes, whose time of writing
    // cannot be the old one.
    void ExpectAsBefore(const std::string& folder, const std::vector<std::string>& rewritten = {}) {
        EXPECT_FALSE(Exists(folder));
        EXPECT_FALSE(Exists(Group()));
        EXPECT_FALSE(Exists(DesktopLink()));
        EXPECT_FALSE(Exists(QuickLaunchLink()));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

        std::vector<std::string> copies = PendingDeletes();
        std::string prefix = TempDirectory() + "\\~nsu";
        for (const std::string& path : copies)
            EXPECT_EQ(0, ::_strnicmp(path.c_str(), prefix.c_str(), prefix.size()))
                << "only the uninstaller's copy waits for the next start: " << path;
        for (const std::string& path : copies) ::DeleteFileA(path.c_str());
        for (const std::string& path : copies) ::RemoveDirectoryA(path.c_str());
        RestorePendingDeletes();
        std::vector<std::string> changes = Changes(before_, TakeSnapshot());
        for (const std::string& file : rewritten) std::erase(changes, "* file " + file);
        EXPECT_EQ("", Lines(changes));
    }

    // The paths Windows is asked to delete at its next start.
    std::vector<std::string> PendingDeletes() {
        std::vector<std::string> paths;
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return paths;
        std::vector<char> data(32768, '\0');
        DWORD size = static_cast<DWORD>(data.size() - 2);
        if (::RegQueryValueExA(key, kPendingRenames, nullptr, nullptr,
                               reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS) {
            // Pairs of "\??\path" and the new name, empty for a delete.
            std::vector<std::string> names;
            for (const char* p = data.data(); p < data.data() + size; p += std::strlen(p) + 1)
                names.emplace_back(p);
            for (std::size_t i = 0; i + 1 < names.size(); i += 2) {
                EXPECT_EQ("", names[i + 1]) << names[i] << " is to be renamed, not deleted";
                paths.push_back(names[i].rfind("\\??\\", 0) == 0 ? names[i].substr(4) : names[i]);
            }
        }
        ::RegCloseKey(key);
        return paths;
    }

    void RestorePendingDeletes() {
        std::string entry =
            std::string("value HKLM\\") + kSessionManager + " [" + kPendingRenames + "]";
        if (before_.count(entry)) return;  // never the case on this machine
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            ::RegDeleteValueA(key, kPendingRenames);
            ::RegCloseKey(key);
        }
    }

    // The program sets C:\MSDOS.SYS to archive only while it runs and leaves it so when it is
    // closed without "OK"; that is the program's own doing, put back here.
    void RestoreMsdosSys(DWORD attributes) {
        if (::GetFileAttributesA(kMsdosSys) == attributes) return;
        // Hidden and system first: set together with read-only, Wine keeps only read-only.
        ::SetFileAttributesA(kMsdosSys, attributes & ~FILE_ATTRIBUTE_READONLY);
        ::SetFileAttributesA(kMsdosSys, attributes);
    }

    const std::string here_ = CurrentDirectory();
    Snapshot before_;
    std::vector<e2e::Process> processes_;
};

// --- Setup, the first start, the uninstaller -------------------------------------------

TEST_F(SetupTest, InstallsTheProgramWhichStartsAsAFirstRunAndTheUninstallerLeavesNoTrace) {
    ASSERT_EQ(0, RunSetup("/S"));
    const std::string folder = kDefaultFolder;
    ExpectInstalled(folder);
    {
        // The uninstaller Setup wrote must load on Windows 98 as Setup.exe does.
        vt::imports::PeImage uninstaller;
        std::string error;
        ASSERT_TRUE(vt::imports::ReadPeImage(folder + "\\Uninstall.exe", uninstaller, error))
            << error;
        EXPECT_EQ(std::vector<std::string>{},
                  vt::imports::ImportsOutside(uninstaller,
                                              vt::imports::ReadExportList("Win98Exports.txt")));
    }
    EXPECT_EQ((Records{1, 0, 1, 0, 0}), ReadConfig(folder))
        << "ShowSplash 1, FirstRun 1, the reserved records 0";
    std::vector<std::string> expected;
    for (const char* name :
         {"Veltrim.exe", "Readme.html", "Rollout.txt", "Config.DAT", "Uninstall.exe"})
        expected.push_back("+ file " + folder + "\\" + name);
    for (const char* name : {"Veltrim 2000.lnk", "Readme.lnk", "Uninstall.lnk"})
        expected.push_back("+ file " + Group() + "\\" + name);
    expected.push_back("+ folder " + folder);
    expected.push_back("+ folder " + Group());
    expected.push_back(std::string("+ key HKLM\\") + kUninstallKey);
    expected.push_back(std::string("+ value HKLM\\") + kUninstallKey + " [DisplayName]");
    expected.push_back(std::string("+ value HKLM\\") + kUninstallKey + " [UninstallString]");
    expected.push_back(std::string("+ value HKLM\\") + kUninstallKey + " [UsersFiles]");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Lines(expected), Lines(Changes(before_, TakeSnapshot())))
        << "Setup changes nothing else";

    // The first start copies the group's Uninstall.lnk into the program's folder.
    const DWORD msdosSys = ::GetFileAttributesA(kMsdosSys);
    processes_.push_back(e2e::Start(folder + "\\Veltrim.exe", folder));
    HWND welcome = e2e::WaitWindow("TForm3", "Welcome", kWait);
    ASSERT_TRUE(welcome);
    EXPECT_EQ(ReadWhole(Group() + "\\Uninstall.lnk"), ReadWhole(folder + "\\Uninstall.lnk"));
    EXPECT_EQ((Link{folder + "\\Uninstall.exe", folder}), ReadLink(folder + "\\Uninstall.lnk"));
    EXPECT_EQ((Records{1, 0, 0, 0, 0}), ReadConfig(folder)) << "the welcome clears FirstRun";
    e2e::Click(e2e::Control(welcome, "SpeedButton2"));
    HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
    ASSERT_TRUE(main);

    // The Add/Remove page lists the entry Setup made.
    std::vector<std::string> names = DisplayNames();
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "Veltrim 2000"));
    ASSERT_TRUE(e2e::ShowPage(main, kAddRemovePage, kWait));
    HWND list = e2e::Control(main, "ListBox2");
    ASSERT_TRUE(list) << "the Add/Remove page has no list";
    std::vector<std::string> items = ListItems(list);
    EXPECT_NE(items.end(), std::find(items.begin(), items.end(), "Veltrim 2000")) << Lines(items);

    // Neither Setup nor the uninstaller touches the program while it runs. The uninstaller
    // runs in place (_?=) here, so that its exit code and message box are its own.
    const Snapshot running = TakeSnapshot();
    EXPECT_EQ(2, RunSetup("/S"));
    const std::string uninstaller = "\"" + folder + "\\Uninstall.exe\"";
    EXPECT_EQ(2, RunToEnd(uninstaller + " /S _?=" + folder, here_));
    e2e::Process asking = StartCommand(uninstaller + " _?=" + folder, here_);
    HWND box = e2e::WaitMessageBox(asking.id, kWait);
    ASSERT_TRUE(box);
    EXPECT_NE(std::string::npos, e2e::MessageText(box).find("Veltrim 2000 is running"))
        << e2e::MessageText(box);
    EXPECT_EQ("Veltrim 2000 Version 5.0 Uninstall", e2e::Text(box));
    e2e::Answer(box, IDOK);
    EXPECT_EQ(2, e2e::WaitExit(asking, kWait));
    e2e::Stop(asking);
    EXPECT_EQ("", Lines(Changes(running, TakeSnapshot())));

    e2e::CloseWindow(main);
    ASSERT_EQ(0, e2e::WaitExit(processes_.back(), kWait));
    RestoreMsdosSys(msdosSys);

    Uninstall();
    ExpectAsBefore(folder);
}

// The shell's folders of the machine: below the Windows folder without user profiles (the
// default machine), below C:\windows\Profiles\<user> with them (VELTRIM_PROFILE_USER names
// the user). Setup's group, the shortcuts and folders the program makes and the uninstaller
// all meet there, and nothing goes below the Windows folder on a machine with profiles.
TEST_F(SetupTest, WithOrWithoutUserProfilesEverythingGoesWhereTheShellKeepsTheUsersFolders) {
    const char* user = std::getenv("VELTRIM_PROFILE_USER");
    const std::string windows = WindowsDirectory();
    const std::string base = user ? windows + "\\Profiles\\" + user : windows;
    ASSERT_EQ(base + "\\Start Menu\\Programs\\Veltrim 2000", Group()) << "the machine's seeding";
    ASSERT_EQ(base + "\\Desktop\\Veltrim 2000.lnk", DesktopLink());
    ASSERT_EQ(0, RunSetup("/S"));
    const std::string folder = kDefaultFolder;
    ExpectInstalled(folder);
    const std::vector<std::string> belowWindows = {
        windows + "\\Start Menu\\Programs\\Veltrim 2000", windows + "\\Desktop\\Veltrim 2000.lnk",
        windows +
            "\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\Veltrim 2000.lnk",
        windows + "\\Start Menu\\Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}"};

    const DWORD msdosSys = ::GetFileAttributesA(kMsdosSys);
    processes_.push_back(e2e::Start(folder + "\\Veltrim.exe", folder));
    HWND welcome = e2e::WaitWindow("TForm3", "Welcome", kWait);
    ASSERT_TRUE(welcome);
    EXPECT_EQ(ReadWhole(Group() + "\\Uninstall.lnk"), ReadWhole(folder + "\\Uninstall.lnk"));
    e2e::Click(e2e::Control(welcome, "SpeedButton2"));
    HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ClickOnPages(main,
                                  {{kStartMenuPage, "CheckBox58"},
                                   {kProgramPage, "CheckBox45"},
                                   {kProgramPage, "CheckBox46"}},
                                  kWait));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ((Link{folder + "\\Veltrim.exe", folder}), ReadLink(DesktopLink()));
    EXPECT_EQ((Link{folder + "\\Veltrim.exe", folder}), ReadLink(QuickLaunchLink()));
    EXPECT_TRUE(Exists(ControlPanelInStartMenu()));
    if (user) {
        for (const std::string& path : belowWindows) EXPECT_FALSE(Exists(path)) << path;
    }
    // The Start menu's folder is a setting: cleared again, as the uninstaller keeps settings.
    ASSERT_TRUE(e2e::ClickOnPages(main, {{kStartMenuPage, "CheckBox58"}}, kWait));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_FALSE(Exists(ControlPanelInStartMenu()));
    e2e::CloseWindow(main);
    ASSERT_EQ(0, e2e::WaitExit(processes_.back(), kWait));
    RestoreMsdosSys(msdosSys);

    Uninstall();
    ExpectAsBefore(folder);
}

// --- Another folder, a second installation, what the program made ----------------------

TEST_F(SetupTest, AChosenFolderKeepsTheUsersOptionsOnReinstallAndLosesWhatTheProgramMade) {
    const std::string folder = "C:\\Veltrim";
    ASSERT_EQ(0, RunSetup("/S /D=" + folder));
    ExpectInstalled(folder);
    EXPECT_FALSE(Exists(std::string(kDefaultFolder)));

    // What the program makes as it is used: its options, its bookkeeping of right-click
    // entries, its restore points, the kept Uninstall.lnk, the desktop and Quick Launch
    // shortcuts; and a file of the user's own in the program's folder.
    WriteConfig(folder, {0, 7, 0, 8, 9});
    WriteWhole(folder + "\\data.ini", "[.txt]\r\nTitle=Notepad here\r\n");
    const std::string point = folder + "\\Restore\\2000-01-31 13.05.59";
    ASSERT_TRUE(::CreateDirectoryA((folder + "\\Restore").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(point.c_str(), nullptr));
    const std::string copy = "[386Enh]\r\n";
    WriteWhole(folder + "\\Restore\\Points.txt", Sealed("2000-01-31 13.05.59\r\n"));
    WriteWhole(point + "\\Registry.reg", Sealed("REGEDIT4\r\n\r\n"));
    WriteWhole(point + "\\Files.txt",
               Sealed("state\tended\r\nfile\t00000000\t1 SYSTEM.INI\t" + SystemIniPath() + "\t" +
                      std::to_string(copy.size()) + "\t" + Hex(Crc32(copy)) + "\r\n"));
    WriteWhole(point + "\\1 SYSTEM.INI", copy);
    ASSERT_TRUE(::CopyFileA((Group() + "\\Uninstall.lnk").c_str(),
                            (folder + "\\Uninstall.lnk").c_str(), FALSE));
    ASSERT_TRUE(WriteLink(DesktopLink(), folder + "\\Veltrim.exe", folder));
    ASSERT_TRUE(WriteLink(QuickLaunchLink(), folder + "\\Veltrim.exe", folder));
    WriteWhole(folder + "\\My notes.txt", "mine");

    ASSERT_EQ(0, RunSetup("/S /D=" + folder));
    ExpectInstalled(folder);
    EXPECT_EQ((Records{0, 7, 1, 8, 9}), ReadConfig(folder))
        << "the options stay; FirstRun renews the kept Uninstall.lnk at the next start";

    Uninstall();
    EXPECT_FALSE(Exists(DesktopLink()));
    EXPECT_FALSE(Exists(QuickLaunchLink()));
    for (const char* name : {"Veltrim.exe", "Readme.html", "Config.DAT", "data.ini",
                             "Uninstall.lnk", "Restore", "Uninstall.exe"})
        EXPECT_FALSE(Exists(folder + "\\" + name)) << name;
    EXPECT_EQ("mine", ReadWhole(folder + "\\My notes.txt")) << "the user's file stays";
    ::DeleteFileA((folder + "\\My notes.txt").c_str());
    ::RemoveDirectoryA(folder.c_str());
    ExpectAsBefore(folder);
}

// Installed into a folder that holds files of the user's, with the program's names among
// them: Setup keeps them, and the uninstaller deletes only its own files and the restore
// points the program listed, never a folder with the user's files in it.
TEST_F(SetupTest, TheUsersFilesInAUsedFolderSurviveSetupAndTheUninstaller) {
    const std::string folder = "C:\\Tools";
    const std::map<std::string, std::string> users = {
        {"data.ini", "[mine]\r\nkey=1\r\n"}, {"Config.DAT.new", "my own spare"},
        {"Uninstall.log", "my own log"},     {"Restore\\Points.txt", "my own list of points"},
        {"Restore\\notes.txt", "notes"},     {"other.txt", "other"},
    };
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((folder + "\\Restore").c_str(), nullptr));
    for (const auto& [name, text] : users) WriteWhole(folder + "\\" + name, text);
    ASSERT_EQ(0, RunSetup("/S /D=" + folder));
    ExpectInstalled(folder);
    for (const auto& [name, text] : users)
        EXPECT_EQ(text, ReadWhole(folder + "\\" + name)) << name << " after Setup";
    Uninstall();
    for (const auto& [name, text] : users)
        EXPECT_EQ(text, ReadWhole(folder + "\\" + name)) << name << " after the uninstaller";
    for (const char* name : {"Veltrim.exe", "Readme.html", "Uninstall.exe"})
        EXPECT_FALSE(Exists(folder + "\\" + name)) << name;
    for (const auto& [name, text] : users) ::DeleteFileA((folder + "\\" + name).c_str());
    ::RemoveDirectoryA((folder + "\\Restore").c_str());
    ::RemoveDirectoryA(folder.c_str());
    ExpectAsBefore(folder);
}

// A first installation into a folder holding files of the names Setup writes (the user's own
// Readme.html, a Config.DAT of the right size) is refused: nothing is replaced or edited.
TEST_F(SetupTest, SetupRefusesAFolderHoldingTheUsersFilesOfItsNames) {
    const std::string folder = "C:\\Mine";
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    WriteWhole(folder + "\\Readme.html", "<p>my notes</p>");
    WriteWhole(folder + "\\Config.DAT", std::string(20, 'c'));
    const Snapshot before = TakeSnapshot();
    EXPECT_EQ(2, RunSetup("/S /D=" + folder));
    EXPECT_EQ("", Lines(Changes(before, TakeSnapshot())));
    EXPECT_EQ("<p>my notes</p>", ReadWhole(folder + "\\Readme.html"));
    EXPECT_EQ(std::string(20, 'c'), ReadWhole(folder + "\\Config.DAT"));
    ::DeleteFileA((folder + "\\Readme.html").c_str());
    ::DeleteFileA((folder + "\\Config.DAT").c_str());
    // Every name Setup installs counts, the administrators' guide among them.
    WriteWhole(folder + "\\Rollout.txt", "my rollout notes");
    EXPECT_EQ(2, RunSetup("/S /D=" + folder));
    EXPECT_EQ("my rollout notes", ReadWhole(folder + "\\Rollout.txt"));
    ::DeleteFileA((folder + "\\Rollout.txt").c_str());
    ::RemoveDirectoryA(folder.c_str());
}

// A second installation into another folder gets an Add/Remove entry of its own and records
// the user's files it finds there; its uninstaller removes only its own, and the first
// installation keeps its entry.
TEST_F(SetupTest, ASecondInstallationInAnotherFolderKeepsItsOwnRecords) {
    const std::string second = "C:\\Second";
    const std::string secondKey = std::string(kUninstallKey) + " (2)";
    ASSERT_EQ(0, RunSetup("/S"));
    ASSERT_TRUE(::CreateDirectoryA(second.c_str(), nullptr));
    WriteWhole(second + "\\data.ini", "[mine]\r\nkey=1\r\n");
    WriteWhole(second + "\\Uninstall.lnk", "my own shortcut");
    ASSERT_EQ(0, RunSetup("/S /D=" + second));
    EXPECT_EQ("\"" + std::string(kDefaultFolder) + "\\Uninstall.exe\"",
              RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    const std::string command =
        RegistryText(HKEY_LOCAL_MACHINE, secondKey.c_str(), "UninstallString");
    ASSERT_EQ("\"" + second + "\\Uninstall.exe\"", command);
    ASSERT_EQ(0, RunToEnd(command + " /S", here_));
    ASSERT_TRUE(WaitForUninstallerCopies());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, secondKey.c_str()));
    EXPECT_EQ("[mine]\r\nkey=1\r\n", ReadWhole(second + "\\data.ini"));
    EXPECT_EQ("my own shortcut", ReadWhole(second + "\\Uninstall.lnk"));
    EXPECT_FALSE(Exists(second + "\\Veltrim.exe"));
    EXPECT_TRUE(Exists(std::string(kDefaultFolder) + "\\Veltrim.exe"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    for (const char* name : {"data.ini", "Uninstall.lnk"})
        ::DeleteFileA((second + "\\" + name).c_str());
    ::RemoveDirectoryA(second.c_str());
    Uninstall();
    ExpectAsBefore(kDefaultFolder);
}

// The program holds its mutex from its first moment: a message box it shows before its main
// window exists (a logo that is no bitmap) keeps Setup and the uninstaller out too.
TEST_F(SetupTest, NeitherRunsWhileTheProgramShowsAStartUpMessage) {
    ASSERT_EQ(0, RunSetup("/S"));
    const std::string folder = kDefaultFolder;
    WriteConfig(folder, {0, 0, 0, 0, 0});  // no welcome window
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    const std::string logo = std::string(windows) + "\\system\\oemlogo.bmp";
    WriteWhole(logo, "no picture");
    processes_.push_back(e2e::Start(folder + "\\Veltrim.exe", folder));
    HWND box = e2e::WaitMessageBox(processes_.back().id, kWait);
    ASSERT_TRUE(box);
    EXPECT_NE(std::string::npos, e2e::MessageText(box).find("oemlogo.bmp"));
    const Snapshot running = TakeSnapshot();
    EXPECT_EQ(2, RunSetup("/S"));
    EXPECT_EQ(2, RunToEnd("\"" + folder + "\\Uninstall.exe\" /S _?=" + folder, here_));
    EXPECT_EQ("", Lines(Changes(running, TakeSnapshot())));
    e2e::Answer(box, IDOK);
    HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
    ASSERT_TRUE(main);
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.back(), kWait));
    ::DeleteFileA(logo.c_str());
    Uninstall();
    ExpectAsBefore(folder);
}

// The uninstaller asked to put Windows back (/PUTBACK) undoes every Apply through the
// program's own Undo: the machine is as it was before Setup. Without it the settings stay.
TEST_F(SetupTest, TheUninstallerPutsWindowsBackOnlyWhenAsked) {
    for (bool putBack : {false, true}) {
        const std::string msdosSys = ReadWhole(kMsdosSys);
        const DWORD attributes = ::GetFileAttributesA(kMsdosSys);
        std::vector<std::unique_ptr<e2e::SavedValue>> kept;
        kept.push_back(
            std::make_unique<e2e::SavedValue>(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep"));
        kept.push_back(std::make_unique<e2e::SavedValue>(HKEY_CURRENT_USER,
                                                         "Control Panel\\Desktop", "SmoothScroll"));
        ASSERT_EQ(0, RunSetup("/S"));
        const std::string folder = kDefaultFolder;
        WriteConfig(folder, {0, 0, 0, 0, 0});  // no welcome window
        e2e::Process program = e2e::Start(folder + "\\Veltrim.exe", folder);
        processes_.push_back(program);
        HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
        ASSERT_TRUE(main);
        ASSERT_TRUE(e2e::ClickOnPages(main, {{0, "CheckBox4"}, {1, "CheckBox15"}}, kWait));
        e2e::ClickAndWait(e2e::Control(main, "Button5"));
        ASSERT_TRUE(e2e::ClickOnPages(main, {{2, "CheckBox37"}}, kWait));
        e2e::ClickAndWait(e2e::Control(main, "Button5"));
        e2e::Click(e2e::Control(main, "Button4"));
        ASSERT_EQ(0, e2e::WaitExit(processes_.back(), kWait));
        const std::string changed = ReadWhole(kMsdosSys);
        ASSERT_NE(msdosSys, changed);

        std::string command = RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
        ASSERT_EQ(0, RunToEnd(command + " /S" + (putBack ? " /PUTBACK" : ""), here_));
        ASSERT_TRUE(WaitForUninstallerCopies());
        EXPECT_EQ(putBack ? msdosSys : changed, ReadWhole(kMsdosSys)) << putBack;
        EXPECT_EQ(e2e::kMsdosSysProtected, e2e::MsdosSysProtection());
        EXPECT_EQ(attributes, ::GetFileAttributesA(kMsdosSys));
        if (putBack) {
            ExpectAsBefore(folder, {kMsdosSys});
        } else {
            EXPECT_FALSE(Exists(folder)) << "no user file: the folder goes";
            PutMsdosSys(msdosSys);  // the settings back as they were, for the next round
            ::SetFileAttributesA(kMsdosSys, attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
            ::SetFileAttributesA(kMsdosSys, attributes);
            kept.clear();
        }
    }
}

// A write of the program's cut off: the uninstaller leaves it to the program (exit code 2)
// and removes nothing, the restore point that can put it back first of all. Once the program
// has settled it, the uninstaller runs.
TEST_F(SetupTest, TheUninstallerRefusesWhileAWriteOfTheProgramIsCutOff) {
    std::vector<std::unique_ptr<e2e::SavedValue>> kept;
    kept.push_back(
        std::make_unique<e2e::SavedValue>(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep"));
    ASSERT_EQ(0, RunSetup("/S"));
    const std::string folder = kDefaultFolder;
    WriteConfig(folder, {0, 0, 0, 0, 0});  // no welcome window
    processes_.push_back(e2e::Start(folder + "\\Veltrim.exe", folder));
    HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ClickOnPages(main, {{1, "CheckBox15"}}, kWait));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    e2e::Click(e2e::Control(main, "Button4"));
    ASSERT_EQ(0, e2e::WaitExit(processes_.back(), kWait));
    // The point as a cut would leave it: its pass never marked ended.
    std::string list = ReadWhole(folder + "\\Restore\\Points.txt");
    std::string name = list.substr(list.find("\r\n") + 2, 19);
    const std::string index = folder + "\\Restore\\" + name + "\\Files.txt";
    const std::string ended = ReadWhole(index);
    std::string body = ended.substr(0, ended.rfind("; end, checksum "));
    ASSERT_NE(std::string::npos, body.find("state\tended\r\n"));
    body.replace(body.find("state\tended"), 12, "state\topen");
    WriteWhole(index, Sealed(body));
    const Snapshot cut = TakeSnapshot();
    EXPECT_EQ(2, RunToEnd("\"" + folder + "\\Uninstall.exe\" /S /PUTBACK _?=" + folder, here_));
    EXPECT_EQ("", Lines(Changes(cut, TakeSnapshot())));
    WriteWhole(index, ended);  // as the program's next start leaves it
    kept.clear();
    Uninstall();
    ExpectAsBefore(folder);
}

// --- The first page --------------------------------------------------------------------

TEST_F(SetupTest, TheFirstPageShowsTheProductAndItsVersionAndCancelInstallsNothing) {
    e2e::Process setup = StartCommand("\"" + here_ + "\\Setup.exe\"", here_);
    processes_.push_back(setup);
    HWND window = e2e::WaitWindow("#32770", "Veltrim 2000 Version 5.0 Setup", kWait);
    ASSERT_TRUE(window);
    std::string texts;
    ::EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
    EXPECT_NE(std::string::npos, texts.find("Welcome to Veltrim 2000\r\nVersion 5.0")) << texts;
    HWND cancel = ::GetDlgItem(window, IDCANCEL);
    ASSERT_TRUE(cancel);
    e2e::Click(cancel);
    EXPECT_NE(-1, e2e::WaitExit(processes_.back(), kWait));
    EXPECT_EQ("", Lines(Changes(before_, TakeSnapshot())));
}

// --- A Japanese Windows (code page 932) ------------------------------------------------

// 表 is 95 5C: a folder named C:\VT表 ends with a backslash byte that is half a character.
// Setup, the program, its restore points and the uninstaller keep to that folder, and a
// right-click entry named 表示 is made and removed by its whole name.
TEST_F(SetupTest, OnAJapaneseMachineAFolderEndingInATrailByteIsTheProgramsOwn) {
    const char* wanted = std::getenv("VT_CODE_PAGE");
    if (!wanted || std::string(wanted) != "932") GTEST_SKIP() << "for the Japanese machine";
    ASSERT_EQ(932u, ::GetACP()) << "the machine was not started with a Japanese locale";
    const std::string folder = "C:\\VT\x95\x5C", sibling = "C:\\VT\x95Restore";
    const std::string entry = "\x95\x5C\x8E\xA6", verb = "txtfile\\Shell\\" + entry;
    ASSERT_EQ(0, RunSetup("/S /D=" + folder));
    ExpectInstalled(folder);
    WriteConfig(folder, {0, 0, 0, 0, 0});  // no welcome window

    const DWORD msdosAttributes = ::GetFileAttributesA(kMsdosSys);
    processes_.push_back(e2e::Start(folder + "\\Veltrim.exe", folder));
    HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, kRightClickPage, kWait));
    e2e::ClickAndWait(e2e::Control(main, "CheckBox79"));  // txt files
    const std::string command = "C:\\windows\\notepad.exe \"%1\"";
    ::SendMessageA(e2e::Control(main, "Edit13"), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(command.c_str()));
    ::SendMessageA(e2e::Control(main, "Edit12"), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(entry.c_str()));
    e2e::ClickAndWait(e2e::Control(main, "Button6"));
    EXPECT_EQ(command, RegistryText(HKEY_CLASSES_ROOT, (verb + "\\command").c_str(), ""));
    e2e::ClickAndWait(e2e::Control(main, "Button8"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, verb.c_str()));
    e2e::Click(e2e::Control(main, "Button4"));
    ASSERT_EQ(0, e2e::WaitExit(processes_.back(), kWait));
    RestoreMsdosSys(msdosAttributes);

    const std::string msdosSys = ReadWhole(kMsdosSys);
    WriteWhole(folder + "\\menu.vts",
               "Veltrim 2000 settings profile, version 1\r\n; code page 932\r\n"
               "[Boot]\r\nDisplay Windows Boot Menu=1\r\nBoot menu delay=5\r\n");
    const std::string run = "\"" + folder + "\\Veltrim.exe\" ";
    ASSERT_EQ(7, RunToEnd(run + "/apply menu.vts /log menu.log", folder))
        << ReadWhole(folder + "\\menu.log");
    EXPECT_NE(std::string::npos, ReadWhole(kMsdosSys).find("BootMenuDelay=5"));
    WriteWhole(folder + "\\western.vts",
               "Veltrim 2000 settings profile, version 1\r\n; code page 1252\r\n"
               "[OEM Info]\r\nManufacturer=Caf\xE9\r\n");
    EXPECT_EQ(2, RunToEnd(run + "/apply western.vts /log menu.log", folder))
        << "a profile of another code page with letters beyond ASCII is refused";
    const int undone = RunToEnd(run + "/undo /log menu.log", folder);
    EXPECT_TRUE(undone == 0 || undone == 7) << ReadWhole(folder + "\\menu.log");
    EXPECT_EQ(msdosSys, ReadWhole(kMsdosSys));
    EXPECT_TRUE(Exists(folder + "\\Restore\\Points.txt"));
    EXPECT_FALSE(Exists(sibling)) << "restore points beside the program's folder";

    for (const char* name : {"menu.vts", "western.vts", "menu.log"})
        ::DeleteFileA((folder + "\\" + name).c_str());
    Uninstall();
    EXPECT_FALSE(Exists(sibling));
    ExpectAsBefore(folder, {kMsdosSys});
}

}  // namespace
