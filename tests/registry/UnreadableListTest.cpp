#include "platform/AtomicFile.h"
#include "registry/UnitList.h"
#include "support/AsUnprivileged.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace vantel;
namespace fs = std::filesystem;

namespace {

const std::string kTenUnits = [] {
    std::string lines;
    for (int i = 1; i <= 10; ++i)
        lines += "\"unit" + std::to_string(i) + "\",\"h\",10003,30704,8,-1,-1,D1,D2,D3,I1,I2,I3\r\n";
    return lines;
}();

UnitConnection NewUnit()
{
    UnitConnection unit;
    unit.name = "new";
    unit.host = "h";
    unit.modelRow = 8;
    return unit;
}

// What a list on `path` does when it cannot be read: an empty list that
// says why and never saves over the file.
void ExpectRefused(const std::string& path, const std::string& reason)
{
    SCOPED_TRACE(path);
    UnitList list(path);
    EXPECT_NE(list.Load(), 0);
    EXPECT_TRUE(list.readReport().unreadable());
    EXPECT_EQ(list.readReport().reason, reason);
    EXPECT_EQ(list.count(), 0);
    ASSERT_EQ(list.Add(-1, NewUnit()), 0);
    EXPECT_NE(list.Save(), 0) << "the user's units are in that file";
}

} // namespace

TEST(UnreadableList, AFolderAFifoADeviceAndAHugeFileAreRefusedWithoutBlockingOrReadingThem)
{
    test::TempFolder folder;
    const fs::path dir = folder.path();
    fs::create_directory(dir / "folder.dat");
    ExpectRefused((dir / "folder.dat").string(), "it is a folder");
    EXPECT_TRUE(fs::is_directory(dir / "folder.dat"));

    // Opening a FIFO for reading would wait for a writer for ever.
    ASSERT_EQ(::mkfifo((dir / "fifo.dat").c_str(), 0600), 0);
    ExpectRefused((dir / "fifo.dat").string(), "it is not a regular file");
    EXPECT_TRUE(fs::is_fifo(dir / "fifo.dat"));

    // Endless zeros: refused before a byte is read.
    ExpectRefused("/dev/zero", "it is not a regular file");

    const fs::path huge = dir / "huge.dat";
    std::ofstream(huge, std::ios::binary) << kTenUnits;
    fs::resize_file(huge, UnitList::kMaxFileBytes + 1);
    ExpectRefused(huge.string(), "it is larger than 1024 KiB");
    EXPECT_EQ(fs::file_size(huge), UnitList::kMaxFileBytes + 1);
}

TEST(UnreadableList, AListTheUserMayWriteButNotReadIsNeverSavedOver)
{
    test::TempFolder folder;
    const fs::path file = folder.path() / "vantel.dat";
    std::ofstream(file, std::ios::binary) << kTenUnits;
    test::HandToNobody(folder.path(), file);
    fs::permissions(file, fs::perms::owner_write);

    const int result = test::AsUnprivileged([&] {
        UnitList list(file.string());
        const bool refused = list.Load() != 0 && list.readReport().unreadable() &&
                             list.readReport().reason == "Permission denied" && list.Add(-1, NewUnit()) == 0 &&
                             list.Save() != 0;
        return refused ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadWholeFile(file.string()).value(), kTenUnits) << "the ten units are still there";
}

TEST(UnreadableList, AMissingFileIsStillAFirstStart)
{
    test::TempFolder folder;
    UnitList list((folder.path() / "vantel.dat").string());
    EXPECT_NE(list.Load(), 0);
    EXPECT_EQ(list.readReport().file, ListReadReport::File::Missing);
    ASSERT_EQ(list.Add(-1, NewUnit()), 0);
    EXPECT_EQ(list.Save(), 0);
}

TEST(DamagedList, EveryKindOfLineEndEndsALine)
{
    test::TempFolder folder;
    const std::string path = (folder.path() / "vantel.dat").string();
    const std::string line = "\",\"h\",10003,30704,8,-1,-1,D1,D2,D3,I1,I2,I3";
    std::ofstream(path, std::ios::binary) << "\"cr" + line + "\r\"lf" + line + "\n\"crlf" + line + "\r\n\"last" + line;
    UnitList list(path);
    ASSERT_EQ(list.Load(), 0);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.at(0).name, "cr");
    EXPECT_EQ(list.at(1).name, "lf");
    EXPECT_EQ(list.at(2).name, "crlf");
    EXPECT_EQ(list.at(3).name, "last");
    EXPECT_FALSE(list.readReport().dropsLines());
}

TEST(DamagedList, ACutLineAndBinaryBytesBecomeNoUnits)
{
    test::TempFolder folder;
    const std::string path = (folder.path() / "vantel.dat").string();
    // A line cut where the model row begins, then one cut among its names.
    std::string bytes = "\"unit007\",\"127.0.0.1\",210\r\n\"unit008\",\"127.0.0.1\",10003,30704,0,-1,-1,D1\r\n";
    // Bytes that never were a list, commas and line ends among them.
    std::uint32_t seed = 7;
    for (int i = 0; i < 64 * 1024; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bytes += static_cast<char>(seed >> 24);
    }
    std::ofstream(path, std::ios::binary) << bytes;
    UnitList list(path);
    list.Load();
    EXPECT_EQ(list.count(), 0);
    const auto& skipped = list.readReport().skipped;
    ASSERT_GE(skipped.size(), 2u);
    EXPECT_EQ(skipped[0].number, 1);
    EXPECT_EQ(skipped[0].fault.kind, LineFault::Kind::TooFewFields);
    EXPECT_EQ(skipped[1].fault.fields, 8);
    EXPECT_EQ(skipped[1].fault.fieldsNeeded, 12);
}
