// End to end: a settings profile exported on one PC and applied on another by a batch file
// run by the command interpreter, as a logon script would; a refused profile and /undo.
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

using e2e::Dump;
using e2e::kMsdosSys;
using e2e::PutMsdosSys;
using e2e::ReadWhole;
using e2e::RegistryText;
using e2e::SavedValue;
using e2e::SetRegistryText;
using e2e::SystemIniPath;
using e2e::WriteWhole;

namespace {

constexpr int kWait = 60000;
constexpr const char* kPolicies =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kDialUp = "System\\CurrentControlSet\\Services\\Class\\Net\\0000";

// What the profile's settings live in: the registry trees and the files.
struct Stored {
    std::map<std::string, std::string> registry;
    std::string msdosSys, systemIni, oemInfo;
    bool operator==(const Stored&) const = default;
};

std::string OemInfoPath() {
    char system[MAX_PATH] = "";
    ::GetSystemDirectoryA(system, sizeof system);
    return std::string(system) + "\\oeminfo.ini";
}

Stored StoredNow() {
    Stored stored;
    const std::pair<HKEY, const char*> trees[] = {
        {HKEY_CURRENT_USER, "Control Panel"},
        {HKEY_CURRENT_USER, kVersion},
        {HKEY_LOCAL_MACHINE, kVersion},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Net"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP"},
    };
    for (auto [root, path] : trees)
        Dump(root, path, std::to_string(reinterpret_cast<std::uintptr_t>(root)), stored.registry);
    stored.msdosSys = ReadWhole(kMsdosSys);
    stored.systemIni = ReadWhole(SystemIniPath());
    stored.oemInfo = ReadWhole(OemInfoPath());
    return stored;
}

class RolloutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        msdosSys_ = ReadWhole(kMsdosSys);
        ASSERT_FALSE(msdosSys_.empty()) << "the machine is not seeded";
        systemIni_ = ReadWhole(SystemIniPath());
        oemInfo_ = ReadWhole(OemInfoPath());
        oemInfoExisted_ = ::GetFileAttributesA(OemInfoPath().c_str()) != INVALID_FILE_ATTRIBUTES;
        char current[MAX_PATH] = "";
        ::GetCurrentDirectoryA(sizeof current, current);
        here_ = current;
        for (auto [root, path, name] :
             std::initializer_list<std::tuple<HKEY, const char*, const char*>>{
                 {HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep"},
                 {HKEY_CURRENT_USER, kPolicies, "NoRun"},
                 {HKEY_LOCAL_MACHINE, kVersion, "RegisteredOwner"},
                 {HKEY_LOCAL_MACHINE, kVersion, "RegisteredOrganization"},
                 {HKEY_LOCAL_MACHINE, kDialUp, "IPMTU"}})
            kept_.push_back(std::make_unique<SavedValue>(root, path, name));
    }

    void TearDown() override {
        kept_.clear();
        PutMsdosSys(msdosSys_);
        WriteWhole(SystemIniPath(), systemIni_);
        if (oemInfoExisted_)
            WriteWhole(OemInfoPath(), oemInfo_);
        else
            ::DeleteFileA(OemInfoPath().c_str());
    }

    // The program installed in a folder of its own, as on one PC.
    std::string Install(const std::string& name) {
        std::string dir = here_ + "\\" + name;
        EXPECT_TRUE(e2e::InstallCopy(dir));
        return dir;
    }

    // Veltrim.exe with these arguments, started from `from`: its exit code.
    int Run(const std::string& dir, const std::string& arguments, const std::string& from) {
        e2e::Process process = e2e::Start(dir + "\\Veltrim.exe", from, arguments);
        int code = e2e::WaitExit(process, kWait);
        e2e::Stop(process);
        return code;
    }

    // A logon script's lines: the command, then its exit code written where the test reads it.
    int RunScript(const std::string& dir, const std::string& command) {
        // As the administrators' guide writes it: Windows 98's COMMAND.COM waits only so.
        std::string script = "@echo off\r\nstart /w " + command + "\r\n";
        for (int code : {7, 6, 5, 4, 3, 2, 1})
            script += "if errorlevel " + std::to_string(code) + " goto code" +
                      std::to_string(code) + "\r\n";
        script += "echo code 0 > " + dir + "\\code.txt\r\ngoto end\r\n";
        for (int code : {7, 6, 5, 4, 3, 2, 1})
            script += ":code" + std::to_string(code) + "\r\necho code " + std::to_string(code) +
                      " > " + dir + "\\code.txt\r\ngoto end\r\n";
        script += ":end\r\n";
        WriteWhole(dir + "\\logon.bat", script);
        ::DeleteFileA((dir + "\\code.txt").c_str());
        char system[MAX_PATH] = "";
        ::GetSystemDirectoryA(system, sizeof system);
        e2e::Process shell =
            e2e::Start(std::string(system) + "\\cmd.exe", dir, "/c " + dir + "\\logon.bat");
        EXPECT_NE(-1, e2e::WaitExit(shell, kWait)) << "the command interpreter did not end";
        e2e::Stop(shell);
        std::string written = ReadWhole(dir + "\\code.txt");
        return written.rfind("code ", 0) == 0 ? written[5] - '0' : -1;
    }

    std::string here_, msdosSys_, systemIni_, oemInfo_;
    bool oemInfoExisted_ = false;
    std::vector<std::unique_ptr<SavedValue>> kept_;
};

