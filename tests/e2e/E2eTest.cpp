// End to end: the real Veltrim.exe on Wine set up as Windows 98, driven from outside.
#include "e2e/Driver.h"

#include <objidl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

using e2e::Dump;
using e2e::KeyExists;
using e2e::kMsdosSys;
using e2e::PutMsdosSys;
using e2e::ReadWhole;
using e2e::SavedValue;
using e2e::SystemIniPath;
using e2e::WriteWhole;

using e2e::CurrentDirectory;
using e2e::MsdosSysProtection;

using e2e::RegistryText;
using e2e::SetRegistryText;

namespace {

constexpr int kWait = 15000;
constexpr DWORD kProtected = e2e::kMsdosSysProtected;
const char* const kRestartQuestion =
    "You must restart your computer before the new settings will take effect. Do you want to "
    "restart your computer now?";

// C:\MSDOS.SYS as the seeded machine holds it, put back before every test.
const std::string& SeededMsdosSys() {
    static const std::string bytes = ReadWhole(kMsdosSys);
    return bytes;
}

void ResetMsdosSys() {
    const std::string& seeded = SeededMsdosSys();
    if (ReadWhole(kMsdosSys) != seeded) {
        PutMsdosSys(seeded);
        return;
    }
    ::SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ::SetFileAttributesA(kMsdosSys, kProtected);
}

class VeltrimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(SeededMsdosSys().empty()) << "the machine is not seeded";
        ResetMsdosSys();
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = CurrentDirectory() + "\\" + test->name();
        ::CreateDirectoryA(dir_.c_str(), nullptr);
        ::DeleteFileA(Path("Uninstall.lnk").c_str());
        ::DeleteFileA(Path("Config.DAT").c_str());
        ASSERT_TRUE(::CopyFileA((CurrentDirectory() + "\\Veltrim.exe").c_str(),
                                Path("Veltrim.exe").c_str(), FALSE));
    }

    void TearDown() override {
        for (e2e::Process& process : processes_) e2e::Stop(process);
        EXPECT_TRUE(
            e2e::WaitUntil([] { return e2e::CountWindows("TForm1", nullptr) == 0; }, kWait));
    }

    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }

    void WriteConfig(std::uint32_t showSplash, std::uint32_t firstRun) {
        std::array<std::uint32_t, 5> records{showSplash, 7, firstRun, 8, 9};
        WriteWhole(Path("Config.DAT"),
                   std::string(reinterpret_cast<const char*>(records.data()), sizeof records));
    }

    std::array<std::uint32_t, 5> ReadConfig() const {
        std::array<std::uint32_t, 5> records{};
        std::string bytes = ReadWhole(Path("Config.DAT"));
        if (bytes.size() == sizeof records)
            std::memcpy(records.data(), bytes.data(), sizeof records);
        return records;
    }

    e2e::Process& Launch() {
        processes_.push_back(e2e::Start(Path("Veltrim.exe"), dir_));
        EXPECT_TRUE(processes_.back().handle) << "Veltrim.exe did not start";
        return processes_.back();
    }

    // Starts the program without its welcome window and answers the main window.
    HWND LaunchToMainWindow() {
        WriteConfig(0, 0);
        Launch();
        return e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
    }

    bool Exists(const std::string& name) const {
        return ::GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string dir_;
    std::vector<e2e::Process> processes_;
};

// --- Start -----------------------------------------------------------------------------

TEST_F(VeltrimTest, TheWelcomeWindowComesFirstAndClearsFirstRun) {
    WriteConfig(1, 1);
    e2e::Process& process = Launch();
    HWND welcome = e2e::WaitWindow("TForm3", "Welcome", kWait);
    ASSERT_TRUE(welcome);
    EXPECT_EQ(0, e2e::CountWindows("TForm1", "Veltrim 2000")) << "no main window before OK";
    EXPECT_EQ((std::array<std::uint32_t, 5>{1, 7, 0, 8, 9}), ReadConfig());
    EXPECT_TRUE(Exists("Uninstall.lnk")) << "the first run copies the uninstall shortcut";
    EXPECT_EQ("Version 5.0", e2e::Text(e2e::Control(welcome, "Label3")));

    e2e::Click(e2e::Control(welcome, "SpeedButton2"));
    HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
    ASSERT_TRUE(main);
    EXPECT_FALSE(::IsWindowVisible(welcome));
    EXPECT_EQ(kProtected, MsdosSysProtection()) << "read without touching its attributes";

    e2e::CloseWindow(main);
    EXPECT_EQ(0, e2e::WaitExit(process, kWait));
    EXPECT_EQ(0, e2e::CountWindows("TForm3", "Welcome"));
}

TEST_F(VeltrimTest, WithoutTheWelcomeTheMainWindowComesAtOnceAndFirstRunStays) {
    WriteConfig(0, 1);
    e2e::Process& process = Launch();
    HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
    ASSERT_TRUE(main);
    EXPECT_EQ(0, e2e::CountWindows("TForm3", "Welcome"));
    EXPECT_TRUE(Exists("Uninstall.lnk"));
    RECT client{};
    ::GetClientRect(main, &client);
    EXPECT_EQ(534, client.right);
    EXPECT_EQ(472, client.bottom);
    for (auto [name, caption] : {std::pair{"Button1", "OK"}, std::pair{"Button5", "Apply"},
                                 std::pair{"Button4", "Cancel"}, std::pair{"Button7", "Hide"}})
        EXPECT_EQ(caption, e2e::Text(e2e::Control(main, name))) << name;

    e2e::CloseWindow(main);
    EXPECT_EQ(0, e2e::WaitExit(process, kWait));
    EXPECT_EQ((std::array<std::uint32_t, 5>{0, 7, 1, 8, 9}), ReadConfig())
        << "only the welcome window clears FirstRun; the reserved records are kept";
}

TEST_F(VeltrimTest, AMissingConfigDatShowsItsErrorAndOpensNoWindow) {
    e2e::Process& process = Launch();
    HWND box = e2e::WaitMessageBox(process.id, kWait);
    ASSERT_TRUE(box);
    EXPECT_NE(std::string::npos, e2e::MessageText(box).find("File not found"));
    EXPECT_EQ(0, e2e::CountWindows("TForm1", "Veltrim 2000"));
    e2e::Answer(box, IDOK);
    EXPECT_EQ(1, e2e::WaitExit(process, kWait));
    EXPECT_EQ(0, e2e::CountWindows("TForm1", "Veltrim 2000"));
}

// --- One instance ----------------------------------------------------------------------

TEST_F(VeltrimTest, ASecondStartBringsBackAHiddenFirstInstanceAndEnds) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    e2e::ClickAndWait(e2e::Control(main, "Button7"));
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindowVisible(main); }, kWait));

    e2e::Process& second = Launch();
    EXPECT_EQ(0, e2e::WaitExit(second, kWait));
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, kWait));
    EXPECT_EQ(1, e2e::CountWindows("TForm1", "Veltrim 2000"));
}

TEST_F(VeltrimTest, ASecondStartLeavesAVisibleFirstInstanceAlone) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    e2e::Process& second = Launch();
    EXPECT_EQ(0, e2e::WaitExit(second, kWait));
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_EQ(1, e2e::CountWindows("TForm1", "Veltrim 2000"));
    EXPECT_EQ(nullptr, e2e::WaitMessageBox(processes_.front().id, 200));
}

TEST_F(VeltrimTest, ASecondStartDuringTheWelcomeEndsWithoutAWindow) {
    WriteConfig(1, 0);
    Launch();
    ASSERT_TRUE(e2e::WaitWindow("TForm3", "Welcome", kWait));
    e2e::Process& second = Launch();
    EXPECT_EQ(0, e2e::WaitExit(second, kWait));
    EXPECT_EQ(1, e2e::CountWindows("TForm3", "Welcome"));
    EXPECT_EQ(0, e2e::CountWindows("TForm1", "Veltrim 2000"));
}

// --- Apply, OK, Cancel -----------------------------------------------------------------

TEST_F(VeltrimTest, ApplyWritesAndReadsBackWithoutAQuestionAndTheCloseAsksNothing) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ(nullptr, e2e::WaitMessageBox(processes_.front().id, 200));
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_EQ(kProtected, MsdosSysProtection()) << "protected again right after its write";
    e2e::CloseWindow(main);
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
    EXPECT_EQ(kProtected, MsdosSysProtection()) << "however it ends, the attributes come back";
}

