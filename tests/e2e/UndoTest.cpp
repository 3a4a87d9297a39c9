// End to end: "Undo last change..." of the main window's system menu on Wine set up as
// Windows 98, and the restore point's Registry.reg imported with the Registry Editor.
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

using e2e::Dump;
using e2e::kMsdosSys;
using e2e::PutMsdosSys;
using e2e::ReadWhole;
using e2e::SavedValue;
using e2e::SystemIniPath;
using e2e::WriteWhole;

namespace {

constexpr int kWait = 15000;
// The first item the program adds to a system menu (FormWindow::kFirstSystemItem).
constexpr WPARAM kUndoCommand = 0x0110;

std::map<std::string, std::string> RegistryExport() {
    std::map<std::string, std::string> registry;
    const std::pair<HKEY, const char*> trees[] = {
        {HKEY_CURRENT_USER, "Control Panel"},
        {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer"},
    };
    for (auto [root, path] : trees)
        Dump(root, path, std::to_string(reinterpret_cast<std::uintptr_t>(root)), registry);
    // Wine registers its display device and driver (dated anew) when a window first opens in a
    // session of its server: Wine's keys, not the program's.
    const std::string control =
        std::to_string(reinterpret_cast<std::uintptr_t>(HKEY_LOCAL_MACHINE)) +
        "\\System\\CurrentControlSet\\Control\\";
    std::erase_if(registry, [&](const auto& entry) {
        return entry.first.starts_with(control + "DeviceClasses\\") ||
               entry.first.starts_with(control + "Video\\") ||
               entry.first.starts_with(control + "Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\");
    });
    return registry;
}

// The entries that differ, one per line ("-" as in `before`, "+" as now): empty when alike.
std::string Differences(const std::map<std::string, std::string>& before,
                        const std::map<std::string, std::string>& now) {
    std::string lines;
    for (const auto& [key, value] : before)
        if (!now.contains(key) || now.at(key) != value) lines += "- " + key + " = " + value + "\n";
    for (const auto& [key, value] : now)
        if (!before.contains(key) || before.at(key) != value)
            lines += "+ " + key + " = " + value + "\n";
    return lines;
}

class UndoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        msdosSys_ = ReadWhole(kMsdosSys);
        ASSERT_FALSE(msdosSys_.empty()) << "the machine is not seeded";
        PutMsdosSys(msdosSys_);
        systemIni_ = ReadWhole(SystemIniPath());
        char current[MAX_PATH] = "";
        ::GetCurrentDirectoryA(sizeof current, current);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::string(current) + "\\Undo" + test->name();
        ASSERT_TRUE(e2e::InstallCopy(dir_));
        const char* policies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
        kept_.push_back(
            std::make_unique<SavedValue>(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep"));
        kept_.push_back(std::make_unique<SavedValue>(HKEY_CURRENT_USER, "Control Panel\\Desktop",
                                                     "SmoothScroll"));
        kept_.push_back(std::make_unique<SavedValue>(HKEY_CURRENT_USER, policies, "NoRun"));
    }

    void TearDown() override {
        e2e::Stop(process_);
        kept_.clear();
        PutMsdosSys(msdosSys_);
        WriteWhole(SystemIniPath(), systemIni_);
    }

    // Starts the program, changes one setting on each of the first four pages and applies
    // (and waits for the Apply to end, unless told not to).
    HWND ApplyOneChangePerPage(bool wait = true) {
        process_ = e2e::Start(dir_ + "\\Veltrim.exe", dir_);
        HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
        if (!main) return nullptr;
        EXPECT_TRUE(e2e::ClickOnPages(
            main,
            {
                {0, "CheckBox4"},   // Boot: "Disable Autocreate Bootlog File" (MSDOS.SYS)
                {1, "CheckBox15"},  // System: "Enable Beep on Error"
                {2, "CheckBox37"},  // Windows: "Enable Smooth Scrolling"
                {3, "CheckBox51"},  // Start Menu: "Remove the Run Menu"
            },
            kWait));
        if (wait)
            e2e::ClickAndWait(e2e::Control(main, "Button5"));
        else
            e2e::Click(e2e::Control(main, "Button5"));
        return main;
    }

    // The names listed in Restore\Points.txt, oldest first.
    std::vector<std::string> Points() const {
        std::vector<std::string> names;
        std::string text = ReadWhole(dir_ + "\\Restore\\Points.txt"), line;
        for (char c : text) {
            if (c == '\r') continue;
            if (c != '\n') {
                line += c;
                continue;
            }
            if (!line.empty() && line[0] != ';') names.push_back(line);
            line.clear();
        }
        return names;
    }

    void CloseWithCancel(HWND main) {
        e2e::Click(e2e::Control(main, "Button4"));
        EXPECT_EQ(0, e2e::WaitExit(process_, kWait));
    }

    std::string dir_, msdosSys_, systemIni_;
    e2e::Process process_;
    std::vector<std::unique_ptr<SavedValue>> kept_;
};

TEST_F(UndoTest, UndoLastApplyFromTheSystemMenuPutsBackTheRegistryAndTheFiles) {
    std::map<std::string, std::string> before = RegistryExport();
    HWND main = ApplyOneChangePerPage();
    ASSERT_TRUE(main);
    ASSERT_NE(before, RegistryExport());
    ASSERT_NE(msdosSys_, ReadWhole(kMsdosSys));
    ASSERT_EQ(1u, Points().size());

    ::PostMessageA(main, WM_SYSCOMMAND, kUndoCommand, 0);
    HWND box = e2e::WaitMessageBox(process_.id, kWait);
    ASSERT_TRUE(box);
    EXPECT_EQ("Put back the settings as they were before the last change?", e2e::MessageText(box));
    e2e::Answer(box, IDYES);
    // It says what it put back once the point is off the list. Reading the list before then
    // would hold Points.txt open while the program replaces it, and a file open elsewhere
    // cannot be deleted on Windows: the point would stay listed.
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            HWND said = e2e::WaitMessageBox(process_.id, 0);
            return said && said != box &&
                   e2e::MessageText(said).find("were put back") != std::string::npos;
        },
        kWait));
    e2e::Answer(e2e::WaitMessageBox(process_.id, 0), IDOK);
    EXPECT_TRUE(Points().empty());
    // The boxes show what was read before the changes.
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return ::SendMessageA(e2e::Control(main, "CheckBox51"), BM_GETCHECK, 0, 0) ==
                   BST_UNCHECKED;
        },
        kWait));
    CloseWithCancel(main);
    EXPECT_EQ("", Differences(before, RegistryExport()));
    EXPECT_EQ(msdosSys_, ReadWhole(kMsdosSys));
    EXPECT_EQ(e2e::kMsdosSysProtected, ::GetFileAttributesA(kMsdosSys) & e2e::kMsdosSysProtected);
    EXPECT_EQ(systemIni_, ReadWhole(SystemIniPath()));
}

