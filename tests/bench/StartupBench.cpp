// Time from process start to the main window being findable and visible: Veltrim.exe
// against a program that opens one window, each started RUNS times; prints the medians.
//   startupbench [RUNS]     (Veltrim.exe and minimalwindow.exe beside it)
#include "e2e/Driver.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string Here() {
    char path[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof path, path);
    return path;
}

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
    e2e::Process process = e2e::Start(exe, Here());
    HWND window = nullptr;
    bool found = e2e::WaitUntil(
        [&] {
            window = ::FindWindowA(className, caption);
            return window && ::IsWindowVisible(window);
        },
        30000);
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
    std::ofstream(Here() + "\\Config.DAT", std::ios::binary)
        .write(std::string(20, '\0').data(), 20);

    std::vector<double> veltrim, minimal, veltrimKb, minimalKb;
    for (int run = 0; run < runs; ++run) {
        double vKb = 0, mKb = 0;
        double v = TimeOneStart(Here() + "\\Veltrim.exe", "TForm1", "Veltrim 2000", &vKb);
        double m = TimeOneStart(Here() + "\\minimalwindow.exe", "MinimalWindow", "Minimal", &mKb);
        veltrimKb.push_back(vKb);
        minimalKb.push_back(mKb);
        if (v < 0 || m < 0) {
            std::fprintf(stderr, "run %d: a window did not appear\n", run + 1);
            return 1;
        }
        veltrim.push_back(v);
        minimal.push_back(m);
        std::printf("run %d: Veltrim.exe %.0f ms, minimal window %.0f ms\n", run + 1, v, m);
    }
    double v = Median(veltrim), m = Median(minimal);
    std::printf("median of %d: Veltrim.exe %.0f ms, minimal window %.0f ms, ratio %.2f\n", runs, v,
                m, v / m);
    double vKb = Median(veltrimKb), mKb = Median(minimalKb);
    std::printf("idle working set: Veltrim.exe %.0f KB, minimal window %.0f KB, ratio %.2f\n", vKb,
                mKb, mKb > 0 ? vKb / mKb : 0.0);
    return 0;
}