TEST_F(RolloutTest, AProfileFromOnePcSetsTheSameSettingsOnAnotherThroughALogonScript) {
    // The reference PC, set up by a profile written by hand and checked there first.
    std::string reference = Install("Reference");
    WriteWhole(
        reference + "\\lab.vts",
        "Veltrim 2000 settings profile, version 1\r\n"
        "[Boot]\r\nDisable Boot Function Keys=1\r\nDisplay Windows Boot Menu=1\r\nBoot menu "
        "delay=4\r\n"
        "[System]\r\nEnable Beep on Error=1\r\nAdd Buffer for Harddisk=1\r\n"
        "Change Windows Owner - Name=Lab\r\nChange Windows Owner - Organization=Example School\r\n"
        "[Start Menu]\r\nRemove the Run Menu=1\r\n"
        "[Internet #1]\r\nInternet Protocol MTU - Dial-Up=Custom\r\n"
        "Internet Protocol MTU - Dial-Up - Custom=1400\r\n"
        "[OEM Info]\r\nManufacturer=Example Lab PCs\r\n");
    ASSERT_EQ(7, Run(reference, "/apply lab.vts /log lab.log", reference));
    ASSERT_EQ(0, Run(reference, "/export " + here_ + "\\reference.vts", here_));
    std::string profile = ReadWhole(here_ + "\\reference.vts");
    ASSERT_NE(std::string::npos, profile.find("Change Windows Owner - Name=Lab\r\n")) << profile;
    ASSERT_NE(std::string::npos, profile.find("Internet Protocol MTU - Dial-Up - Custom=1400\r\n"));
    Stored onReference = StoredNow();

    // The second PC, seeded otherwise.
    PutMsdosSys(msdosSys_ + "BootMenuDelay=9\r\n");
    WriteWhole(SystemIniPath(), systemIni_);
    SetRegistryText(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep", "NO");
    SetRegistryText(HKEY_LOCAL_MACHINE, kVersion, "RegisteredOwner", "Other Owner");
    SetRegistryText(HKEY_LOCAL_MACHINE, kDialUp, "IPMTU", "576");
    HKEY policies = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kPolicies, 0, KEY_ALL_ACCESS, &policies) ==
        ERROR_SUCCESS) {
        ::RegDeleteValueA(policies, "NoRun");
        ::RegCloseKey(policies);
    }
    ::DeleteFileA(OemInfoPath().c_str());
    std::string second = Install("Second");
    Stored beforeApply = StoredNow();
    ASSERT_NE(onReference, beforeApply);

    // A profile with a bad line is refused whole: nothing stored changes.
    WriteWhole(here_ + "\\bad.vts", profile + "[Boot]\r\nBoot menu delay=45\r\n");
    EXPECT_EQ(2, RunScript(second, second + "\\Veltrim.exe /apply " + here_ + "\\bad.vts /log " +
                                       second + "\\bad.log"));
    EXPECT_NE(std::string::npos, ReadWhole(second + "\\bad.log").find("refused: Line "));
    EXPECT_EQ(beforeApply, StoredNow());

    // The logon script's line, run from another folder.
    EXPECT_EQ(7, RunScript(second, second + "\\Veltrim.exe /apply " + here_ +
                                       "\\reference.vts /log " + second + "\\apply.log"));
    std::string log = ReadWhole(second + "\\apply.log");
    EXPECT_NE(std::string::npos, log.find("set [System] Enable Beep on Error: 0 -> 1")) << log;
    EXPECT_NE(std::string::npos, log.find("\"Other Owner\" -> \"Lab\"")) << log;
    EXPECT_NE(std::string::npos, log.find("exit code 7")) << log;
    EXPECT_EQ("YES", RegistryText(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep"));
    EXPECT_EQ("Lab", RegistryText(HKEY_LOCAL_MACHINE, kVersion, "RegisteredOwner"));
    EXPECT_EQ("1400", RegistryText(HKEY_LOCAL_MACHINE, kDialUp, "IPMTU"));
    // Every setting of the profile, read back from the second PC's stores, as on the first.
    ASSERT_EQ(0, Run(second, "/export " + here_ + "\\second.vts", here_));
    EXPECT_EQ(profile, ReadWhole(here_ + "\\second.vts"));

    // /undo puts the second PC back as it was.
    EXPECT_EQ(7, RunScript(second, second + "\\Veltrim.exe /undo /log " + second + "\\undo.log"));
    Stored afterUndo = StoredNow();
    EXPECT_EQ(beforeApply.msdosSys, afterUndo.msdosSys);
    EXPECT_EQ(beforeApply.systemIni, afterUndo.systemIni);
    EXPECT_EQ(beforeApply.oemInfo, afterUndo.oemInfo);
    for (const auto& [name, value] : beforeApply.registry)
        EXPECT_EQ(value, afterUndo.registry[name]) << name;
    EXPECT_EQ(beforeApply.registry.size(), afterUndo.registry.size());
}

// What an administrator gets wrong or asks beside /apply: a mistyped switch opens no window
// and says why in the log; /check leaves every stored byte; two profiles in one run; one log
// gaining each run.
TEST_F(RolloutTest, AMistypedSwitchACheckAndTwoProfilesInOneRun) {
    std::string pc = Install("Lab12");
    EXPECT_EQ(2, Run(pc, "/aply lab.vts /log typo.log", pc));
    EXPECT_NE(
        std::string::npos,
        ReadWhole(pc + "\\typo.log").find("refused: Unknown part of the command line: /aply"));
    WriteWhole(pc + "\\base.vts",
               "Veltrim 2000 settings profile, version 1\r\n[Boot]\r\nDisplay Windows Boot "
               "Menu=1\r\nBoot menu delay=4\r\n[Internet #1]\r\nReceive Window=(not set)\r\n");
    WriteWhole(pc + "\\room12.vts",
               "Veltrim 2000 settings profile, version 1\r\n[Boot]\r\nBoot menu delay=6\r\n");
    Stored before = StoredNow();
    EXPECT_EQ(7, Run(pc, "/check base.vts room12.vts /log lab.log", pc));
    EXPECT_EQ(before, StoredNow());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((pc + "\\Restore").c_str()));
    EXPECT_EQ(7, Run(pc, "/apply base.vts room12.vts /log lab.log", pc));
    EXPECT_NE(std::string::npos, ReadWhole(kMsdosSys).find("BootMenuDelay=6"));
    std::string log = ReadWhole(pc + "\\lab.log");
    EXPECT_NE(std::string::npos, log.find("pending C:\\MSDOS.SYS [Options] BootMenuDelay")) << log;
    EXPECT_NE(std::string::npos, log.find("changed C:\\MSDOS.SYS [Options] BootMenuDelay")) << log;
    std::size_t runs = 0;
    for (std::size_t at = log.find("run "); at != std::string::npos;
         at = log.find("\nrun ", at + 1))
        ++runs;
    EXPECT_EQ(2u, runs) << log;
    EXPECT_EQ(5, Run(pc, "/apply base.vts /log " + pc + "\\nowhere\\lab.log", pc));
}

