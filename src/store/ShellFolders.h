// The user's folders the program puts shortcuts and folders in, as the machine's shell keeps
// them: with user profiles switched on they live below WINDOWS\Profiles\<user>, and a Windows
// of another language names them in its own words.
#pragma once

#include "platform/Platform.h"

#include <string>
#include <vector>

namespace vt {

struct ShellFolders {
    std::string desktop;    // "C:\WINDOWS\Desktop" on a machine without user profiles
    std::string programs;   // "C:\WINDOWS\Start Menu\Programs"
    std::string startMenu;  // "C:\WINDOWS\Start Menu"
    std::string appData;    // "C:\WINDOWS\Application Data"

    // The places below the Windows directory, where earlier versions put everything; all
    // empty without a Windows directory.
    static ShellFolders BelowWindows(const std::string& windowsDir);

    // What the program makes there (empty when its folder is unknown).
    std::string DesktopLink() const;              // "...\Desktop\Veltrim 2000.lnk"
    std::string QuickLaunchLink() const;          // "...\Quick Launch\Veltrim 2000.lnk"
    std::string Group() const;                    // "...\Programs\Veltrim 2000"
    std::vector<std::string> GroupLinks() const;  // the group's three shortcuts
    std::string ControlPanelFolder() const;       // the Start menu's "Control Panel" folder
    std::string RecycleBinFolder() const;         // the Start menu's "Recycle Bin" folder
};

// Each folder as the shell names it (SHGetSpecialFolderPathA, nothing made), or its place
// below the Windows directory where the shell cannot say.
ShellFolders TakeShellFolders(Platform& sys, const std::string& windowsDir);

}  // namespace vt