TEST_F(VeltrimTest, OkAsksToRestartAndNoProtectsMsdosSysAgain) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_EQ(kProtected, MsdosSysProtection());
    e2e::Click(e2e::Control(main, "Button1"));
    HWND box = e2e::WaitMessageBox(processes_.front().id, kWait);
    ASSERT_TRUE(box);
    EXPECT_EQ(kRestartQuestion, e2e::MessageText(box));
    e2e::Answer(box, IDNO);
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
    EXPECT_EQ(kProtected, MsdosSysProtection());
    EXPECT_EQ(SeededMsdosSys(), ReadWhole(kMsdosSys)) << "no page changed the file";
}

TEST_F(VeltrimTest, CancelAtTheRestartQuestionKeepsTheWindowAndTheNextCloseAsksNothing) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    e2e::Click(e2e::Control(main, "Button1"));
    HWND box = e2e::WaitMessageBox(processes_.front().id, kWait);
    ASSERT_TRUE(box);
    e2e::Answer(box, IDCANCEL);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(box); }, kWait));
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_EQ(kProtected, MsdosSysProtection()) << "protected while the program runs";

    e2e::CloseWindow(main);
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait)) << "closed without a second question";
    EXPECT_EQ(kProtected, MsdosSysProtection()) << "however it ends, the attributes come back";
}

// --- Keyboard --------------------------------------------------------------------------

TEST_F(VeltrimTest, EnterPressesOkAndEscPressesCancel) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ::PostMessageA(main, WM_KEYDOWN, VK_RETURN, 0);
    HWND box = e2e::WaitMessageBox(processes_.front().id, kWait);
    ASSERT_TRUE(box) << "Enter is OK, which asks to restart";
    e2e::Answer(box, IDCANCEL);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(box); }, kWait));

    ::PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait)) << "Esc is Cancel, which closes";
}

// --- Pages ---------------------------------------------------------------------------

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void SetText(HWND control, const char* text) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                          kWait, &result);
}

bool Checked(HWND box) {
    return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST_F(VeltrimTest, TheBootMenuWithADelayGoesIntoMsdosSysAndEveryOtherLineStays) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    HWND bootMenu = e2e::Control(main, "CheckBox2");
    ASSERT_FALSE(Checked(bootMenu));
    e2e::ClickAndWait(bootMenu);
    EXPECT_TRUE(Checked(bootMenu));
    HWND delay = e2e::Control(main, "SpinEdit1");
    ASSERT_TRUE(::IsWindowVisible(delay)) << "ticking the box shows the delay";
    SetText(delay, "12");
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_FALSE(::IsWindowVisible(delay)) << "Apply puts the delay away";
    EXPECT_TRUE(Checked(bootMenu)) << "read back from the file";

    std::vector<std::string> written = Lines(ReadWhole(kMsdosSys));
    std::vector<std::string> seeded = Lines(SeededMsdosSys());
    // Every other line stays byte for byte, blank lines too (the file is edited, not
    // rewritten by the profile functions).
    std::vector<std::string> added;
    std::vector<std::string> kept;
    for (const std::string& line : written)
        (line == "BootMenu=1" || line == "BootMenuDelay=12" ? added : kept).push_back(line);
    EXPECT_EQ((std::vector<std::string>{"BootMenu=1", "BootMenuDelay=12"}), added);
    EXPECT_EQ(seeded, kept);
    EXPECT_EQ("\r\n", ReadWhole(kMsdosSys).substr(ReadWhole(kMsdosSys).size() - 2));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

// Double-clicks a box, then moves the mouse over it and waits for its description: the
// mouse move, posted after the clicks, is handled after them.
bool DoubleClickAndWait(HWND main, HWND box, const char* memoName, const char* description) {
    HWND memo = e2e::Control(main, memoName);
    if (e2e::Text(memo) == description) return false;  // the wait could not tell anything
    e2e::DoubleClick(box);
    ::PostMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    return e2e::WaitUntil([&] { return e2e::Text(memo) == description; }, kWait);
}

const char* const kBootMenuDescription = "Use this option to show Windows boot-menu automaticly.";

// The delay of the boot menu: its label, its spin edit and its unit.
std::vector<HWND> DelayFrame(HWND main) {
    return {e2e::Control(main, "Label1"), e2e::Control(main, "SpinEdit1"),
            e2e::Control(main, "Label2")};
}

TEST_F(VeltrimTest, ADoubleClickOnTheClearedBootMenuBoxIsTwoPressesAndPutsTheDelayAway) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    HWND bootMenu = e2e::Control(main, "CheckBox2");
    HWND delay = e2e::Control(main, "SpinEdit1");
    ASSERT_FALSE(Checked(bootMenu));
    for (HWND part : DelayFrame(main)) ASSERT_FALSE(::IsWindowVisible(part));
    std::string readDelay = e2e::Text(delay);
    ASSERT_FALSE(readDelay.empty());

    // Press 1 on the cleared box shows the delay, its release ticks the box; press 2 on the
    // ticked box puts the page's details away and the delay back as read, its release clears.
    ASSERT_TRUE(DoubleClickAndWait(main, bootMenu, "Memo1", kBootMenuDescription));
    EXPECT_FALSE(Checked(bootMenu)) << "two presses and releases toggle twice";
    for (HWND part : DelayFrame(main))
        EXPECT_FALSE(::IsWindowVisible(part)) << "the second press puts the delay away";
    EXPECT_EQ(readDelay, e2e::Text(delay));

    e2e::ClickAndWait(bootMenu);
    EXPECT_TRUE(Checked(bootMenu)) << "a single click afterwards ticks as ever";
    for (HWND part : DelayFrame(main)) EXPECT_TRUE(::IsWindowVisible(part));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
    EXPECT_EQ(SeededMsdosSys(), ReadWhole(kMsdosSys)) << "Cancel writes nothing";
}

TEST_F(VeltrimTest, ADoubleClickOnTheTickedBootMenuBoxShowsTheDelayAsReadAgain) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    HWND bootMenu = e2e::Control(main, "CheckBox2");
    HWND delay = e2e::Control(main, "SpinEdit1");
    std::string readDelay = e2e::Text(delay);
    e2e::ClickAndWait(bootMenu);
    ASSERT_TRUE(Checked(bootMenu));
    ASSERT_TRUE(::IsWindowVisible(delay));
    SetText(delay, readDelay == "12" ? "13" : "12");

    // Press 1 on the ticked box puts the delay back as read, its release clears the box;
    // press 2 on the cleared box shows the delay, its release ticks the box again.
    ASSERT_TRUE(DoubleClickAndWait(main, bootMenu, "Memo1", kBootMenuDescription));
    EXPECT_TRUE(Checked(bootMenu));
    for (HWND part : DelayFrame(main))
        EXPECT_TRUE(::IsWindowVisible(part)) << "the second press shows the delay again";
    EXPECT_EQ(readDelay, e2e::Text(delay));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

TEST_F(VeltrimTest, UntickingASystemIniBoxDeletesItsKey) {
    ::WritePrivateProfileStringA("386Enh", "LocalLoadHigh", "1", "SYSTEM.INI");
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    HWND box = e2e::Control(main, "CheckBox16");
    EXPECT_TRUE(Checked(box));
    e2e::ClickAndWait(box);
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_FALSE(Checked(box));
    char value[16] = "";
    ::GetPrivateProfileStringA("386Enh", "LocalLoadHigh", "<missing>", value, sizeof value,
                               "SYSTEM.INI");
    EXPECT_STREQ("<missing>", value);
    char device[64] = "";
    ::GetPrivateProfileStringA("386Enh", "device", "", device, sizeof device, "SYSTEM.INI");
    EXPECT_STRNE("", device) << "the rest of the section stays";
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

TEST_F(VeltrimTest, TheOwnerEditorShowsTheRegistryAndWritesTheEditBack) {
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion";
    std::string owner = RegistryText(HKEY_LOCAL_MACHINE, key, "RegisteredOwner");
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 1, kWait));
    EXPECT_FALSE(::IsWindowVisible(e2e::Control(main, "CheckBox2"))) << "the Boot page is away";
    e2e::ClickAndWait(e2e::Control(main, "CheckBox22"));
    HWND name = e2e::Control(main, "Edit1");
    ASSERT_TRUE(::IsWindowVisible(name));
    EXPECT_EQ(owner, e2e::Text(name));
    SetText(name, "Jane Example");
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ("Jane Example", RegistryText(HKEY_LOCAL_MACHINE, key, "RegisteredOwner"));
    EXPECT_TRUE(Checked(e2e::Control(main, "CheckBox22"))) << "the read pass keeps the editor";
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
    SetRegistryText(HKEY_LOCAL_MACHINE, key, "RegisteredOwner", owner);
}