// On Wine's real profile functions, which rewrite a file whole: an /apply keeps every byte
// of C:\MSDOS.SYS it did not change (a Ctrl+Z at the end, "Key = value" spacing, its length
// over 1,024 bytes) and logs only the keys it changed; a driver's line another program adds
// to SYSTEM.INI afterwards survives /undo, which puts back only the program's keys.
TEST_F(RolloutTest, ApplyKeepsTheFilesBytesAndUndoKeepsAnotherProgramsLine) {
    std::string pc = Install("Lab14");
    std::string boot =
        "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\n\r\n"
        "[Options]\r\nBootGUI = 1\r\nAutoScan = 1\r\n";
    while (boot.size() < 1029) boot += ";" + std::string(66, 'x') + "\r\n";
    boot += "\x1a";
    PutMsdosSys(boot);
    WriteWhole(pc + "\\menu.vts",
               "Veltrim 2000 settings profile, version 1\r\n"
               "[Boot]\r\nDisplay Windows Boot Menu=1\r\nBoot menu delay=5\r\n"
               "[Disk-Cache]\r\nChunk Size=16\r\n");
    ASSERT_EQ(7, Run(pc, "/apply menu.vts /log menu.log", pc));
    const std::string applied = ReadWhole(kMsdosSys);
    EXPECT_TRUE(applied.starts_with(boot.substr(0, boot.size() - 1))) << applied;
    EXPECT_TRUE(applied.ends_with("BootMenu=1\r\nBootMenuDelay=5\r\n\x1a")) << applied;
    const std::string log = ReadWhole(pc + "\\menu.log");
    EXPECT_EQ(std::string::npos, log.find("AutoScan")) << log;
    EXPECT_NE(std::string::npos,
              log.find("changed C:\\MSDOS.SYS [Options] BootMenu: (missing) -> 1"))
        << log;

    std::string systemIni = ReadWhole(SystemIniPath());
    const std::size_t enh = systemIni.find("[386Enh]\r\n");
    ASSERT_NE(std::string::npos, enh) << systemIni;
    systemIni.insert(enh + 10, "device=newdrv.vxd\r\n");
    WriteWhole(SystemIniPath(), systemIni);
    std::string expected = systemIni_;
    expected.insert(expected.find("[386Enh]\r\n") + 10, "device=newdrv.vxd\r\n");

    EXPECT_EQ(7, Run(pc, "/undo /log undo.log", pc)) << ReadWhole(pc + "\\undo.log");
    EXPECT_EQ(boot, ReadWhole(kMsdosSys));
    EXPECT_EQ(expected, ReadWhole(SystemIniPath()));
}

