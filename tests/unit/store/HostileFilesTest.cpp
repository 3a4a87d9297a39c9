// Files planted in the Restore folder by another program or a hostile user: each is refused or
// passed over whole, nothing outside the folder is touched, no exception but a refusal leaves.
#include "ProgramScope.h"
#include "platform/fake/FakePlatform.h"
#include "store/RestorePointFiles.h"
#include "store/RestorePoints.h"

#include <gtest/gtest.h>

#include <functional>

namespace vt::testing {
namespace {

constexpr const char* kRestore = "C:\\Program Files\\Veltrim 2000\\Restore";
constexpr const char* kPoint = "2000-01-31 13.05.59";
constexpr const char* kSystemIni = "C:\\WINDOWS\\SYSTEM.INI";
const ManagedScope kScope = ProgramScope("C:\\WINDOWS", "C:\\Program Files\\Veltrim 2000");

std::string Dir() {
    return std::string(kRestore) + "\\" + kPoint;
}

// A whole point that saved SYSTEM.INI as `copy` (its size and checksum as recorded) and a
// value of the Start Menu page.
void PutPoint(fake::FakePlatform& sys, const std::string& copy, const std::string& registry) {
    using namespace pointfiles;
    sys.PutFile(std::string(kRestore) + "\\" + kList, Sealed(std::string(kPoint) + "\r\n"));
    sys.PutFile(Dir() + "\\" + kRegistryFile, Sealed("REGEDIT4\r\n\r\n" + registry));
    sys.PutFile(Dir() + "\\1 SYSTEM.INI", copy);
    sys.PutFile(Dir() + "\\" + kFilesFile,
                Sealed("state\tended\r\nfile\t20\t1 SYSTEM.INI\t" + std::string(kSystemIni) + "\t" +
                       std::to_string(copy.size()) + "\t" + Hex(Checksum(copy)) + "\r\n"));
}

// SYSTEM.INI as the point saved it and as it is now: a cache size the pass had written.
const std::string kBefore = "[boot]\r\nshell=Explorer.exe\r\n[vcache]\r\n";
const std::string kNow = kBefore + "ChunkSize=512\r\n";
const std::string kDelay =
    "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"400\"\r\n\r\n";

struct Planted {
    const char* what;
    std::function<void(fake::FakePlatform&)> plant;
    const char* refusal;  // in the message of RestorePointDamaged; "" when nothing is listed
};

TEST(HostileFilesTest, APlantedRestoreFolderIsRefusedOrPassedOverAndNothingElseIsTouched) {
    const Planted cases[] = {
        {"a whole point (the control case)",
         [](fake::FakePlatform& sys) { PutPoint(sys, kBefore, kDelay); }, nullptr},
        {"a copy far larger than any file of the program's",
         [](fake::FakePlatform& sys) { PutPoint(sys, std::string(9 << 20, 'x'), kDelay); },
         "1 SYSTEM.INI is too large"},
        {"a number longer than a DWORD",
         [](fake::FakePlatform& sys) {
             PutPoint(sys, kBefore,
                      "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
                      "\"MenuShowDelay\"=dword:123456789012\r\n\r\n");
         },
         "dword:123456789012"},
        {"a value type longer than a DWORD",
         [](fake::FakePlatform& sys) {
             PutPoint(sys, kBefore,
                      "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
                      "\"MenuShowDelay\"=hex(100000000):00\r\n\r\n");
         },
         "hex(100000000)"},
        {"a registry file far larger than any point's",
         [](fake::FakePlatform& sys) {
             PutPoint(sys, kBefore, kDelay + std::string(9 << 20, ';') + "\r\n");
         },
         "Registry.reg is missing or incomplete"},
        {"a point named out of the Restore folder",
         [](fake::FakePlatform& sys) {
             PutPoint(sys, kBefore, kDelay);
             sys.PutFile(std::string(kRestore) + "\\" + pointfiles::kList,
                         pointfiles::Sealed("..\\..\\..\\MyDocs\r\n"));
         },
         ""},
        {"a list of points far larger than ten names",
         [](fake::FakePlatform& sys) {
             PutPoint(sys, kBefore, kDelay);
             sys.PutFile(std::string(kRestore) + "\\" + pointfiles::kList,
                         pointfiles::Sealed(std::string(kPoint) + "\r\n" +
                                            std::string(100 << 10, ';') + "\r\n"));
         },
         ""},
    };
    for (const Planted& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakePlatform sys;
        sys.PutFile(kSystemIni, kNow);
        sys.PutFile("C:\\MyDocs\\Files.txt", pointfiles::Sealed("state\tended\r\n"));
        sys.PutFile("C:\\MyDocs\\Registry.reg", pointfiles::Sealed("REGEDIT4\r\n\r\n"));
        c.plant(sys);
        if (!c.refusal) {
            EXPECT_TRUE(UndoNewestRestorePoint(sys, kRestore, kScope));
            EXPECT_EQ(kBefore, sys.FileText(kSystemIni));
        } else {
            try {
                EXPECT_FALSE(UndoNewestRestorePoint(sys, kRestore, kScope)) << "no point listed";
                EXPECT_EQ('\0', *c.refusal) << "obeyed";
            } catch (const RestorePointDamaged& e) {
                EXPECT_NE(std::string::npos, std::string(e.what()).find(c.refusal)) << e.what();
                EXPECT_NE(std::string::npos, std::string(e.what()).find(kPoint)) << e.what();
            }
            EXPECT_EQ(kNow, sys.FileText(kSystemIni));
        }
        // What the uninstaller does with every point listed, then with the list.
        for (const std::string& name : ListRestorePoints(sys, kRestore))
            RemoveRestorePoint(sys, kRestore, name);
        RemoveRestorePointList(sys, kRestore);
        EXPECT_TRUE(sys.HasFile("C:\\MyDocs\\Files.txt"));
        EXPECT_TRUE(sys.HasFile("C:\\MyDocs\\Registry.reg"));
    }
}

TEST(HostileFilesTest, AListOfPointsWithoutItsSealIsTheUsersAndStays) {
    fake::FakePlatform sys;
    const std::string list = std::string(kRestore) + "\\" + pointfiles::kList;
    sys.PutFile(list, "my notes\r\n");
    RemoveRestorePointList(sys, kRestore);
    EXPECT_EQ("my notes\r\n", sys.FileText(list));
}

}  // namespace
}  // namespace vt::testing
