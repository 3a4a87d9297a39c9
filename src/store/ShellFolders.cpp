#include "store/ShellFolders.h"

#include "store/Paths.h"

namespace vt {
namespace {

std::string Below(const std::string& folder, const char* name) {
    return folder.empty() ? std::string() : folder + name;
}

std::string AskShell(Platform& sys, int folder, const std::string& fallback) {
    char path[MAX_PATH + 1] = {};
    if (!sys.SHGetSpecialFolderPathA(0, path, folder, FALSE) || !path[0]) return fallback;
    // Whatever spelling the shell keeps ("C:\\windows\\..\\windows\\Desktop"), one name.
    return NormalisedPath(path);
}

}  // namespace

ShellFolders ShellFolders::BelowWindows(const std::string& windowsDir) {
    const std::string windows = TrimTrailing(windowsDir, '\\');
    return {Below(windows, "\\Desktop"), Below(windows, "\\Start Menu\\Programs"),
            Below(windows, "\\Start Menu"), Below(windows, "\\Application Data")};
}

std::string ShellFolders::DesktopLink() const {
    return Below(desktop, "\\Veltrim 2000.lnk");
}

std::string ShellFolders::QuickLaunchLink() const {
    return Below(appData, "\\Microsoft\\Internet Explorer\\Quick Launch\\Veltrim 2000.lnk");
}

std::string ShellFolders::Group() const {
    return Below(programs, "\\Veltrim 2000");
}

std::vector<std::string> ShellFolders::GroupLinks() const {
    if (programs.empty()) return {};
    return {Group() + "\\Veltrim 2000.lnk", Group() + "\\Readme.lnk", Group() + "\\Uninstall.lnk"};
}

std::string ShellFolders::ControlPanelFolder() const {
    return Below(startMenu, "\\Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}");
}

std::string ShellFolders::RecycleBinFolder() const {
    return Below(startMenu, "\\Recycle Bin.{645FF040-5081-101B-9F08-00AA002F954E}");
}

ShellFolders TakeShellFolders(Platform& sys, const std::string& windowsDir) {
    const ShellFolders literal = ShellFolders::BelowWindows(windowsDir);
    return {AskShell(sys, CSIDL_DESKTOPDIRECTORY, literal.desktop),
            AskShell(sys, CSIDL_PROGRAMS, literal.programs),
            AskShell(sys, CSIDL_STARTMENU, literal.startMenu),
            AskShell(sys, CSIDL_APPDATA, literal.appData)};
}

}  // namespace vt
