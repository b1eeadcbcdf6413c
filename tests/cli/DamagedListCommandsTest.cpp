#include "CtlRun.h"
#include "cli/ListCommands.h"
#include "cli/LogCommand.h"
#include "cli/TerminalText.h"
#include "platform/AtomicFile.h"
#include "registry/UnitList.h"
#include "support/AsUnprivileged.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace vantel;
namespace fs = std::filesystem;

namespace {

using test::CtlRun;

const std::string kUnitTail = "\",\"127.0.0.1\",1,30704,8,-1,-1,D1,D2,D3,I1,I2,I3";

std::string UnitLine(const std::string& name)
{
    return "\"" + name + kUnitTail;
}

CtlRun Add(const std::string& list)
{
    return test::RunCtl(ctl::RunAdd, {"--list", list, "--name", "new", "--host", "10.0.0.9", "--model", "8"});
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class DamagedListCommands : public ::testing::Test {
protected:
    void write(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }

    test::TempFolder folder;
    std::string path = (folder.path() / "vantel.dat").string();
};

} // namespace

TEST(Printable, ControlCharactersAreEscapedAndTheRestIsLeftAsItIs)
{
    EXPECT_EQ(ctl::Printable("ライン A"), "ライン A");
    EXPECT_EQ(ctl::Printable("a\tb\nc\rd\x1b[2J\x07\x7f"), "a\\tb\\nc\\rd\\x1b[2J\\x07\\x7f");
    EXPECT_EQ(ctl::Printable(std::string("nul\0end", 7)), "nul\\x00end");
}

TEST_F(DamagedListCommands, AddRefusesAListThatExistsButCannotBeReadAndWritesNothing)
{
    fs::create_directory(folder.path() / "folder.dat");
    ASSERT_EQ(::mkfifo((folder.path() / "fifo.dat").c_str(), 0600), 0);
    const fs::path huge = folder.path() / "huge.dat";
    std::ofstream(huge, std::ios::binary) << UnitLine("one") << "\r\n";
    fs::resize_file(huge, UnitList::kMaxFileBytes * 2);
    for (const fs::path& file :
         {folder.path() / "folder.dat", folder.path() / "fifo.dat", fs::path("/dev/zero"), huge}) {
        SCOPED_TRACE(file.string());
        const CtlRun run = Add(file.string());
        EXPECT_EQ(run.code, ctl::kExitRefused);
        EXPECT_EQ(run.err.rfind("ユニットリストを読み込めません: " + file.string() + ": it is ", 0), 0u) << run.err;
        EXPECT_FALSE(Contains(run.out, "added"));
    }
    EXPECT_TRUE(fs::is_directory(folder.path() / "folder.dat"));
    EXPECT_TRUE(fs::is_fifo(folder.path() / "fifo.dat"));
    EXPECT_EQ(fs::file_size(huge), UnitList::kMaxFileBytes * 2);
    // Beside them only the locks that add took while it read.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"fifo.dat", "fifo.dat.lock", "folder.dat", "folder.dat.lock", "huge.dat",
                                               "huge.dat.lock"}));
}

TEST_F(DamagedListCommands, AddToAListTheUserMayWriteButNotReadIsRefused)
{
    std::string tenUnits;
    for (int i = 1; i <= 10; ++i)
        tenUnits += UnitLine("unit" + std::to_string(i)) + "\r\n";
    write(tenUnits);
    test::HandToNobody(folder.path(), path);
    fs::permissions(path, fs::perms::owner_write);
    const int result = test::AsUnprivileged([this] {
        const CtlRun run = Add(path);
        return run.code == ctl::kExitRefused &&
                       run.err == "ユニットリストを読み込めません: " + path + ": Permission denied\n"
                   ? 0
                   : 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadWholeFile(path).value(), tenUnits) << "still ten units";
}

TEST_F(DamagedListCommands, AddToADamagedListNamesWhatItSkipsAndKeepsTheFileAsItWas)
{
    // CR-only line ends, a line cut short, a model row from nowhere.
    const std::string original = UnitLine("first") + "\r" + "\"cut\",\"127.0.0.1\",210\r\n" + UnitLine("second") +
                                 "\n\"odd\",\"h\",1,2,77,-1,-1,x\r\n" + UnitLine("third");
    write(original);
    const CtlRun run = Add(path);
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_TRUE(Contains(run.err, path + ": line 2 skipped: 3 fields, its model needs 7\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, path + ": line 4 skipped: model row \"77\" is not in the catalogue\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, "the file as it was is " + path + ".unread-")) << run.err;
    EXPECT_EQ(run.out, "added new as unit 4\n");

    std::string kept;
    for (const auto& entry : fs::directory_iterator(folder.path()))
        if (entry.path().filename().string().rfind("vantel.dat.unread-", 0) == 0)
            kept = entry.path().string();
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(ReadWholeFile(kept).value(), original);

    UnitList saved(path);
    ASSERT_EQ(saved.Load(), 0);
    ASSERT_EQ(saved.count(), 4);
    EXPECT_EQ(saved.at(1).name, "second");
    EXPECT_EQ(saved.at(3).name, "new");
    EXPECT_FALSE(saved.readReport().dropsLines());
}

TEST_F(DamagedListCommands, ListAndLogPrintControlCharactersOfNamesEscaped)
{
    write(UnitLine("bell\x07 \x1b[31mred") + "\r\n" + UnitLine("tab\there") + "\r\n\"cut\",\"h\"\r\n");
    const CtlRun list = test::RunCtl(ctl::RunList, {"--list", path});
    ASSERT_EQ(list.code, ctl::kExitOk) << list.err;
    EXPECT_EQ(list.out, "bell\\x07 \\x1b[31mred\t127.0.0.1\t1\tQZ-K16-P\ntab\\there\t127.0.0.1\t1\tQZ-K16-P\n");
    EXPECT_EQ(list.err, path + ": line 3 skipped: 2 fields, its model needs 7\n");

    // Port 1 on loopback refuses: both units fail at once and say so.
    test::TempFolder logs;
    const CtlRun log = test::RunCtl(ctl::RunLog, {"--list", path, "--folder", logs.folder(), "--all"});
    EXPECT_EQ(log.code, ctl::kExitRefused);
    EXPECT_TRUE(Contains(log.err, " bell\\x07 \\x1b[31mred: 接続エラー code : 10061")) << log.err;
    EXPECT_TRUE(Contains(log.err, "\nbell\\x07 \\x1b[31mred: 0 lines, 1 outage")) << log.err;
    EXPECT_TRUE(Contains(log.err, "\ntab\\there: 0 lines")) << log.err;
    EXPECT_FALSE(Contains(log.err, "\x1b")) << "no raw escape reaches the terminal";
    EXPECT_FALSE(Contains(log.err, "\x07"));
}