TEST_F(VeltrimTest, TheNotepadAndCommandPromptVerbsComeAndGoWithTheirBoxes) {
    const char* notepad = "Unknown\\shell\\NotePad\\Command";
    const char* prompt = "Directory\\shell\\DOS\\Command";
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 2, kWait));
    HWND notepadBox = e2e::Control(main, "CheckBox40");
    HWND promptBox = e2e::Control(main, "CheckBox41");
    ASSERT_TRUE(::IsWindowVisible(notepadBox));
    EXPECT_EQ("Use Notepad to Open Unknown Files", e2e::Text(notepadBox));
    ASSERT_FALSE(Checked(notepadBox));
    ASSERT_FALSE(Checked(promptBox));
    e2e::ClickAndWait(notepadBox);
    e2e::ClickAndWait(promptBox);
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ("notepad.exe %1", RegistryText(HKEY_CLASSES_ROOT, notepad, ""));
    EXPECT_EQ("notepad.exe %1",
              RegistryText(HKEY_LOCAL_MACHINE,
                           "Software\\Classes\\Unknown\\shell\\Notepad\\Command", ""));
    EXPECT_EQ("&Notepad", RegistryText(HKEY_CLASSES_ROOT, "Unknown\\shell\\NotePad", ""));
    EXPECT_EQ("Notepad", RegistryText(HKEY_CLASSES_ROOT, "Unknown\\shell", ""));
    EXPECT_EQ("C:\\Command.com /k cd \"%1\"", RegistryText(HKEY_CLASSES_ROOT, prompt, ""));
    EXPECT_EQ("Command Prompt Here", RegistryText(HKEY_CLASSES_ROOT, "Directory\\shell\\DOS", ""));
    EXPECT_TRUE(Checked(notepadBox)) << "read back from the registry";
    EXPECT_TRUE(Checked(promptBox));

    e2e::ClickAndWait(notepadBox);
    e2e::ClickAndWait(promptBox);
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Unknown\\shell\\NotePad"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Directory\\shell\\DOS"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Directory\\shell"));
    EXPECT_FALSE(Checked(notepadBox));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

TEST_F(VeltrimTest, PuttingControlPanelInTheStartMenuMakesAndRemovesItsFolder) {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    std::string folder =
        std::string(windows) + "\\Start Menu\\Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}";
    ::RemoveDirectoryA(folder.c_str());
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 3, kWait));
    HWND box = e2e::Control(main, "CheckBox58");
    ASSERT_TRUE(::IsWindowVisible(box));
    ASSERT_FALSE(Checked(box));
    e2e::ClickAndWait(box);
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    DWORD attributes = ::GetFileAttributesA(folder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_TRUE(Checked(box));

    e2e::ClickAndWait(box);
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(folder.c_str()));
    EXPECT_FALSE(Checked(box));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

// Later windows lie under earlier ones in z-order, and siblings clip each other.
bool LiesUnder(HWND lower, HWND upper) {
    for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (w == lower) return true;
    return false;
}

TEST_F(VeltrimTest, FramesLieUnderWhatTheyHoldAndTheDescriptionShowsOnHover) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    struct Held {
        const char* frame;
        const char* control;
    };
    // Pages not shown yet are made one after the other once the window is idle.
    for (Held held : {Held{"GroupBox2", "SpinEdit1"}, Held{"GroupBox4", "Edit1"},
                      Held{"GroupBox5", "Memo3"}, Held{"GroupBox6", "Edit6"},
                      Held{"GroupBox19", "SpinEdit2"}, Held{"PageControl1", "GroupBox6"}})
        EXPECT_TRUE(e2e::WaitUntil(
            [&] {
                return LiesUnder(e2e::Control(main, held.frame), e2e::Control(main, held.control));
            },
            kWait))
            << held.frame << " must lie under " << held.control;
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return e2e::Control(main, "PageControl1") ==
                   ::GetWindow(e2e::Control(main, "Button1"), GW_HWNDLAST);
        },
        kWait));

    ASSERT_TRUE(e2e::ShowPage(main, 2, kWait));
    HWND memo = e2e::Control(main, "Memo3");
    e2e::Hover(e2e::Control(main, "CheckBox41"));
    EXPECT_EQ("Use this option to add command prompt to the context menu of all folder.",
              e2e::Text(memo));
    EXPECT_TRUE(::IsWindowEnabled(memo));
    e2e::ClickAndWait(e2e::Control(main, "CheckBox62"));
    EXPECT_TRUE(::IsWindowVisible(e2e::Control(main, "Edit6")));
    EXPECT_EQ("Explorer toolbar background file", e2e::Text(e2e::Control(main, "Label49")));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

// A page is made when first shown or once the window is idle: its windows must still take
// the Tab key in the order of the page, before the command buttons and the tabs.
TEST_F(VeltrimTest, TheTabKeyGoesThroughAPageMadeLaterInItsOwnOrder) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 2, kWait));
    const std::vector<std::string> expected = {
        "CheckBox29", "CheckBox32", "CheckBox33", "CheckBox34",  "CheckBox35",
        "CheckBox36", "CheckBox63", "CheckBox37", "CheckBox38",  "CheckBox40",
        "CheckBox41", "CheckBox42", "CheckBox39", "CheckBox62",  "Button1",
        "Button5",    "Button4",    "Button7",    "PageControl1"};
    std::map<HWND, std::string> names;
    for (const std::string& name : expected) names[e2e::Control(main, name.c_str())] = name;

    // The Tab key cycles, so the order starts at the topmost window that takes it.
    auto walk = [&] {
        HWND first = ::GetWindow(main, GW_CHILD);
        while (first && (::GetWindowLongA(first, GWL_STYLE) & (WS_TABSTOP | WS_VISIBLE)) !=
                            (WS_TABSTOP | WS_VISIBLE))
            first = ::GetWindow(first, GW_HWNDNEXT);
        std::vector<std::string> order;
        HWND at = first;
        do {
            auto known = names.find(at);
            order.push_back(known == names.end() ? "?" : known->second);
            at = ::GetNextDlgTabItem(main, at, FALSE);
        } while (at && at != first && order.size() < 40);
        return order;
    };
    // While the window is idle it still makes the windows of the pages not yet shown and
    // restacks them among the others. A Tab key waits for that in the program's own queue;
    // a walk from this process can fall in the middle of it, so it is repeated until it
    // meets a still moment.
    std::vector<std::string> order;
    e2e::WaitUntil([&] { return (order = walk()) == expected; }, kWait);
    EXPECT_EQ(expected, order);
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

// --- Apply changes only what the user changed -------------------------------------------