// A pass cut off between two sections of SYSTEM.INI (Wine rewrites a profile file one
// section per write(); Windows 98 may stop a write anywhere): the file is a clean start of
// what the pass wrote and the point never ended. The next logon's /apply puts SYSTEM.INI
// back whole and exits 4; the run after it applies the profile.
TEST_F(RolloutTest, ACutBetweenTwoSectionsIsPutBackWholeByTheNextApply) {
    std::string pc = Install("Lab15");
    WriteWhole(pc + "\\cache.vts",
               "Veltrim 2000 settings profile, version 1\r\n"
               "[Disk-Cache]\r\nChunk Size=16\r\n");
    ASSERT_EQ(7, Run(pc, "/apply cache.vts /log cache.log", pc));
    std::string name;
    for (std::size_t at = 0;;) {
        std::string list = ReadWhole(pc + "\\Restore\\Points.txt");
        std::size_t end = list.find("\r\n", at);
        ASSERT_NE(std::string::npos, end) << list;
        name = list.substr(at, end - at);
        if (!name.empty() && name[0] != ';') break;
        at = end + 2;
    }
    const std::string files = pc + "\\Restore\\" + name + "\\Files.txt";
    std::string body = ReadWhole(files);
    body = body.substr(0, body.find("; end, checksum "));
    const std::size_t state = body.find("state\tended");
    ASSERT_NE(std::string::npos, state) << body;
    body.replace(state, 11, "state\topen");
    WriteWhole(files, e2e::Sealed(body));
    const std::string written = ReadWhole(SystemIniPath());
    const std::size_t second = written.find("\r\n[", written.find("\r\n[") + 1);
    ASSERT_NE(std::string::npos, second) << written;
    WriteWhole(SystemIniPath(), written.substr(0, second + 2));

    EXPECT_EQ(4, Run(pc, "/apply cache.vts /log cache.log", pc)) << ReadWhole(pc + "\\cache.log");
    EXPECT_EQ(systemIni_, ReadWhole(SystemIniPath()));
    EXPECT_EQ(7, Run(pc, "/apply cache.vts /log cache.log", pc));
    EXPECT_EQ(written, ReadWhole(SystemIniPath()));
}

