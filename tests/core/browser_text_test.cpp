#include <gtest/gtest.h>

#include "ui/browser/list_paths.h"
#include "ui/main/rom_size.h"

namespace lumarel {
namespace {

TEST(RomSize, TruncatedMegabytesInTheShortestForm) {
    struct Case {
        std::uint64_t bytes;
        const wchar_t* dot;
        const wchar_t* comma;
    };
    const Case cases[] = {
        {0, L"0", L"0"},
        {9999, L"0", L"0"},
        {10000, L"0.01", L"0,01"},
        {524800, L"0.52", L"0,52"},
        {1000000, L"1", L"1"},
        {1048576, L"1.04", L"1,04"},
        {1500000, L"1.5", L"1,5"},
        {2097152, L"2.09", L"2,09"},
        {4194816, L"4.19", L"4,19"},
        {3000000000ULL, L"3000", L"3000"},  // over 2 GB: never negative
        {5368709120ULL, L"5368.7", L"5368,7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatRomSize(c.bytes, L"."), c.dot) << c.bytes;
        EXPECT_EQ(FormatRomSize(c.bytes, L","), c.comma) << c.bytes;
    }
}

TEST(ListPaths, DirectoryChainFromTheRootDown) {
    const auto chain = DirectoryChain(L"C:\\Games\\My Roms");
    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[0].path, L"C:\\");
    EXPECT_EQ(chain[0].display, L"C:\\");
    EXPECT_EQ(chain[1].path, L"C:\\Games");
    EXPECT_EQ(chain[1].display, L"Games");
    EXPECT_EQ(chain[2].path, L"C:\\Games\\My Roms");
    EXPECT_EQ(chain[2].display, L"My Roms");

    EXPECT_EQ(DirectoryChain(L"C:\\").size(), 1u);
    const auto network = DirectoryChain(L"\\\\server\\share\\roms");
    ASSERT_EQ(network.size(), 2u);
    EXPECT_EQ(network[0].path, L"\\\\server\\share\\");
    EXPECT_EQ(network[1].path, L"\\\\server\\share\\roms");
}

TEST(ListPaths, DrivesAsWindowsUsersKnowThem) {
    EXPECT_EQ(DriveListText({L'C', DriveKind::Fixed, L"SYSTEM"}), L"c: [SYSTEM]");
    EXPECT_EQ(DriveListText({L'Z', DriveKind::Remote, L"\\\\server\\share"}),
              L"z: [\\\\server\\share]");
    EXPECT_EQ(DriveListText({L'D'}), L"d:");
    EXPECT_EQ(DriveLetterOf(L"c:\\roms"), L'C');
    EXPECT_EQ(DriveLetterOf(L"\\\\server\\share"), 0);
    EXPECT_EQ(DriveLetterOf(L""), 0);
}

}  // namespace
}  // namespace lumarel
