// Where the main window's start goes, phase by phase, inside one process under Wine:
// FormCreate with the read of the page the window opens on, making the window with the
// windows of its first page, showing it, then what the idle loop does: the other pages read,
// and their windows made (per window, against a bare CreateWindowEx of a check box). Medians
// of RUNS.
//   startphasesbench [RUNS]     (in a folder of its own: it writes Config.DAT)
#include "compose/PageTable.h"
#include "platform/win32/Win32Platform.h"
#include "ui/ScriptedPrompts.h"
#include "view/win32/FormWindow.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

double Milliseconds() {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int ChildWindows(HWND parent) {
    int count = 0;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

// A bare child window, as the yardstick for one control.
double BareCheckBoxMs(int count) {
    HWND parent = ::CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 500, 400, nullptr,
                                  nullptr, nullptr, nullptr);
    double start = Milliseconds();
    for (int i = 0; i < count; ++i)
        ::CreateWindowExA(
            0, "BUTTON", "A check box", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, 8, 8 + i * 2, 200, 17,
            parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(100 + i)), nullptr, nullptr);
    double ms = (Milliseconds() - start) / count;
    ::DestroyWindow(parent);
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vt;
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    INITCOMMONCONTROLSEX controls{
        sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    ::CoInitialize(nullptr);
    std::ofstream("Config.DAT", std::ios::binary).write(std::string(20, '\0').data(), 20);

    std::vector<double> read, make, show, readRest, rest, perWindow, bare;
    int firstWindows = 0, allWindows = 0;
    for (int run = -2; run < runs; ++run) {  // two rounds to warm up
        Win32Platform platform;
        ui::ScriptedPrompts prompts;
        Program program(platform, prompts);
        AttachPages(program, platform, prompts);
        double t0 = Milliseconds();
        program.main.FormCreate();
        double t1 = Milliseconds();
        view::FormWindow window(program.main, prompts);
        window.Create(nullptr);
        double t2 = Milliseconds();
        program.main.Show();
        double t3 = Milliseconds();
        firstWindows = ChildWindows(window.Handle());
        program.main.ReadPendingPages();  // as the idle loop does first
        double t3b = Milliseconds();
        while (window.CreateSomethingPending()) {
        }
        double t4 = Milliseconds();
        allWindows = ChildWindows(window.Handle());
        double b = BareCheckBoxMs(30);
        program.main.Hide();
        if (run < 0) continue;
        read.push_back(t1 - t0);
        make.push_back(t2 - t1);
        show.push_back(t3 - t2);
        readRest.push_back(t3b - t3);
        rest.push_back(t4 - t3b);
        perWindow.push_back((t4 - t3b) / (allWindows - firstWindows));
        bare.push_back(b);
    }
    std::printf("medians of %d:\n", runs);
    std::printf("  FormCreate: the first page read      %6.1f ms\n", Median(read));
    std::printf("  main window with its first page      %6.1f ms (%d child windows)\n",
                Median(make), firstWindows);
    std::printf("  showing it                           %6.1f ms\n", Median(show));
    std::printf("  the other pages read while idle      %6.1f ms\n", Median(readRest));
    std::printf(
        "  the other pages, made while idle     %6.1f ms (%d child windows, %.2f ms each)\n",
        Median(rest), allWindows - firstWindows, Median(perWindow));
    std::printf("  a bare CreateWindowEx of a check box %6.2f ms\n", Median(bare));
    return 0;
}
