// Windows 98's loader refuses a program that imports a function its DLLs do not export
// ("linked to missing export"), where Wine runs it. These read what the shipped files ask for.
#include "imports/PeImage.h"
#include "platform/win32/LateBound.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace vt::imports {
namespace {

// Beside the test program (ctest copies them there).
const char* const kExportList = "Win98Exports.txt";

PeImage Read(const std::string& path) {
    PeImage image;
    std::string error;
    EXPECT_TRUE(ReadPeImage(path, image, error)) << error;
    return image;
}

class ShippedFile : public testing::TestWithParam<const char*> {};

TEST_P(ShippedFile, ImportsOnlyWhatWindows98Exports) {
    const auto exports = ReadExportList(kExportList);
    ASSERT_GT(exports.size(), 5u) << kExportList << " is missing or empty";
    PeImage image = Read(GetParam());
    ASSERT_FALSE(image.imports.empty());
    for (const std::string& missing : ImportsOutside(image, exports))
        ADD_FAILURE() << GetParam() << " imports " << missing
                      << ", which Windows 98 SE does not export";
}

TEST_P(ShippedFile, AsksForWindows4AndTheGuiSubsystem) {
    PeImage image = Read(GetParam());
    EXPECT_EQ(2, image.subsystem);  // IMAGE_SUBSYSTEM_WINDOWS_GUI
    EXPECT_EQ(4, image.osMajor);
    EXPECT_EQ(0, image.osMinor);
    EXPECT_EQ(4, image.subsystemMajor);
    EXPECT_EQ(0, image.subsystemMinor);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedFile, testing::Values("Veltrim.exe", "Setup.exe"));

// The functions the program loads at their first use instead of importing them.
TEST(LateBoundFunctions, AreWhatWindows98Exports) {
    PeImage bound;
    for (const late::Export& function : late::kAll)
        bound.imports[function.dll].insert(function.name);
    EXPECT_EQ(std::vector<std::string>{}, ImportsOutside(bound, ReadExportList(kExportList)));
}

// The plugin Setup.exe and the uninstaller unpack and load (it finds the program's mutex).
TEST(ShippedPlugin, ImportsOnlyWhatWindows98Exports) {
    PeImage image = Read("System.dll");
    ASSERT_FALSE(image.imports.empty());
    EXPECT_EQ(std::vector<std::string>{}, ImportsOutside(image, ReadExportList(kExportList)));
}

// The only TLS callbacks are the run-time's own (mingw-w64's tlssup.o): __dyn_tls_init, which
// the start-up code also calls itself before main for the one thread there is, and
// __dyn_tls_dtor, which frees per-thread data at thread and process end. Windows 98 not
// running them changes nothing the program does. Read from the linker's map of the program.
TEST(ShippedProgram, HasNoTlsCallbackOfItsOwn) {
    PeImage image = Read("Veltrim.exe");
    std::ifstream map("Veltrim.map");
    ASSERT_TRUE(map) << "Veltrim.map is missing";
    const std::regex callbackSection(R"(^ \.CRT\$XL([A-Z]) +0x[0-9a-f]+ +0x([0-9a-f]+) +(.*)$)");
    std::string line;
    int fromTheRuntime = 0;
    while (std::getline(map, line)) {
        std::smatch match;
        if (!std::regex_match(line, match, callbackSection)) continue;
        const bool marker = match[1] == "A" || match[1] == "Z";  // the array's first and last
        EXPECT_NE(std::string::npos, match[3].str().find("tlssup.o"))
            << "a TLS callback Windows 98's loader would not run: " << line;
        if (!marker && match[3].str().find("tlssup.o") != std::string::npos)
            fromTheRuntime += static_cast<int>(std::stoul(match[2].str(), nullptr, 16) / 4);
    }
    EXPECT_EQ(2, fromTheRuntime);
    EXPECT_EQ(static_cast<std::size_t>(fromTheRuntime), image.tlsCallbacks.size());
}

}  // namespace
}  // namespace vt::imports