void PutRaw(HKEY root, const char* path, const char* name, DWORD type, std::vector<BYTE> bytes) {
    HKEY key = nullptr;
    ::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    ::RegSetValueExA(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    ::RegCloseKey(key);
}

std::vector<BYTE> Sz(const std::string& text) {
    std::vector<BYTE> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

// The keys the settings pages read and write, and the two files.
struct Snapshot {
    std::map<std::string, std::string> registry;
    std::string msdosSys, systemIni;
    bool operator==(const Snapshot&) const = default;
};

Snapshot TakeSnapshot() {
    Snapshot s;
    const std::pair<HKEY, const char*> trees[] = {
        {HKEY_CURRENT_USER, "Control Panel"},
        {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion"},
        {HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Update"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\fdc"},
        {HKEY_LOCAL_MACHINE, "Network"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Setup"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer"},
        {HKEY_CLASSES_ROOT, "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"},
        {HKEY_CLASSES_ROOT, "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
        {HKEY_CLASSES_ROOT, "lnkfile"},
        {HKEY_CLASSES_ROOT, "Unknown"},
        {HKEY_CLASSES_ROOT, "Directory"},
        {HKEY_CLASSES_ROOT, "batfile"},
        {HKEY_CLASSES_ROOT, "Paint.Picture"},
        {HKEY_USERS, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"},
    };
    std::string group_, uninstall_;
    for (auto [root, path] : trees)
        Dump(root, path, std::to_string(reinterpret_cast<std::uintptr_t>(root)), s.registry);
    s.msdosSys = ReadWhole(kMsdosSys);
    s.systemIni = ReadWhole(SystemIniPath());
    return s;
}

std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after) {
    std::vector<std::string> changed;
    for (const auto& [name, value] : after.registry) {
        auto old = before.registry.find(name);
        if (old == before.registry.end() || old->second != value) changed.push_back(name);
    }
    for (const auto& [name, value] : before.registry)
        if (!after.registry.count(name)) changed.push_back("-" + name);
    if (before.msdosSys != after.msdosSys) changed.push_back("MSDOS.SYS");
    if (before.systemIni != after.systemIni) changed.push_back("SYSTEM.INI");
    return changed;
}

// A machine holding values the pages cannot show: Apply and OK with nothing changed leave
// the registry and both files byte for byte; then one box changed on each page changes only
// its own setting.
class UntouchedTest : public VeltrimTest {
  protected:
    void SetUp() override {
        VeltrimTest::SetUp();
        systemIni_ = ReadWhole(SystemIniPath());
        const char* fileSystem = "System\\CurrentControlSet\\Control\\FileSystem";
        const char* policies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
        const char* desktop = "Control Panel\\Desktop";
        Seed(HKEY_LOCAL_MACHINE, fileSystem, "DisableLowDiskSpaceBroadcast", REG_BINARY,
             {0x0C, 0, 0, 0});
        Seed(HKEY_LOCAL_MACHINE, fileSystem, "ContigFileAllocSize", REG_DWORD, {0, 4, 0, 0});
        Seed(HKEY_CURRENT_USER, policies, "NoDriveTypeAutoRun", REG_DWORD, {0xFF, 0, 0, 0});
        Seed(HKEY_CURRENT_USER, policies, "NoRun", REG_BINARY, {0, 0, 0, 0});
        Seed(HKEY_CLASSES_ROOT, "Unknown\\shell", "", REG_SZ, Sz("openas"));
        Seed(HKEY_CLASSES_ROOT, "Unknown\\shell\\NotePad\\Command", "", REG_SZ,
             Sz("mynotepad.exe %1"));
        Seed(HKEY_CLASSES_ROOT, "Directory\\shell\\DOS\\Command", "", REG_SZ, Sz("4dos.com"));
        Seed(HKEY_CLASSES_ROOT,
             "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\Open\\Command", "", REG_SZ,
             Sz("other.exe"));
        Seed(HKEY_CLASSES_ROOT, "batfile\\shell", "", REG_SZ, Sz("print"));
        Seed(HKEY_CLASSES_ROOT, "Paint.Picture\\DefaultIcon", "", REG_SZ, Sz("C:\\new.exe,2"));
        Seed(HKEY_CLASSES_ROOT, "Paint.Picture\\DefaultIcon", "OldBitmapIcon", REG_SZ,
             Sz("C:\\old.exe,1"));
        Seed(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep", REG_SZ, Sz("yes"));
        Seed(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Update", "UpdateMode",
             REG_BINARY, {1});
        Seed(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Advanced",
             "StartMenuScrollPrograms", REG_SZ, Sz("Yes"));
        Seed(HKEY_LOCAL_MACHINE, "Network\\Logon", "MustBeValidated", REG_SZ, Sz("1"));
        Seed(HKEY_CURRENT_USER, desktop, "SmoothScroll", REG_SZ, Sz("1"));
        Seed(HKEY_CURRENT_USER, desktop, "MenuShowDelay", REG_SZ, Sz("slow"));
        Seed(HKEY_CURRENT_USER, desktop, "PaintDesktopVersion", REG_NONE, {});
        Seed(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "MinAnimate", REG_NONE,
             {});
        Seed(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer",
             "Max Cached Icons", REG_SZ, Sz("9000"));
        // Boot options the boxes cannot show, and a second [386Enh] section.
        std::string msdos = SeededMsdosSys();
        std::size_t options = msdos.find("[Options]\r\n");
        ASSERT_NE(std::string::npos, options);
        msdos.insert(options + 11, "DoubleBuffer=1 ; needed for SCSI\r\nBootMulti=1\r\n");
        PutMsdosSys(msdos);
        WriteWhole(SystemIniPath(),
                   systemIni_ + "[386Enh]\r\nLocalLoadHigh=1\r\nPageBuffers=32\r\n");
    }
    void TearDown() override {
        VeltrimTest::TearDown();
        saved_.clear();
        WriteWhole(SystemIniPath(), systemIni_);
        ResetMsdosSys();
    }
    // REG_NONE with no bytes: the value is deleted for the test.
    void Seed(HKEY root, const char* path, const char* name, DWORD type, std::vector<BYTE> bytes) {
        saved_.push_back(std::make_unique<SavedValue>(root, path, name));
        if (type == REG_NONE) {
            HKEY key = nullptr;
            if (::RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
                ::RegDeleteValueA(key, name);
                ::RegCloseKey(key);
            }
            return;
        }
        PutRaw(root, path, name, type, std::move(bytes));
    }

    std::vector<std::unique_ptr<SavedValue>> saved_;
    std::string systemIni_;
};

TEST_F(UntouchedTest, ApplyAndOkWithNothingChangedLeaveEverythingByteForByte) {
    Snapshot before = TakeSnapshot();
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    e2e::Click(e2e::Control(main, "Button1"));
    HWND box = e2e::WaitMessageBox(processes_.front().id, kWait);
    ASSERT_TRUE(box);
    e2e::Answer(box, IDNO);
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
    Snapshot after = TakeSnapshot();
    EXPECT_EQ(std::vector<std::string>{}, Differences(before, after));
    EXPECT_EQ(kProtected, MsdosSysProtection());
}

TEST_F(UntouchedTest, OneBoxChangedOnEachPageChangesOnlyItsOwnSetting) {
    Snapshot before = TakeSnapshot();
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ClickOnPages(
        main,
        {
            {0, "CheckBox4"},   // Boot: "Disable Autocreate Bootlog File"
            {1, "CheckBox15"},  // System: "Enable Beep on Error", ticked by "yes": cleared
            {2, "CheckBox37"},  // Windows: "Enable Smooth Scrolling"
            {3, "CheckBox51"},  // Start Menu: "Remove the Run Menu"
        },
        kWait));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
    Snapshot after = TakeSnapshot();
    const std::string hkcu = std::to_string(reinterpret_cast<std::uintptr_t>(HKEY_CURRENT_USER));
    EXPECT_EQ(
        (std::vector<std::string>{
            hkcu + "\\Control Panel\\Desktop\\SmoothScroll", hkcu + "\\Control Panel\\Sound\\Beep",
            hkcu + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\NoRun",
            "MSDOS.SYS"}),
        Differences(before, after));
    EXPECT_EQ("1:78 79 0 ", after.registry[hkcu + "\\Control Panel\\Sound\\Beep"]);
    EXPECT_EQ("3:1 0 0 0 ", after.registry[hkcu + "\\Control Panel\\Desktop\\SmoothScroll"]);
    std::vector<std::string> added;
    for (const std::string& line : Lines(after.msdosSys))
        if (line.rfind("DisableLog", 0) == 0) added.push_back(line);
    EXPECT_EQ(std::vector<std::string>{"DisableLog=1"}, added);
    EXPECT_NE(std::string::npos, after.msdosSys.find("DoubleBuffer=1 ; needed for SCSI\r\n"));
}

}  // namespace

// --- Internet pages and the help window ------------------------------------------------

namespace {

// A registry tree as it stands, put back whole when the test ends.
class SavedTree {
  public:
    SavedTree(HKEY root, std::string path) : root_(root), path_(std::move(path)) { Collect(path_); }
    ~SavedTree() {
        ::RegDeleteTreeA(root_, path_.c_str());
        for (const std::string& key : keys_) {
            HKEY created = nullptr;
            ::RegCreateKeyExA(root_, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                              nullptr);
            ::RegCloseKey(created);
        }
        for (const Value& v : values_) PutRaw(root_, v.key.c_str(), v.name.c_str(), v.type, v.data);
    }
    SavedTree(const SavedTree&) = delete;
    SavedTree& operator=(const SavedTree&) = delete;

  private:
    struct Value {
        std::string key, name;
        DWORD type;
        std::vector<BYTE> data;
    };
    void Collect(const std::string& path) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(root_, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
        keys_.push_back(path);
        std::vector<char> name(16384);
        std::vector<BYTE> data(1 << 16);
        for (DWORD i = 0;; ++i) {
            DWORD nameSize = static_cast<DWORD>(name.size()), type = 0;
            DWORD size = static_cast<DWORD>(data.size());
            LONG rc =
                ::RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &size);
            if (rc == ERROR_NO_MORE_ITEMS) break;
            if (rc != ERROR_SUCCESS) continue;  // too large to keep: left to the key's restore
            values_.push_back({path,
                               std::string(name.data(), nameSize),
                               type,
                               {data.begin(), data.begin() + size}});
        }
        std::vector<std::string> children = e2e::SubKeys(key);
        ::RegCloseKey(key);
        for (const std::string& child : children) Collect(path + "\\" + child);
    }

    HKEY root_;
    std::string path_;
    std::vector<std::string> keys_;
    std::vector<Value> values_;
};

const char* const kNet = "System\\CurrentControlSet\\Services\\Class\\Net";
const char* const kMstcpKey = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";

void ChooseEntry(HWND combo, int index) {
    ::SendMessageA(combo, CB_SETCURSEL, index, 0);
    ::SendMessageA(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
}

}  // namespace

class InternetTest : public VeltrimTest {
  protected:
    SavedTree adapters_{HKEY_LOCAL_MACHINE, kNet};
    SavedTree mstcp_{HKEY_LOCAL_MACHINE, kMstcpKey};
};

TEST_F(InternetTest, TheLanEntryAnd1500GoOnlyIntoTheNetworkCardsKey) {
    std::string dialUpBefore = RegistryText(
        HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Net\\0000", "IPMTU");
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 4, kWait));
    HWND combo = e2e::Control(main, "ComboBox2");
    ASSERT_TRUE(::IsWindowVisible(combo));
    EXPECT_EQ(2, ::SendMessageA(combo, CB_GETCOUNT, 0, 0))
        << "a dial-up adapter and a network card";
    EXPECT_EQ("Using a phone line and a modem", e2e::Text(combo));
    ChooseEntry(combo, 1);
    e2e::ClickAndWait(e2e::Control(main, "RadioButton7"));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ("1500",
              RegistryText(HKEY_LOCAL_MACHINE,
                           "System\\CurrentControlSet\\Services\\Class\\Net\\0001", "IPMTU"));
    EXPECT_EQ(dialUpBefore,
              RegistryText(HKEY_LOCAL_MACHINE,
                           "System\\CurrentControlSet\\Services\\Class\\Net\\0000", "IPMTU"));
    EXPECT_EQ("<missing>", RegistryText(HKEY_LOCAL_MACHINE, kMstcpKey, "DefaultTTL"))
        << "untouched values stay missing";

    e2e::ClickAndWait(e2e::Control(main, "SpeedButton5"));  // "Automatic"
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ("576",
              RegistryText(HKEY_LOCAL_MACHINE,
                           "System\\CurrentControlSet\\Services\\Class\\Net\\0000", "IPMTU"));
    EXPECT_EQ("1500",
              RegistryText(HKEY_LOCAL_MACHINE,
                           "System\\CurrentControlSet\\Services\\Class\\Net\\0001", "IPMTU"));
    EXPECT_EQ("5840", RegistryText(HKEY_LOCAL_MACHINE, kMstcpKey, "DefaultRcvWindow"));
    EXPECT_EQ("128", RegistryText(HKEY_LOCAL_MACHINE, kMstcpKey, "DefaultTTL"));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

TEST_F(InternetTest, HelpShowsTheInternetTextAndCloseGivesTheMainWindowBack) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 4, kWait));
    e2e::Click(e2e::Control(main, "SpeedButton8"));
    HWND help = e2e::WaitWindow("TForm4", "Help", kWait);
    ASSERT_TRUE(help);
    EXPECT_FALSE(::IsWindowEnabled(main));
    HWND text = e2e::Control(help, "Memo3");
    EXPECT_TRUE(::IsWindowVisible(text));
    EXPECT_FALSE(::IsWindowVisible(e2e::Control(help, "Memo1")));
    EXPECT_EQ(0u, e2e::Text(text).find("Internet Optimizer Settings\r\n"));
    ::PostMessageA(help, WM_KEYDOWN, VK_RETURN, 0);  // Enter is "Close"
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindowVisible(help); }, kWait));
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }, kWait));
    // Alt+F4 (the system menu's Close) gives the main window back too.
    e2e::Click(e2e::Control(main, "SpeedButton8"));
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(help) != FALSE; }, kWait));
    EXPECT_FALSE(::IsWindowEnabled(main));
    ::PostMessageA(help, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindowVisible(help); }, kWait));
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }, kWait));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

