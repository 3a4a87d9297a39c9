// One full Apply of the real program under Wine against the same platform calls made bare.
// The store calls of one Apply (changes on every page, the write pass with its restore point,
// the read pass) are recorded below the program, then replayed straight against the Win32
// functions; the two are timed alternately, median of RUNS each.
//   applyreplaybench [RUNS]     (in a folder of its own: it writes Config.DAT and Restore)
#include "bench/CallRecorder.h"
#include "bench/Changes.h"
#include "platform/win32/Win32Platform.h"
#include "ui/ScriptedPrompts.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using vt::bench::Op;
using vt::bench::RecordedCall;

double Seconds() {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

const char* Ptr(const std::optional<std::string>& text) {
    return text ? text->c_str() : nullptr;
}

// Replays a log with the Win32 functions themselves. The seam's three composite calls (a
// whole file read or written, a shortcut made) are replayed through the real platform's
// own code, which is that bare sequence of calls.
class Replay {
  public:
    // Answers the result of each call, in order; with `spentMs`, adds the time of each kind
    // of call to it (timing each call costs time of its own, so the ratio is taken without).
    std::vector<long long> Run(const std::vector<RecordedCall>& log,
                               std::map<Op, double>* spentMs = nullptr) {
        std::vector<long long> results;
        results.reserve(log.size());
        keys_.clear();
        for (const RecordedCall& call : log) {
            double start = spentMs ? Seconds() : 0;
            results.push_back(One(call));
            if (spentMs) (*spentMs)[call.op] += (Seconds() - start) * 1000.0;
        }
        return results;
    }

  private:
    ::HKEY Key(std::uintptr_t number) {
        if (number >= 0x80000000u) return reinterpret_cast<::HKEY>(number);
        auto found = keys_.find(number);
        return found == keys_.end() ? nullptr : found->second;
    }

    long long One(const RecordedCall& call) {
        char buffer[32768];
        ::DWORD a = 0, b = 0, c = 0;
        switch (call.op) {
            case Op::RegOpenKeyExA:
            case Op::RegCreateKeyExA: {
                ::HKEY opened = nullptr;
                LONG rc = call.op == Op::RegOpenKeyExA
                              ? ::RegOpenKeyExA(Key(call.key), Ptr(call.text[0]), 0, call.number[0],
                                                &opened)
                              : ::RegCreateKeyExA(Key(call.key), Ptr(call.text[0]), 0, nullptr,
                                                  REG_OPTION_NON_VOLATILE, call.number[0], nullptr,
                                                  &opened, nullptr);
                if (rc == ERROR_SUCCESS && call.opened) keys_[call.opened] = opened;
                return rc;
            }
            case Op::RegQueryValueExA:
                a = call.number[0];
                return ::RegQueryValueExA(
                    Key(call.key), Ptr(call.text[0]), nullptr, call.given & 1 ? &b : nullptr,
                    call.given & 2 ? reinterpret_cast<BYTE*>(buffer) : nullptr,
                    call.given & 4 ? &a : nullptr);
            case Op::RegSetValueExA:
                return ::RegSetValueExA(Key(call.key), Ptr(call.text[0]), 0, call.number[0],
                                        call.given & 1 ? call.data.data() : nullptr,
                                        call.number[1]);
            case Op::RegDeleteValueA:
                return ::RegDeleteValueA(Key(call.key), Ptr(call.text[0]));
            case Op::RegDeleteKeyA:
                return ::RegDeleteKeyA(Key(call.key), Ptr(call.text[0]));
            case Op::RegEnumKeyExA:
                a = call.number[1];
                return ::RegEnumKeyExA(Key(call.key), call.number[0], buffer, &a, nullptr, nullptr,
                                       nullptr, nullptr);
            case Op::RegQueryInfoKeyA:
                return ::RegQueryInfoKeyA(
                    Key(call.key), nullptr, nullptr, nullptr, call.given & 1 ? &a : nullptr,
                    call.given & 2 ? &b : nullptr, nullptr, call.given & 4 ? &c : nullptr, nullptr,
                    nullptr, nullptr, nullptr);
            case Op::RegEnumValueA: {
                a = call.number[1];
                c = call.number[2];
                static BYTE data[65536];
                return ::RegEnumValueA(Key(call.key), call.number[0], buffer, &a, nullptr,
                                       call.given & 1 ? &b : nullptr,
                                       call.given & 2 ? data : nullptr,
                                       call.given & 4 ? &c : nullptr);
            }
            case Op::RegCloseKey: {
                LONG rc = ::RegCloseKey(Key(call.key));
                keys_.erase(call.key);
                return rc;
            }
            case Op::RegFlushKey:
                return ::RegFlushKey(Key(call.key));
            case Op::GetPrivateProfileStringA: {
                std::string fallback(call.data.begin(), call.data.end());
                return ::GetPrivateProfileStringA(Ptr(call.text[0]), Ptr(call.text[1]),
                                                  call.given & 1 ? fallback.c_str() : nullptr,
                                                  buffer, call.number[0], Ptr(call.text[2]));
            }
            case Op::WritePrivateProfileStringA: {
                std::string value(call.data.begin(), call.data.end());
                return ::WritePrivateProfileStringA(Ptr(call.text[0]), Ptr(call.text[1]),
                                                    call.given & 1 ? value.c_str() : nullptr,
                                                    Ptr(call.text[2]));
            }
            case Op::GetWindowsDirectoryA:
                return ::GetWindowsDirectoryA(buffer, call.number[0]);
            case Op::GetCurrentDirectoryA:
                return ::GetCurrentDirectoryA(call.number[0], buffer);
            case Op::SetCurrentDirectoryA:
                return ::SetCurrentDirectoryA(Ptr(call.text[0]));
            case Op::GetFileAttributesA:
                return ::GetFileAttributesA(Ptr(call.text[0]));
            case Op::SetFileAttributesA:
                return ::SetFileAttributesA(Ptr(call.text[0]), call.number[0]);
            case Op::DeleteFileA:
                return ::DeleteFileA(Ptr(call.text[0]));
            case Op::CreateDirectoryA:
                return ::CreateDirectoryA(Ptr(call.text[0]), nullptr);
            case Op::RemoveDirectoryA:
                return ::RemoveDirectoryA(Ptr(call.text[0]));
            case Op::CopyFileA:
                return ::CopyFileA(Ptr(call.text[0]), Ptr(call.text[1]),
                                   static_cast<BOOL>(call.number[0]));
            case Op::MoveFileA:
                return ::MoveFileA(Ptr(call.text[0]), Ptr(call.text[1]));
            case Op::ReadFileBytes: {
                std::vector<vt::BYTE> bytes;
                return platform_.ReadFileBytes(Ptr(call.text[0]), &bytes, ~DWORD{0});
            }
            case Op::WriteFileBytes:
                return platform_.WriteFileBytes(Ptr(call.text[0]), call.data);
            case Op::FlushFile:
                return platform_.FlushFile(Ptr(call.text[0]));
            case Op::LZCopyFileA:
                return platform_.LZCopyFileA(Ptr(call.text[0]), Ptr(call.text[1]));
            case Op::CreateShellLink:
                return platform_.CreateShellLink(Ptr(call.text[0]), Ptr(call.text[1]),
                                                 Ptr(call.text[2]));
            case Op::GlobalMemoryStatus: {
                ::MEMORYSTATUS status{};
                status.dwLength = sizeof status;
                ::GlobalMemoryStatus(&status);
                return 0;
            }
            case Op::GetVersionExA: {
                ::OSVERSIONINFOA info{};
                info.dwOSVersionInfoSize = sizeof info;
                return ::GetVersionExA(&info);
            }
            case Op::GetLastError:
                ::GetLastError();
                return 0;
            default:  // a window, menu or shell call: counted, not replayed
                return call.result;
        }
    }

    std::map<std::uintptr_t, ::HKEY> keys_;
    vt::Win32Platform platform_;
};

struct Tally {
    int calls = 0;
    int differing = 0;  // replayed with another result than recorded
};

}  // namespace