// A file of `size` bytes that takes no room: its length set, nothing written.
bool HugeFile(const std::string& path, LONGLONG size) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LONG high = static_cast<LONG>(size >> 32);
    bool made = ::SetFilePointer(file, static_cast<LONG>(size & 0xFFFFFFFF), &high, FILE_BEGIN) !=
                    INVALID_SET_FILE_POINTER &&
                ::SetEndOfFile(file);
    ::CloseHandle(file);
    return made;
}

// Files far larger than any of the program's (1.2 GB) where it reads: each is refused by its
// size with a line naming it and the run's exit code, never read into memory.
TEST_F(RolloutTest, FilesFarLargerThanTheProgramsAreRefusedByTheirSize) {
    constexpr LONGLONG kHuge = 1200LL << 20;
    std::string pc = Install("Huge");
    ASSERT_TRUE(::CreateDirectoryA((pc + "\\Restore").c_str(), nullptr));
    ASSERT_TRUE(HugeFile(pc + "\\Restore\\Points.txt", kHuge));
    EXPECT_EQ(0, Run(pc, "/undo /log undo.log", pc)) << "the list is no list of points";
    EXPECT_NE(std::string::npos, ReadWhole(pc + "\\undo.log").find("no restore point"));

    ASSERT_TRUE(HugeFile(here_ + "\\huge.vts", kHuge));
    EXPECT_EQ(2, Run(pc, "/apply " + here_ + "\\huge.vts /log apply.log", pc));
    EXPECT_NE(std::string::npos, ReadWhole(pc + "\\apply.log").find("is too large"))
        << ReadWhole(pc + "\\apply.log");
    ::DeleteFileA((here_ + "\\huge.vts").c_str());

    ASSERT_TRUE(HugeFile(pc + "\\Config.DAT", kHuge));
    EXPECT_EQ(1, Run(pc, "/export " + pc + "\\out.vts /log export.log", pc));
    std::string log = ReadWhole(pc + "\\export.log");
    EXPECT_NE(std::string::npos, log.find("Config.DAT is larger than")) << log;
    for (const char* name : {"Restore\\Points.txt", "Config.DAT"})
        ::DeleteFileA((pc + "\\" + name).c_str());
}

// Three runs writing one log at the same moment, as three PCs of a room do at logon: each
// run's lines arrive whole, and the codes the runs answer are the ones their blocks say.
TEST_F(RolloutTest, ThreeRunsSharingOneLogEachLeaveTheirWholeBlock) {
    std::vector<std::string> pcs = {Install("Room1"), Install("Room2"), Install("Room3")};
    const std::string profile = here_ + "\\room.vts", log = here_ + "\\room.log";
    WriteWhole(profile,
               "Veltrim 2000 settings profile, version 1\r\n[Boot]\r\nBoot menu delay=30\r\n");
    std::vector<e2e::Process> runs;
    for (const std::string& pc : pcs)
        runs.push_back(e2e::Start(pc + "\\Veltrim.exe", pc, "/check " + profile + " /log " + log));
    std::multiset<std::string> answered, logged;
    for (e2e::Process& run : runs) {
        answered.insert("exit code " + std::to_string(e2e::WaitExit(run, kWait)));
        e2e::Stop(run);
    }
    const std::string text = ReadWhole(log);
    int blocks = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find("\r\n", at), text.size());
        const std::string line = text.substr(at, end - at);
        if (line.starts_with("run ")) ++blocks;
        if (line.starts_with("exit code ")) logged.insert(line);
        at = end + 2;
    }
    EXPECT_EQ(3, blocks) << text;
    EXPECT_EQ(answered, logged) << text;
}

}  // namespace
