#include "comm/link/TraceFileWriter.h"
#include "comm/link/TraceLine.h"
#include "comm/link/TraceRing.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vantel {
namespace {

// 2026-12-09 06:58:01.123 UTC.
constexpr std::int64_t kWallMs = 1796799481123;

class TraceFormat : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* zone = std::getenv("TZ");
        savedZone_ = zone != nullptr ? std::optional<std::string>(zone) : std::nullopt;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override
    {
        if (savedZone_)
            setenv("TZ", savedZone_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> savedZone_;
};

std::vector<std::string> LinesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST_F(TraceFormat, ALineHasFiveTabSeparatedFieldsAndReadsBackAsTheSameRecord)
{
    const TraceRecord sent{kWallMs, "127.0.0.1:10001", TraceDirection::Sent, std::string("AI0\xC8", 4), ""};
    EXPECT_EQ(FormatTraceLine(sent), "2026-12-09 06:58:01.123\t127.0.0.1:10001\tsent\t41 49 30 C8\t\n");
    const std::vector<TraceRecord> records = {
        sent,
        {kWallMs + 7, "GW COM3 #04", TraceDirection::Received, std::string("04md\x00\xFF\xC8", 7), "ok: 5 (0x5)"},
        {kWallMs + 3000, "127.0.0.1:10001", TraceDirection::Event, "", "no reply in 3000 ms"},
    };
    for (const TraceRecord& record : records)
        EXPECT_EQ(ParseTraceLine(FormatTraceLine(record)), record);
}

TEST_F(TraceFormat, TabsAndLineBreaksInTextBecomeSpacesAndBrokenLinesAreRefused)
{
    const TraceRecord odd{kWallMs, "a\tb", TraceDirection::Event, "", "one\ntwo\r"};
    const auto back = ParseTraceLine(FormatTraceLine(odd));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->unit, "a b");
    EXPECT_EQ(back->meaning, "one two ");
    for (const char* line : {"", "2026-12-10 06:58:01.123\tu\tsent\t41", // four fields
                             "2026-12-10 06:58:01.123\tu\tsideways\t41\tm", "2026-12-10 06:58:01\tu\tsent\t41\tm",
                             "2026-12-10 06:58:01.123\tu\tsent\t4G\tm", "2026-12-10 06:58:01.123\tu\tsent\t41 4\tm",
                             "2026-12-10 06:58:01.123\tu\tsent\t41\tm\textra"})
        EXPECT_FALSE(ParseTraceLine(line)) << line;
}

TEST(TraceRingTest, KeepsTheNewestAndCountsTheDroppedOldest)
{
    TraceRing ring(3);
    for (int i = 0; i < 5; ++i)
        ring.record(TraceRecord{i, "u", TraceDirection::Sent, "", std::to_string(i)});
    auto batch = ring.since(0);
    ASSERT_EQ(batch.records.size(), 3u);
    EXPECT_EQ(batch.records.front().meaning, "2");
    EXPECT_EQ(batch.dropped, 2u);
    EXPECT_EQ(batch.next, 5u);
    // A reader that saw up to 4 gets only what came after.
    ring.record(TraceRecord{5, "u", TraceDirection::Sent, "", "5"});
    batch = ring.since(5);
    ASSERT_EQ(batch.records.size(), 1u);
    EXPECT_EQ(batch.records.front().meaning, "5");
    ring.clear();
    EXPECT_EQ(ring.size(), 0u);
    EXPECT_EQ(ring.dropped(), 0u);
    EXPECT_TRUE(ring.since(6).records.empty());
}

TEST(TraceRingTest, HoldsAHundredThousandByDefault)
{
    TraceRing ring;
    for (std::int64_t i = 0; i < 100005; ++i)
        ring.record(TraceRecord{i, "", TraceDirection::Event, "", ""});
    EXPECT_EQ(ring.size(), 100000u);
    EXPECT_EQ(ring.dropped(), 5u);
    EXPECT_EQ(ring.since(0).records.front().wallMs, 5);
}

TEST_F(TraceFormat, TheFileHasEachLineAtOnceAndRotatesOnceAtItsLimit)
{
    test::TempFolder folder;
    const std::string path = folder.folder() + "trace.tsv";
    const TraceRecord record{kWallMs, "127.0.0.1:10001", TraceDirection::Sent, "DI\xC8", "x"};
    const auto lineLength = static_cast<std::int64_t>(FormatTraceLine(record).size());
    {
        TraceFileWriter writer;
        ASSERT_TRUE(writer.open(path, 3 * lineLength));
        writer.record(record);
        // Readable while the writer still runs: nothing waits in a buffer.
        ASSERT_EQ(LinesOf(path).size(), 1u);
        writer.record(record);
        writer.record(record);
        EXPECT_FALSE(std::filesystem::exists(TraceFileWriter::RotatedPath(path)));
        writer.record(record); // would pass the limit: the file moves aside
        EXPECT_EQ(LinesOf(TraceFileWriter::RotatedPath(path)).size(), 3u);
        EXPECT_EQ(LinesOf(path).size(), 1u);
        for (int i = 0; i < 3; ++i)
            writer.record(record); // and again: the older .1 is replaced
        EXPECT_EQ(LinesOf(TraceFileWriter::RotatedPath(path)).size(), 3u);
        EXPECT_EQ(LinesOf(path).size(), 1u);
        EXPECT_EQ(writer.lostLines(), 0u);
    }
    // A second run appends and counts what is there towards the limit.
    TraceFileWriter again;
    ASSERT_TRUE(again.open(path, 3 * lineLength));
    again.record(record);
    again.record(record);
    EXPECT_EQ(LinesOf(path).size(), 3u);
    for (const std::string& line : LinesOf(path))
        EXPECT_EQ(ParseTraceLine(line), record);
}

TEST(TraceFileWriterTest, AFileThatCannotBeWrittenIsRefused)
{
    TraceFileWriter writer;
    EXPECT_FALSE(writer.open("/nonexistent-folder/trace.tsv"));
    writer.record(TraceRecord{});
    EXPECT_EQ(writer.lostLines(), 1u);
}

} // namespace
} // namespace vantel