TEST_F(InternetTest, WithoutAdapterKeysBothPagesAreDisabled) {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kNet);
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 4, kWait));
    HWND combo = e2e::Control(main, "ComboBox2");
    EXPECT_EQ("No Internet connection available", e2e::Text(combo));
    for (const char* name : {"ComboBox2", "RadioButton7", "SpeedButton5", "CheckBox43", "SpinEdit8",
                             "RadioButton6", "SpeedButton7"})
        EXPECT_FALSE(::IsWindowEnabled(e2e::Control(main, name))) << name;
    EXPECT_TRUE(::IsWindowEnabled(e2e::Control(main, "SpeedButton8"))) << "help stays";
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

// --- File-Cache and Disk-Cache ---------------------------------------------------------

class CacheTest : public VeltrimTest {
  protected:
    void SetUp() override {
        VeltrimTest::SetUp();
        systemIni_ = ReadWhole(SystemIniPath());
    }
    void TearDown() override {
        VeltrimTest::TearDown();
        WriteWhole(SystemIniPath(), systemIni_);
    }
    SavedTree templates_{HKEY_LOCAL_MACHINE,
                         "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates"};
    std::string systemIni_;
};

TEST_F(CacheTest, CdWriterGoesIntoVcacheAndEveryOtherLineStays) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 9, kWait));
    HWND profiles = e2e::Control(main, "ComboBox1");
    ASSERT_TRUE(::IsWindowVisible(profiles));
    ChooseEntry(profiles, 5);
    EXPECT_EQ("CD Writer", e2e::Text(profiles));
    EXPECT_EQ("12288", e2e::Text(e2e::Control(main, "Label22")));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    char value[32] = "";
    for (auto [key, expected] :
         {std::pair{"MinFileCache", "12288"}, std::pair{"MaxFileCache", "12288"},
          std::pair{"CHUNKSIZE", "256"}}) {
        ::GetPrivateProfileStringA("vcache", key, "<missing>", value, sizeof value, "SYSTEM.INI");
        EXPECT_STREQ(expected, value) << key;
    }
    std::vector<std::string> before = Lines(systemIni_), after = Lines(ReadWhole(SystemIniPath()));
    std::erase(before, std::string());  // the profile functions drop blank lines on a write
    std::vector<std::string> others;
    for (const std::string& line : after)
        if (line.rfind("MinFileCache=", 0) && line.rfind("MaxFileCache=", 0) &&
            line.rfind("CHUNKSIZE=", 0))
            others.push_back(line);
    EXPECT_EQ(before, others);
    EXPECT_EQ("CD Writer", e2e::Text(profiles)) << "recognised by the read pass";
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