int main(int argc, char** argv) {
    using namespace vt;
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    ::CoInitialize(nullptr);  // shortcuts
    std::ofstream("Config.DAT", std::ios::binary).write(std::string(20, '\0').data(), 20);

    Win32Platform real;
    bench::CallRecorder recorder(real);
    ui::ScriptedPrompts prompts;
    Program program(recorder, prompts);
    AttachPages(program, recorder, prompts);
    program.main.FormCreate();
    auto& pages = *std::static_pointer_cast<Pages>(program.pages);

    // The first Apply makes the folders of the restore points; the second is recorded.
    bench::ChangeEveryPage(pages, 0);
    program.main.Apply();
    bench::ChangeEveryPage(pages, 1);
    recorder.recording = true;
    program.main.Apply();
    recorder.recording = false;
    std::vector<RecordedCall> log = std::move(recorder.log);

    Replay replay;
    std::vector<double> applyMs, replayMs;
    std::vector<long long> results;
    std::map<Op, double> spentMs;
    // The first rounds share the machine with Wine's own services starting up: not counted.
    const int warmUp = 5;
    for (int run = -warmUp; run < runs; ++run) {
        bench::ChangeEveryPage(pages, run);
        double start = Seconds();
        program.main.Apply();
        double applied = (Seconds() - start) * 1000.0;
        start = Seconds();
        results = replay.Run(log);
        double replayed = (Seconds() - start) * 1000.0;
        if (run < 0) continue;
        applyMs.push_back(applied);
        replayMs.push_back(replayed);
    }

    for (int run = 0; run < runs; ++run) replay.Run(log, &spentMs);
    std::map<Op, Tally> tally;
    for (size_t i = 0; i < log.size(); ++i) {
        Tally& t = tally[log[i].op];
        ++t.calls;
        if (results[i] != log[i].result) ++t.differing;
    }
    std::printf("platform calls of one Apply: %zu (count, mean bare time per replay)\n",
                log.size());
    for (auto& [op, t] : tally) {
        std::string note =
            t.differing ? " (" + std::to_string(t.differing) + " with another result)" : "";
        std::printf("  %-28s %5d %7.2f ms%s\n", bench::OpName(op), t.calls, spentMs[op] / runs,
                    note.c_str());
    }
    double apply = Median(applyMs), bare = Median(replayMs);
    std::printf("median of %d: Apply %.1f ms, the same calls made bare %.1f ms, ratio %.2f\n", runs,
                apply, bare, apply / bare);
    return 0;
}
