#include "logging/CsvLogger.h"
#include "logging/LogFileName.h"
#include "platform/AtomicFile.h"
#include "registry/UnitList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace vantel {
namespace {

namespace fs = std::filesystem;

const char* const kHeader = "日付,時刻,DO1,DI1\n";

std::string Contents(const fs::path& file)
{
    return ReadWholeFile(file.string()).value_or("<missing>");
}

std::vector<std::string> Lines(const fs::path& file)
{
    std::vector<std::string> lines;
    std::string text = Contents(file);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<unterminated>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(LogFileName, PlainAndTimestampedNames)
{
    const LocalDateTime created{2026, 12, 6, 23, 15, 0};
    EXPECT_EQ(LogBaseName("/logs/", "Tank", -1, created), "/logs/Tank.csv");
    EXPECT_EQ(LogBaseName("/logs", "Tank", 1, created), "/logs/Tank.csv") << "a value below 2 is no switching";
    const std::string base = LogBaseName("/logs/", "Tank", 1000, created);
    EXPECT_EQ(base, "/logs/Tank_20261206_231500");
    EXPECT_EQ(NumberedLogFile(base, 1), "/logs/Tank_20261206_231500_001.csv");
    EXPECT_EQ(NumberedLogFile(base, 1000), "/logs/Tank_20261206_231500_1000.csv");
}

class CsvLoggerTest : public ::testing::Test {
protected:
    test::TempFolder temp;
    TextCodec cp932{"CP932"};
    CsvLogger logger{cp932};
};

TEST_F(CsvLoggerTest, NewFileGetsHeaderThenLinesInTheFileCodePageWithCrLf)
{
    const fs::path file = temp.path() / "Tank.csv";
    logger.Open(file.string(), kHeader, CsvLogger::kSwitchingOff);
    EXPECT_EQ(logger.fileNumber(), 0);
    ASSERT_EQ(logger.WriteLine("2026/12/06,23:15:00,1,0\n"), 0);
    ASSERT_EQ(logger.WriteLine("2026/12/06,23:15:01,0,1\n"), 0);
    EXPECT_EQ(Contents(file),
              *cp932.encode("日付,時刻,DO1,DI1\r\n2026/12/06,23:15:00,1,0\r\n2026/12/06,23:15:01,0,1\r\n"));
}

TEST_F(CsvLoggerTest, ExistingFileIsAppendedWithoutSecondHeaderButAnEmptyOneGetsIt)
{
    const fs::path withData = temp.path() / "A.csv";
    std::ofstream(withData) << "old\r\n";
    logger.Open(withData.string(), kHeader, CsvLogger::kSwitchingOff);
    logger.WriteLine("x\n");
    EXPECT_EQ(Contents(withData), "old\r\nx\r\n");

    const fs::path empty = temp.path() / "B.csv";
    std::ofstream{empty};
    CsvLogger second(cp932);
    second.Open(empty.string(), kHeader, CsvLogger::kSwitchingOff);
    second.WriteLine("y\n");
    EXPECT_EQ(Lines(empty), (std::vector<std::string>{*cp932.encode("日付,時刻,DO1,DI1"), "y"}));
}

TEST_F(CsvLoggerTest, SwitchingStartsNumberedFilesEachWithItsHeader)
{
    const std::string base = (temp.path() / "Tank_20261206_231500").string();
    logger.Open(base, "h\n", 1000);
    EXPECT_EQ(logger.currentFileName(), base + "_001.csv");
    for (int i = 1; i <= 1001; ++i)
        ASSERT_EQ(logger.WriteLine(std::to_string(i) + "\n"), 0);
    const auto first = Lines(base + "_001.csv");
    ASSERT_EQ(first.size(), 1001u);
    EXPECT_EQ(first.front(), "h");
    EXPECT_EQ(first.back(), "1000") << "the 1000th line is the last of file 1";
    EXPECT_EQ(Lines(base + "_002.csv"), (std::vector<std::string>{"h", "1001"}));
    EXPECT_EQ(logger.fileNumber(), 2);
    EXPECT_EQ(logger.linesInFile(), 1);
}

TEST_F(CsvLoggerTest, VanishedFolderLosesLinesQuietlyThenResumesInTheSameFileWithHeader)
{
    const fs::path folder = temp.path() / "logs";
    fs::create_directory(folder);
    const std::string base = (folder / "Tank").string();
    logger.Open(base, "h\n", 1000);
    ASSERT_EQ(logger.WriteLine("1\n"), 0);

    fs::remove_all(folder);
    EXPECT_EQ(logger.WriteLine("lost\n"), kGeneralFailure);
    EXPECT_FALSE(fs::exists(folder)) << "a missing folder is not created";
    EXPECT_EQ(logger.linesInFile(), 1) << "a lost line is not counted";

    fs::create_directory(folder);
    ASSERT_EQ(logger.WriteLine("2\n"), 0);
    EXPECT_EQ(Lines(base + "_001.csv"), (std::vector<std::string>{"h", "2"}));
    EXPECT_EQ(logger.linesInFile(), 2);
}

TEST_F(CsvLoggerTest, UnusableFolderFailsEveryLine)
{
    // Tests run as root, so a folder that is really a file stands for one
    // the user may not write to.
    const fs::path notAFolder = temp.path() / "plain-file";
    std::ofstream(notAFolder) << "x";
    logger.Open((notAFolder / "Tank.csv").string(), kHeader, CsvLogger::kSwitchingOff);
    EXPECT_EQ(logger.WriteLine("a\n"), kGeneralFailure);
    EXPECT_EQ(logger.WriteLine("b\n"), kGeneralFailure);

    CsvLogger unopened(cp932);
    EXPECT_EQ(unopened.WriteLine("c\n"), kGeneralFailure);
}

TEST_F(CsvLoggerTest, FileLockedByAnotherWriterLosesTheLineButStaysReadable)
{
    const fs::path file = temp.path() / "Locked.csv";
    logger.Open(file.string(), "h\n", CsvLogger::kSwitchingOff);
    ASSERT_EQ(logger.WriteLine("1\n"), 0);
    const int other = ::open(file.c_str(), O_WRONLY);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_EQ(logger.WriteLine("lost\n"), kGeneralFailure);
    EXPECT_EQ(Lines(file), (std::vector<std::string>{"h", "1"})) << "readers are not locked out";
    ::close(other);
    EXPECT_EQ(logger.WriteLine("2\n"), 0);
    EXPECT_EQ(Lines(file), (std::vector<std::string>{"h", "1", "2"}));
}

TEST_F(CsvLoggerTest, TextTheCodePageCannotHoldBecomesAQuestionMark)
{
    const fs::path file = temp.path() / "T.csv";
    logger.Open(file.string(), "日付,時刻,ポンプ😀\n", CsvLogger::kSwitchingOff);
    logger.WriteLine("1\n");
    EXPECT_EQ(Lines(file).front(), *cp932.encode("日付,時刻,ポンプ?"));
}

TEST_F(CsvLoggerTest, TwoLoggersOnOneFileKeepEveryLineWhole)
{
    const fs::path file = temp.path() / "Shared.csv";
    constexpr int kLines = 300;
    const std::string longTail(200, 'x');
    auto writeAll = [&](char who) {
        CsvLogger mine(cp932);
        mine.Open(file.string(), "h\n", CsvLogger::kSwitchingOff);
        for (int i = 0; i < kLines; ++i)
            ASSERT_EQ(mine.WriteLine(std::string(1, who) + std::to_string(i) + longTail + "\n"), 0);
    };
    std::thread a(writeAll, 'a');
    std::thread b(writeAll, 'b');
    a.join();
    b.join();

    const auto lines = Lines(file);
    ASSERT_EQ(lines.size(), 1u + 2 * kLines);
    EXPECT_EQ(lines.front(), "h") << "only one of the two writes the header";
    std::set<std::string> seen(lines.begin() + 1, lines.end());
    EXPECT_EQ(seen.size(), 2u * kLines);
    for (int i = 0; i < kLines; ++i) {
        EXPECT_TRUE(seen.count("a" + std::to_string(i) + longTail)) << i;
        EXPECT_TRUE(seen.count("b" + std::to_string(i) + longTail)) << i;
    }
}

TEST_F(CsvLoggerTest, OneLoggerUsedFromTwoThreadsCountsEveryLine)
{
    const std::string base = (temp.path() / "Both").string();
    logger.Open(base, "h\n", 1000);
    auto half = [&] {
        for (int i = 0; i < 750; ++i)
            logger.WriteLine("v\n");
    };
    std::thread tick(half);
    std::thread callback(half);
    tick.join();
    callback.join();
    EXPECT_EQ(Lines(base + "_001.csv").size(), 1001u);
    EXPECT_EQ(Lines(base + "_002.csv").size(), 501u);
    EXPECT_EQ(logger.fileNumber(), 2);
    EXPECT_EQ(logger.linesInFile(), 500);
}

} // namespace
} // namespace vantel