TEST_F(CacheTest, AMobileRoleSelectsItsTemplateAndTheGaugesShowPerCents) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 8, kWait));
    for (const char* gauge : {"ProgressBar1", "ProgressBar2"}) {
        LRESULT position = ::SendMessageA(e2e::Control(main, gauge), PBM_GETPOS, 0, 0);
        EXPECT_GE(position, 0) << gauge;
        EXPECT_LE(position, 100) << gauge;
    }
    std::string physical = e2e::Text(e2e::Control(main, "Label34"));
    EXPECT_EQ(
        std::to_string(::SendMessageA(e2e::Control(main, "ProgressBar1"), PBM_GETPOS, 0, 0)) + " %",
        physical);
    ChooseEntry(e2e::Control(main, "ComboBox3"), 2);
    EXPECT_EQ("337", e2e::Text(e2e::Control(main, "SpinEdit6")));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ("Mobile",
              RegistryText(HKEY_LOCAL_MACHINE,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates", ""));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

// --- OEM Info and About ------------------------------------------------------------------

namespace {

// A 24-bit bitmap file of the given size, every pixel grey.
std::string GreyBitmap(int width, int height) {
    int rowBytes = (width * 24 + 31) / 32 * 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + rowBytes * height;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(rowBytes * height, '\x80');
    return bytes;
}

// Answers the common file-open dialog of the process with `path`.
bool AnswerOpenDialog(DWORD processId, const std::string& path) {
    HWND dialog = e2e::WaitMessageBox(processId, 15000);
    if (!dialog) return false;
    // The file name field: the only edit box, inside the file name combo box.
    HWND edit = nullptr;
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM found) WINAPI -> BOOL {
            char cls[16] = "";
            ::GetClassNameA(child, cls, sizeof cls);
            if (lstrcmpiA(cls, "Edit") != 0) return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&edit));
    if (!edit) return false;
    ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    ::PostMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    return e2e::WaitUntil([&] { return !::IsWindow(dialog); }, 15000);
}

std::string WindowsFolder() {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    return windows;
}

}  // namespace

class OemInfoTest : public VeltrimTest {
  protected:
    void SetUp() override {
        VeltrimTest::SetUp();
        info_ = WindowsFolder() + "\\system\\oeminfo.ini";
        logo_ = WindowsFolder() + "\\system\\oemlogo.bmp";
        ::DeleteFileA(info_.c_str());
        ::DeleteFileA(logo_.c_str());
    }
    void TearDown() override {
        VeltrimTest::TearDown();
        ::DeleteFileA(info_.c_str());
        ::DeleteFileA(logo_.c_str());
    }
    std::string info_, logo_;
};

TEST_F(OemInfoTest, TheFieldsAndTheChosenLogoAreWrittenAndClearDeletesTheLogo) {
    std::string picture = Path("logo.bmp");
    WriteWhole(picture, GreyBitmap(120, 90));
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 11, kWait));
    SetText(e2e::Control(main, "Manufacturer"), "Example Computers");
    SetText(e2e::Control(main, "Line1"), "support@example.com");
    e2e::Click(e2e::Control(main, "Button9"));
    ASSERT_TRUE(AnswerOpenDialog(processes_.front().id, picture));
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return ::IsWindowVisible(e2e::Control(main, "Image13")) != FALSE; }, kWait));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    char value[64] = "";
    ::GetPrivateProfileStringA("General", "Manufacturer", "", value, sizeof value, info_.c_str());
    EXPECT_STREQ("Example Computers", value);
    ::GetPrivateProfileStringA("Support Information", "Line1", "", value, sizeof value,
                               info_.c_str());
    EXPECT_STREQ("support@example.com", value);
    std::string saved = ReadWhole(logo_);
    ASSERT_GE(saved.size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
    EXPECT_EQ('B', saved[0]);
    EXPECT_EQ('M', saved[1]);
    const auto* header =
        reinterpret_cast<const BITMAPINFOHEADER*>(saved.data() + sizeof(BITMAPFILEHEADER));
    EXPECT_EQ(120, header->biWidth);
    EXPECT_EQ(90, header->biHeight);
    HANDLE loaded = ::LoadImageA(nullptr, logo_.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    EXPECT_TRUE(loaded) << "Windows reads the saved file as a bitmap";
    if (loaded) ::DeleteObject(loaded);

    e2e::ClickAndWait(e2e::Control(main, "Button10"));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(logo_.c_str()));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

// A logo planted to read far past its few bytes (bit fields, 32767 by 32767) or to run its
// pixels past the file: the start names it and goes on, the page draws nothing, no crash.
TEST_F(OemInfoTest, ALogoThatPromisesMoreThanItHoldsIsRefusedNotDrawn) {
    // A bitmap's headers as given, then `rest` (masks, colours, pixels).
    auto planted = [](int size, WORD bitCount, DWORD compression, DWORD colours,
                      const std::string& rest, DWORD restBeforePixels) {
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info + restBeforePixels;
        file.bfSize = static_cast<DWORD>(sizeof file + sizeof info + rest.size());
        info.biSize = sizeof info;
        info.biWidth = info.biHeight = size;
        info.biPlanes = 1;
        info.biBitCount = bitCount;
        info.biCompression = compression;
        info.biClrUsed = colours;
        std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
        bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
        return bytes + rest;
    };
    const std::string masks("\0\0\xFF\0\0\xFF\0\0\xFF\0\0\0", 12);
    const std::string bitFields =
        planted(32767, 32, BI_BITFIELDS, 0, masks + std::string(16, '\0'), 12);
    // One byte of runs for a billion pixels, after its one colour.
    const std::string runs = planted(32767, 8, BI_RLE8, 1, std::string(4, '\0') + "\x01", 4);
    for (const std::string& logo : {bitFields, runs}) {
        WriteWhole(logo_, logo);
        WriteConfig(0, 0);
        e2e::Process& process = Launch();
        HWND box = e2e::WaitMessageBox(process.id, kWait);
        ASSERT_TRUE(box);
        EXPECT_NE(std::string::npos, e2e::MessageText(box).find("oemlogo.bmp"));
        e2e::Answer(box, IDOK);
        HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
        ASSERT_TRUE(main);
        ASSERT_TRUE(e2e::ShowPage(main, 11, kWait));  // the OEM Info page, drawn
        e2e::CloseWindow(main);
        EXPECT_EQ(0, e2e::WaitExit(process, kWait));
        EXPECT_EQ(logo, ReadWhole(logo_)) << "left for the user to clear";
    }
}

// The first child window of `parent` that `matches`, however deep.
static HWND FindChild(HWND parent, const std::function<bool(HWND)>& matches) {
    struct Search {
        const std::function<bool(HWND)>* matches;
        HWND found;
    } search{&matches, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) WINAPI -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (!(*s->matches)(child)) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

static bool HasClass(HWND window, const char* name) {
    char cls[32] = "";
    ::GetClassNameA(window, cls, sizeof cls);
    return lstrcmpiA(cls, name) == 0;
}

// The picture dialog shows the bitmap selected in its list, scaled into the preview below it.
TEST_F(OemInfoTest, ThePictureDialogShowsTheBitmapSelectedInItsList) {
    const std::string photo = Path("photo.bmp");  // in the folder the dialog opens
    WriteWhole(photo, GreyBitmap(400, 300));
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 11, kWait));
    e2e::Click(e2e::Control(main, "Button9"));
    HWND dialog = e2e::WaitMessageBox(processes_.front().id, 15000);
    ASSERT_TRUE(dialog);
    HWND preview = FindChild(dialog, [](HWND w) { return ::GetDlgCtrlID(w) == 0x4000; });
    ASSERT_TRUE(preview) << "the preview below the list";
    auto shown = [&] { return ::SendMessageA(preview, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0; };
    EXPECT_FALSE(shown());
    HWND list = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            list = FindChild(dialog, [](HWND w) { return HasClass(w, "SysListView32"); });
            return list && ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0;
        },
        kWait));
    // The last item: folders come first, and the bitmap is the only file the filter shows.
    ::PostMessageA(list, WM_KEYDOWN, VK_END, 0);
    EXPECT_TRUE(e2e::WaitUntil(shown, kWait))
        << "selected " << ::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0);
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(dialog); }, kWait));
    e2e::CloseWindow(main);
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
    ::DeleteFileA(photo.c_str());
}

