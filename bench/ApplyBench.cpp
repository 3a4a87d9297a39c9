// One full Apply (write pass and read pass over every page, a change on every page) on the
// in-memory machine: the median of many runs, in microseconds.
//   applybench [RUNS]
#include "bench/Changes.h"
#include "platform/fake/FakePlatform.h"
#include "ui/ScriptedPrompts.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace vt;

void PutText(fake::FakePlatform& sys, HKEY root, const std::string& path, const char* name,
             const std::string& text) {
    std::vector<BYTE> bytes(text.begin(), text.end());
    bytes.push_back(0);
    sys.PutValue(root, path, name, REG_SZ, bytes);
}

// A machine that holds what the pages read on a Windows 98 computer.
void Seed(fake::FakePlatform& sys) {
    sys.PutFile("C:\\MSDOS.SYS",
                "[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\nBootMulti=1\r\n"
                "BootGUI=1\r\nLogo=1\r\n",
                0x07);
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[386Enh]\r\ndevice=*vcd\r\n[vcache]\r\n");
    sys.MakeDirectories("C:\\WINDOWS\\system");
    sys.MakeDirectories("C:\\Program Files\\Veltrim 2000");
    sys.PutFile("C:\\Program Files\\Veltrim 2000\\Config.DAT", std::string(20, '\0'));
    sys.SetCurrentDirectoryA("C:\\Program Files\\Veltrim 2000");
    const char* net = "System\\CurrentControlSet\\Services\\Class\\Net\\";
    PutText(sys, HKEY_LOCAL_MACHINE, std::string(net) + "0000", "DriverDesc", "Dial-Up Adapter");
    PutText(sys, HKEY_LOCAL_MACHINE, std::string(net) + "0001", "DriverDesc", "NE2000 Compatible");
    PutText(sys, HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", "EnableDNS",
            "0");
    PutText(sys, HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates",
            "", "Desktop");
    PutText(sys, HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep", "yes");
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    fake::FakePlatform sys;
    Seed(sys);
    ui::ScriptedPrompts prompts;
    Program program(sys, prompts);
    AttachPages(program, sys, prompts);
    program.main.FormCreate();
    auto& pages = *std::static_pointer_cast<Pages>(program.pages);
    std::vector<double> micros;
    for (int run = 0; run < runs; ++run) {
        bench::ChangeEveryPage(pages, run);
        sys.ClearCalls();  // the log would grow without end
        auto start = std::chrono::steady_clock::now();
        program.main.Apply();
        auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    std::printf(
        "native Apply on the in-memory machine: median of %d runs %.0f us, fastest %.0f us\n", runs,
        micros[micros.size() / 2], micros.front());
    return 0;
}