TEST_F(UndoTest, TheRestorePointImportedWithTheRegistryEditorGivesTheSameRegistry) {
    std::map<std::string, std::string> before = RegistryExport();
    HWND main = ApplyOneChangePerPage();
    ASSERT_TRUE(main);
    CloseWithCancel(main);
    std::vector<std::string> points = Points();
    ASSERT_EQ(1u, points.size());
    std::string point = dir_ + "\\Restore\\" + points.back();
    ASSERT_NE(before, RegistryExport());

    std::string command = "regedit.exe /s \"" + point + "\\Registry.reg\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &info));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(info.hProcess, kWait));
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    EXPECT_EQ("", Differences(before, RegistryExport()));
    // The boot file's copy is the file as it was.
    EXPECT_EQ(msdosSys_, ReadWhole(point + "\\1 MSDOS.SYS"));
}

// The program ended at several moments of an Apply, as a power cut would end it. The next
// start asks about an Apply that did not end and, told to, puts back what it changed: the
// registry and the files are as before. C:\MSDOS.SYS is read-only, hidden and system again
// after the next start whatever the moment.
TEST_F(UndoTest, AnApplyCutOffIsPutBackAtTheNextStart) {
    const std::map<std::string, std::string> before = RegistryExport();
    int asked = 0;
    for (int delay : {0, 2, 5, 10, 20, 40, 80}) {
        ASSERT_TRUE(ApplyOneChangePerPage(/*wait=*/false)) << delay;
        ::Sleep(static_cast<DWORD>(delay));
        e2e::Stop(process_);

        process_ = e2e::Start(dir_ + "\\Veltrim.exe", dir_);
        HWND main = nullptr;
        bool question = false;
        ASSERT_TRUE(e2e::WaitUntil(
            [&] {
                if (HWND box = e2e::WaitMessageBox(process_.id, 0)) {
                    std::string text = e2e::MessageText(box);
                    bool stopped =
                        text.find("was stopped while it was writing") != std::string::npos;
                    question = question || stopped;
                    EXPECT_TRUE(stopped || text.find("were put back") != std::string::npos) << text;
                    e2e::Answer(box, stopped ? IDYES : IDOK);
                    ::Sleep(50);
                    return false;
                }
                main = ::FindWindowA("TForm1", "Veltrim 2000");
                return main && ::IsWindowVisible(main);
            },
            kWait))
            << delay;
        asked += question ? 1 : 0;
        EXPECT_EQ(e2e::kMsdosSysProtected, e2e::MsdosSysProtection()) << delay;
        if (!question && !Points().empty()) {  // the Apply had ended: undo it the usual way
            ::PostMessageA(main, WM_SYSCOMMAND, kUndoCommand, 0);
            for (int answer : {IDYES, IDOK}) {
                HWND box = e2e::WaitMessageBox(process_.id, kWait);
                ASSERT_TRUE(box) << delay;
                e2e::Answer(box, answer);
                e2e::WaitUntil([&] { return !::IsWindow(box); }, kWait);
            }
        }
        CloseWithCancel(main);
        EXPECT_EQ("", Differences(before, RegistryExport())) << delay;
        EXPECT_EQ(msdosSys_, ReadWhole(kMsdosSys)) << delay;
        EXPECT_EQ(systemIni_, ReadWhole(SystemIniPath())) << delay;
        EXPECT_EQ(e2e::kMsdosSysProtected, e2e::MsdosSysProtection()) << delay;
        EXPECT_TRUE(Points().empty()) << delay;
    }
    std::printf("[ cut-offs ] %d of 7 starts found an Apply that did not end\n", asked);
}

}  // namespace