TEST_F(OemInfoTest, AnUntouchedPageCreatesNoFileAndAboutShowsTheVersionWineReports) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(info_.c_str()));
    HWND about = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return (about = ::FindWindowA("TAboutBox", "About")) != nullptr; }, kWait));
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ::GetVersionExA(&version);
    char expected[256];
    std::snprintf(expected, sizeof expected, "Windows 98 %lu.%lu (Build %lu: %s)",
                  version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber & 0xFFFF,
                  version.szCSDVersion);
    EXPECT_EQ(expected, e2e::Text(e2e::Control(about, "OS")));
    std::string total = e2e::Text(e2e::Control(about, "Label12"));
    EXPECT_EQ(" KB", total.substr(total.size() - 3));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

// --- Right click menus and Add/Remove --------------------------------------------------

namespace {

std::string IniText(const std::string& file, const char* section, const char* key) {
    char value[512] = "";
    ::GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
    return value;
}

// The rows of a list box of another process, in its order. Across processes Wine hands the
// text back as Unicode whichever way it is asked, so it is asked for as Unicode.
std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t wide[512] = L"";
        ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[512] = "";
        ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        items.emplace_back(text);
    }
    return items;
}

void ChooseRow(HWND list, const std::string& text) {
    LRESULT row = ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(list, LB_SETCURSEL, row, 0);
    ::SendMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}

const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr int kRightClickPage = 6;
constexpr int kAddRemovePage = 7;

}  // namespace

class RightClickTest : public VeltrimTest {
  protected:
    void SetUp() override {
        VeltrimTest::SetUp();
        ::DeleteFileA(Path("data.ini").c_str());
    }
    SavedTree textType_{HKEY_CLASSES_ROOT, "txtfile"};
};

TEST_F(RightClickTest, AnEntryForTextFilesComesBackAfterARestartAndRemoveLeavesOpenAlone) {
    const char* verb = "txtfile\\Shell\\Notepad here";
    std::string open = RegistryText(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "");
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, kRightClickPage, kWait));
    HWND box = e2e::Control(main, "CheckBox79");
    HWND name = e2e::Control(main, "Edit12");
    HWND path = e2e::Control(main, "Edit13");
    ASSERT_TRUE(::IsWindowVisible(box));
    EXPECT_EQ("txt files", e2e::Text(box));
    EXPECT_EQ("jpg files ", e2e::Text(e2e::Control(main, "CheckBox72")));
    ASSERT_FALSE(Checked(box));
    EXPECT_FALSE(::IsWindowEnabled(name)) << "collapsed until a box is pressed";
    e2e::ClickAndWait(box);
    EXPECT_TRUE(Checked(box));
    EXPECT_TRUE(::IsWindowEnabled(name));
    EXPECT_TRUE(::GetWindowLongA(path, GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(::IsWindowEnabled(e2e::Control(main, "Button6"))) << "nothing to create yet";

    e2e::Click(e2e::Control(main, "SpeedButton3"));
    ASSERT_TRUE(AnswerOpenDialog(processes_.front().id, "C:\\windows\\notepad.exe"));
    ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::Text(path).empty(); }, kWait));
    std::string command = e2e::Text(path);
    EXPECT_EQ(0, ::lstrcmpiA("C:\\windows\\notepad.exe \"%1\"", command.c_str())) << command;
    SetText(name, "Notepad here");
    e2e::ClickAndWait(e2e::Control(main, "Button6"));
    EXPECT_EQ(command,
              RegistryText(HKEY_CLASSES_ROOT, (std::string(verb) + "\\command").c_str(), ""));
    EXPECT_EQ("Notepad here", IniText(Path("data.ini"), ".txt", "Title"));
    EXPECT_EQ(command, IniText(Path("data.ini"), ".txt", "player"));
    e2e::Click(e2e::Control(main, "Button4"));
    ASSERT_EQ(0, e2e::WaitExit(processes_.front(), kWait));

    main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, kRightClickPage, kWait));
    box = e2e::Control(main, "CheckBox79");
    name = e2e::Control(main, "Edit12");
    path = e2e::Control(main, "Edit13");
    EXPECT_TRUE(Checked(box)) << "read back from data.ini";
    e2e::ClickAndWait(box);  // ticked: only collapses
    EXPECT_FALSE(Checked(box));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, verb)) << "collapsing deletes nothing";
    e2e::ClickAndWait(box);  // loads the entry
    EXPECT_EQ("Notepad here", e2e::Text(name));
    EXPECT_EQ(command, e2e::Text(path));
    e2e::ClickAndWait(e2e::Control(main, "Button8"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, verb));
    EXPECT_EQ("<missing>", IniText(Path("data.ini"), ".txt", "Title"));
    EXPECT_EQ("<missing>", IniText(Path("data.ini"), ".txt", "player"));
    EXPECT_EQ(open, RegistryText(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", ""));
    EXPECT_EQ("txtfile", RegistryText(HKEY_CLASSES_ROOT, ".txt", ""));
    EXPECT_FALSE(Checked(box));
    EXPECT_EQ("", e2e::Text(name));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.back(), kWait));
}

TEST_F(RightClickTest, TheOpenVerbCannotBeTakenOver) {
    if (!KeyExists(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command"))
        SetRegistryText(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "",
                        "notepad.exe \"%1\"");
    std::string open = RegistryText(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "");
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, kRightClickPage, kWait));
    e2e::ClickAndWait(e2e::Control(main, "CheckBox79"));
    e2e::Click(e2e::Control(main, "SpeedButton3"));
    ASSERT_TRUE(AnswerOpenDialog(processes_.front().id, "C:\\windows\\notepad.exe"));
    HWND path = e2e::Control(main, "Edit13");
    ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::Text(path).empty(); }, kWait));
    SetText(e2e::Control(main, "Edit12"), "open");
    e2e::Click(e2e::Control(main, "Button6"));
    HWND box = e2e::WaitMessageBox(processes_.front().id, kWait);
    ASSERT_TRUE(box);
    EXPECT_NE(std::string::npos, e2e::MessageText(box).find("\"open\""));
    e2e::Answer(box, IDOK);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(box); }, kWait));
    EXPECT_EQ(open, RegistryText(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", ""));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(Path("data.ini").c_str()));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

class AddRemoveTest : public VeltrimTest {
  protected:
    SavedTree uninstall_{HKEY_LOCAL_MACHINE, kUninstallKey};
    std::string Key(const char* name) { return std::string(kUninstallKey) + "\\" + name; }
    std::map<std::string, std::string> Entries() {
        std::map<std::string, std::string> values;
        Dump(HKEY_LOCAL_MACHINE, kUninstallKey, "HKLM", values);
        return values;
    }
};

TEST_F(AddRemoveTest, EditRenamesAnEntryThroughTheDialog) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, kAddRemovePage, kWait));
    HWND list = e2e::Control(main, "ListBox2");
    ASSERT_TRUE(::IsWindowVisible(list));
    EXPECT_FALSE(::IsWindowVisible(e2e::Control(main, "ListBox1")));
    std::vector<std::string> items = ListItems(list);
    for (const char* seeded :
         {"Microsoft Internet Explorer 5 and Internet Tools", "Microsoft NetMeeting 2.1",
          "Veltrim 2000", "Windows Address Book 5"})
        EXPECT_NE(items.end(), std::find(items.begin(), items.end(), seeded)) << seeded;
    EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](const auto& a, const auto& b) {
        return ::lstrcmpiA(a.c_str(), b.c_str()) < 0;
    }));
    std::string command =
        RegistryText(HKEY_LOCAL_MACHINE, Key("AddressBook").c_str(), "UninstallString");

    ChooseRow(list, "Windows Address Book 5");
    e2e::Click(e2e::Control(main, "Button2"));
    HWND dialog = e2e::WaitWindow("TForm5", "Uninstal Command", kWait);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(::IsWindowEnabled(main));
    EXPECT_FALSE(::GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU) << "no close box";
    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_EQ(364, client.right);
    EXPECT_EQ(149, client.bottom);
    HWND edit1 = e2e::Control(dialog, "Edit1");
    HWND edit2 = e2e::Control(dialog, "Edit2");
    EXPECT_EQ(command, e2e::Text(edit1));
    EXPECT_EQ("Windows Address Book 5", e2e::Text(edit2));
    HWND order[] = {edit1, e2e::Control(dialog, "Button1"), e2e::Control(dialog, "Button2"), edit2,
                    edit1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(order[i + 1], ::GetNextDlgTabItem(dialog, order[i], FALSE)) << "tab " << i;

    SetText(edit2, "Windows Address Book 6");
    e2e::Click(e2e::Control(dialog, "Button1"));
    HWND box = e2e::WaitMessageBox(processes_.front().id, kWait);
    ASSERT_TRUE(box);
    EXPECT_EQ("Are you sure ?", e2e::MessageText(box));
    e2e::Answer(box, IDYES);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindowVisible(dialog); }, kWait));
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }, kWait));
    EXPECT_EQ("Windows Address Book 6",
              RegistryText(HKEY_LOCAL_MACHINE, Key("AddressBook").c_str(), "DisplayName"));
    EXPECT_EQ(command,
              RegistryText(HKEY_LOCAL_MACHINE, Key("AddressBook").c_str(), "UninstallString"));
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            std::vector<std::string> now = ListItems(list);
            return std::find(now.begin(), now.end(), "Windows Address Book 6") != now.end();
        },
        kWait))
        << "the list follows when the main window is active again";
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

