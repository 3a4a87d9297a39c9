// Drives a running Veltrim.exe from another process, as a user would: finds its windows by
// class and caption and its controls by id, clicks, types and answers message boxes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

struct Process {
    HANDLE handle = nullptr;
    DWORD id = 0;
};

// Starts `exe` with `directory` as its current directory, `arguments` after its name.
Process Start(const std::string& exe, const std::string& directory,
              const std::string& arguments = "");
// Waits for the process to end; answers its exit code, or -1 after the timeout.
int WaitExit(Process& process, int timeoutMs);
// Ends the process if it still runs and releases its handle.
void Stop(Process& process);

// Polls `condition` every few milliseconds; answers whether it came true in time.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs);

// A visible top-level window of that class and caption, or nullptr after the timeout.
HWND WaitWindow(const char* className, const char* caption, int timeoutMs);
// Counts the top-level windows of that class and caption, shown or hidden.
int CountWindows(const char* className, const char* caption);
// A visible message box ("#32770") of the process, or nullptr after the timeout.
HWND WaitMessageBox(DWORD processId, int timeoutMs);
// The message text of a message box.
std::string MessageText(HWND box);
// Presses a button of a message box (IDYES, IDNO, IDCANCEL, IDOK).
void Answer(HWND box, int buttonId);

// The control of a form window with the model's name, as "Button5"; waits for it while the
// window still makes the windows of its pages.
HWND Control(HWND form, const char* name);
std::string Text(HWND window);
// A click as the mouse makes it: posted, so a handler that opens a modal box does not
// block the driver.
void Click(HWND control);
// A click whose handlers have all run when it returns; for clicks that open no modal box.
void ClickAndWait(HWND control);
// A double click as the mouse makes it, posted: press, release, the second press as
// WM_LBUTTONDBLCLK, release, all in the middle of the control.
void DoubleClick(HWND control);
// Moves the mouse over the control, near its top left corner; returns when it was handled.
void Hover(HWND control);
// Clicks tab `index` of a tab control with the left mouse button.
void ClickTab(HWND tabs, int index);
// Clicks tab `index` of the form's PageControl1 and waits until that page is shown.
bool ShowPage(HWND form, int index, int timeoutMs);
// For each (page, control): shows the page and clicks the control, waiting for each click;
// answers whether every page showed.
bool ClickOnPages(HWND form, const std::vector<std::pair<int, const char*>>& clicks, int timeoutMs);
// Asks the window to close, as the title-bar button does.
void CloseWindow(HWND window);

// A registry text as the machine holds it: "<no key>" or "<missing>" when it is not there.
std::string RegistryText(HKEY root, const char* path, const char* name);
// Sets a registry text, creating its key.
void SetRegistryText(HKEY root, const char* path, const char* name, const std::string& text);

// Veltrim.exe of the current directory copied into `dir` (made if missing) with a Config.DAT
// that opens no welcome window: the program installed there. Answers whether the copy took.
bool InstallCopy(const std::string& dir);

// Whole files, as bytes.
std::string ReadWhole(const std::string& path);
// The closing line the program vouches for its restore-point files with (CRC-32).
std::uint32_t Crc32(const std::string& bytes);
std::string Hex(std::uint32_t number);
std::string Sealed(const std::string& body);
void WriteWhole(const std::string& path, const std::string& bytes);
// SYSTEM.INI in the Windows directory.
std::string SystemIniPath();
// C:\MSDOS.SYS, and the read-only, hidden and system attributes Windows 98 gives it.
inline constexpr const char* kMsdosSys = "C:\\MSDOS.SYS";
inline constexpr DWORD kMsdosSysProtected =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// Writes C:\MSDOS.SYS and gives it those attributes (set in two steps, as Wine wants).
void PutMsdosSys(const std::string& bytes);

// Those attributes as C:\MSDOS.SYS has them now.
DWORD MsdosSysProtection();

std::string CurrentDirectory();
bool KeyExists(HKEY root, const char* path);
// The names of the key's sub-keys.
std::vector<std::string> SubKeys(HKEY key);

// A raw registry value as the machine holds it, put back when the guard goes: a value that
// was missing is deleted again, a key that was missing is removed with everything below.
class SavedValue {
  public:
    SavedValue(HKEY root, std::string path, std::string name);
    ~SavedValue();
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

  private:
    HKEY root_;
    std::string path_, name_;
    bool keyExisted_ = false, existed_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> bytes_;
};

// Every value and key below the key, as "label\path\name" -> "type:bytes" ("key" for a key),
// for comparing the registry at two moments.
void Dump(HKEY root, const std::string& path, const std::string& label,
          std::map<std::string, std::string>& out);

}  // namespace e2e
