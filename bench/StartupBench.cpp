// Time from process start to the main window being findable and visible, and the idle
// working set: Veltrim.exe against a program that opens one window, and that program again
// loading Veltrim's DLLs; started alternately RUNS times each; prints the medians.
//   startupbench [RUNS]     (Veltrim.exe, minimalwindow.exe and minimalimports.exe beside it)
#include "e2e/Driver.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The working set of an idle window's process, in kilobytes (0 when it cannot be asked).
double WorkingSetKb(HANDLE process) {
    ::Sleep(300);  // let the window settle
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.WorkingSetSize) / 1024.0;
}

// One start: milliseconds until the window is visible, or a negative number on failure;
// `memoryKb` receives the idle working set.
double TimeOneStart(const std::string& exe, const char* className, const char* caption,
                    double* memoryKb) {
    double start = Seconds();
    e2e::Process process = e2e::Start(exe, e2e::CurrentDirectory());
    // Polled every millisecond: the drivers' 10 ms wait would round every start up by up to
    // a whole step, which blurs the small program most.
    HWND window = nullptr;
    bool found = false;
    while (!found && Seconds() - start < 30.0) {
        window = ::FindWindowA(className, caption);
        found = window && ::IsWindowVisible(window);
        if (!found) ::Sleep(1);
    }
    double elapsed = (Seconds() - start) * 1000.0;
    if (found && memoryKb) *memoryKb = WorkingSetKb(process.handle);
    if (found) e2e::CloseWindow(window);
    if (e2e::WaitExit(process, 10000) < 0) found = false;
    e2e::Stop(process);
    return found ? elapsed : -1.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    // The program without its welcome window: ShowSplash 0, FirstRun 0.
    std::ofstream(e2e::CurrentDirectory() + "\\Config.DAT", std::ios::binary)
        .write(std::string(20, '\0').data(), 20);

    struct Program {
        const char* label;
        const char* exe;
        const char* className;
        const char* caption;
        std::vector<double> ms, kb;
    };
    std::vector<Program> programs = {
        {"Veltrim.exe", "Veltrim.exe", "TForm1", "Veltrim 2000", {}, {}},
        {"one window", "minimalwindow.exe", "MinimalWindow", "Minimal", {}, {}},
        {"one window + Veltrim's DLLs", "minimalimports.exe", "MinimalImports", "Minimal", {}, {}},
    };
    for (int run = 0; run < runs; ++run) {
        std::printf("run %d:", run + 1);
        for (Program& program : programs) {
            double kb = 0;
            double ms = TimeOneStart(e2e::CurrentDirectory() + "\\" + program.exe,
                                     program.className, program.caption, &kb);
            if (ms < 0) {
                std::fprintf(stderr, "\n%s: the window did not appear\n", program.label);
                return 1;
            }
            program.ms.push_back(ms);
            program.kb.push_back(kb);
            std::printf(" %s %.0f ms,", program.label, ms);
        }
        std::printf("\n");
    }
    double reference = Median(programs[1].ms), referenceKb = Median(programs[1].kb);
    std::printf("medians of %d, ratio to the one-window program:\n", runs);
    for (Program& program : programs) {
        double ms = Median(program.ms), kb = Median(program.kb);
        std::printf("  %-28s start-up %4.0f ms (%.2f), idle working set %6.0f KB (%.2f)\n",
                    program.label, ms, ms / reference, kb, referenceKb > 0 ? kb / referenceKb : 0);
    }
    return 0;
}