TEST_F(AddRemoveTest, RemoveDeletesOneKeyAndNothingElse) {
    std::map<std::string, std::string> before = Entries();
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, kAddRemovePage, kWait));
    HWND list = e2e::Control(main, "ListBox2");
    ChooseRow(list, "Microsoft NetMeeting 2.1");
    e2e::Click(e2e::Control(main, "Button3"));
    HWND box = e2e::WaitMessageBox(processes_.front().id, kWait);
    ASSERT_TRUE(box);
    EXPECT_EQ("Are you sure ?", e2e::MessageText(box));
    e2e::Answer(box, IDYES);
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return !KeyExists(HKEY_LOCAL_MACHINE, Key("NetMeeting").c_str()); }, kWait));
    std::vector<std::string> items;
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            items = ListItems(list);
            return std::find(items.begin(), items.end(), "Microsoft NetMeeting 2.1") == items.end();
        },
        kWait))
        << "refilled at once";
    std::map<std::string, std::string> after = Entries();
    for (auto it = before.begin(); it != before.end();)
        it = it->first.find("\\NetMeeting\\") != std::string::npos ? before.erase(it)
                                                                   : std::next(it);
    EXPECT_EQ(before, after);
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

// --- Program page ------------------------------------------------------------------------

namespace {

struct LinkInfo {
    std::string target, directory;
};

// A shortcut as the shell reads it back.
LinkInfo ReadShellLink(const std::string& file) {
    LinkInfo link;
    ::CoInitialize(nullptr);
    IShellLinkA* shell = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkA, reinterpret_cast<void**>(&shell)))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(
                shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            wchar_t wide[MAX_PATH] = L"";
            ::MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
                char path[MAX_PATH] = "";
                shell->GetPath(path, MAX_PATH, nullptr, 0);
                link.target = path;
                shell->GetWorkingDirectory(path, MAX_PATH);
                link.directory = path;
            }
            persist->Release();
        }
        shell->Release();
    }
    return link;
}

bool SameFile(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

}  // namespace

class ProgramTest : public VeltrimTest {
  protected:
    void SetUp() override {
        VeltrimTest::SetUp();
        systemIni_ = ReadWhole(SystemIniPath());
        desktop_ = WindowsFolder() + "\\Desktop\\Veltrim 2000.lnk";
        quickLaunch_ = WindowsFolder() +
                       "\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\Veltrim "
                       "2000.lnk";
    }
    void TearDown() override {
        VeltrimTest::TearDown();
        WriteWhole(SystemIniPath(), systemIni_);
        ::DeleteFileA(desktop_.c_str());
        ::DeleteFileA(quickLaunch_.c_str());
        ResetMsdosSys();
    }
    std::string systemIni_, desktop_, quickLaunch_;
};

TEST_F(ProgramTest, TheDesktopAndQuickLaunchShortcutsPointAtTheInstalledProgram) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 12, kWait));
    e2e::ClickAndWait(e2e::Control(main, "CheckBox45"));
    e2e::ClickAndWait(e2e::Control(main, "CheckBox46"));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    for (const std::string& file : {desktop_, quickLaunch_}) {
        LinkInfo link = ReadShellLink(file);
        EXPECT_TRUE(SameFile(Path("Veltrim.exe"), link.target)) << file << ": " << link.target;
        EXPECT_TRUE(SameFile(dir_, link.directory)) << file << ": " << link.directory;
    }
    EXPECT_TRUE(Checked(e2e::Control(main, "CheckBox45"))) << "read back";
    e2e::ClickAndWait(e2e::Control(main, "CheckBox45"));
    e2e::ClickAndWait(e2e::Control(main, "Button5"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(desktop_.c_str()));
    e2e::Click(e2e::Control(main, "Button4"));
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
}

class BackToDefaultE2eTest : public ProgramTest {
  protected:
    // Everything "Back to Windows Default" may touch, put back when the test ends.
    SavedTree trees_[12] = {
        {HKEY_CURRENT_USER, "Control Panel\\Desktop"},
        {HKEY_CURRENT_USER, "Control Panel\\Sound"},
        {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies"},
        {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SmallIcons"},
        {HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Toolbar"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Update"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates"},
        {HKEY_LOCAL_MACHINE, "Network"},
        {HKEY_USERS, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"},
    };
    std::string group_, uninstall_;
    void SetUp() override {
        ProgramTest::SetUp();
        group_ = WindowsFolder() + "\\Start Menu\\Programs\\Veltrim 2000\\";
        uninstall_ = ReadWhole(group_ + "Uninstall.lnk");
    }
    void TearDown() override {
        ProgramTest::TearDown();
        ::DeleteFileA((group_ + "Veltrim 2000.lnk").c_str());
        ::DeleteFileA((group_ + "Readme.lnk").c_str());
        WriteWhole(group_ + "Uninstall.lnk", uninstall_);
    }
    void Press(HWND main, int answer) {
        ASSERT_TRUE(e2e::ShowPage(main, 12, kWait));
        e2e::Click(e2e::Control(main, "CheckBox64"));
        HWND box = e2e::WaitMessageBox(processes_.front().id, kWait);
        ASSERT_TRUE(box);
        EXPECT_EQ("Are you sure ?", e2e::MessageText(box));
        e2e::Answer(box, answer);
        ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(box); }, kWait));
        e2e::ClickAndWait(e2e::Control(main, "Button4"));
    }
};

TEST_F(BackToDefaultE2eTest, NoLeavesTheMachineByteForByte) {
    ::WritePrivateProfileStringA("vcache", "MinFileCache", "3000", "SYSTEM.INI");
    Snapshot before = TakeSnapshot();
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    Press(main, IDNO);
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
    EXPECT_EQ(std::vector<std::string>{}, Differences(before, TakeSnapshot()));
}

TEST_F(BackToDefaultE2eTest, YesLeavesTheDocumentedDefaults) {
    ::WritePrivateProfileStringA("vcache", "MinFileCache", "3000", "SYSTEM.INI");
    SetRegistryText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "MenuShowDelay", "10");
    WriteWhole(desktop_, "");
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    Press(main, IDYES);
    EXPECT_EQ(0, e2e::WaitExit(processes_.front(), kWait));
    char value[32] = "";
    ::GetPrivateProfileStringA("vcache", "MinFileCache", "<missing>", value, sizeof value,
                               "SYSTEM.INI");
    EXPECT_STREQ("<missing>", value);
    ::GetPrivateProfileStringA("Options", "BootMenuDelay", "<missing>", value, sizeof value,
                               kMsdosSys);
    EXPECT_STREQ("30", value);
    EXPECT_EQ("400", RegistryText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "MenuShowDelay"));
    EXPECT_EQ("16", RegistryText(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics",
                                 "Shell Icon BPP"));
    EXPECT_EQ("Desktop",
              RegistryText(HKEY_LOCAL_MACHINE,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates", ""));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(desktop_.c_str()));
    std::string group = WindowsFolder() + "\\Start Menu\\Programs\\Veltrim 2000\\Veltrim 2000.lnk";
    EXPECT_TRUE(SameFile(Path("Veltrim.exe"), ReadShellLink(group).target))
        << "the group is made when missing";
}
