#include "logging/CsvText.h"
#include "logging/MqttTopics.h"
#include "logging/OutboundQueue.h"
#include "logging/Reading.h"
#include "logging/ReadingJson.h"

#include <gtest/gtest.h>

using namespace vantel;

namespace {

const LocalDateTime kMorning{2026, 3, 4, 5, 6, 7, 9 * 60};

TEST(ReadingTexts, TheCsvLineOfAReadingIsTheLineThePanelsWrite)
{
    const std::vector<ColumnHeading> headings{{"DI1", false}, {"AO1", true}, {"AO2", true}};
    EXPECT_EQ(CsvHeaderLine(headings), "日付,時刻,DI1,AO1,単位1,AO2,単位2\n") << "unit columns count from 1";
    const ReadingValues values{{"1", std::nullopt}, {"2.50000", "V"}, {"0.00000", ""}};
    EXPECT_EQ(CsvValuesText(values), ",1,2.50000,V,0.00000,");

    const Reading reading = MakeReading("Tank", "DIO", kMorning, headings, values);
    EXPECT_EQ(CsvDataLine(reading), "2026/03/04,05:06:07,1,2.50000,V,0.00000,\n") << "an empty unit keeps its column";
    ASSERT_EQ(reading.columns.size(), 3u);
    EXPECT_EQ(reading.columns[1].name, "AO1");
    EXPECT_EQ(reading.columns[1].unitText, "V");
    EXPECT_FALSE(reading.columns[0].unitText);

    // A value beyond the header is still written, only without a name.
    const Reading longer = MakeReading("Tank", "DIO", kMorning, {{"DI1", false}}, BitColumns(0b10, 2));
    EXPECT_EQ(CsvDataLine(longer), "2026/03/04,05:06:07,0,1\n");
    EXPECT_EQ(longer.columns[1].name, "");
}

TEST(ReadingTexts, TopicSafeNamesKeepJapaneseAndReplaceWhatMqttMeans)
{
    EXPECT_EQ(TopicSafeName("第1ポンプ"), "第1ポンプ");
    EXPECT_EQ(TopicSafeName("a/b+c#d"), "a_b_c_d");
    EXPECT_EQ(TopicSafeName("tab\there\x7f"), "tab_here_");
    EXPECT_EQ(TopicSafeName("$SYS"), "_SYS") << "topics of the broker's own start with $";
    EXPECT_EQ(TopicSafeName("a$b"), "a$b");
    EXPECT_EQ(TopicSafeName(""), "_");
    const MqttTopics topics{"vantel/host"};
    EXPECT_EQ(topics.reading("P/1"), "vantel/host/P_1/reading");
    EXPECT_EQ(topics.state("P"), "vantel/host/P/state");
    EXPECT_EQ(topics.commandFilter(), "vantel/host/+/set/+");
}

TEST(ReadingTexts, JsonCarriesTheIsoTimeNumbersAndEscapedTexts)
{
    EXPECT_EQ(IsoTime(kMorning), "2026-03-04T05:06:07+09:00");
    EXPECT_EQ(IsoTime({2026, 12, 31, 23, 59, 59, -(3 * 60 + 30)}), "2026-12-31T23:59:59-03:30");
    EXPECT_EQ(IsoTime({2026, 1, 1, 0, 0, 0, 0}), "2026-01-01T00:00:00+00:00");

    const Reading reading =
        MakeReading("ポンプ \"A\"", "DIO-8", kMorning, {{"AI1", true}, {"DO1", false}, {"x", false}},
                    {{"-0.00001", "℃"}, {"1", std::nullopt}, {"1.", std::nullopt}});
    EXPECT_EQ(ReadingJson(reading), R"({"time":"2026-03-04T05:06:07+09:00","unit":"ポンプ \"A\"","model":"DIO-8",)"
                                    R"("columns":[{"name":"AI1","value":-0.00001,"unit":"℃"},)"
                                    R"({"name":"DO1","value":1},{"name":"x","value":"1."}]})")
        << "what is not a JSON number goes as a string";
    EXPECT_EQ(JsonString("a\\b\n\x01"), R"("a\\b\u000a\u0001")");
    const auto valueOf = [](const std::string& text) {
        const std::string json = ReadingJson(MakeReading("u", "m", kMorning, {{"c", false}}, {{text, std::nullopt}}));
        return json.substr(json.find("\"value\":") + 8, json.size() - json.find("\"value\":") - 11);
    };
    for (const char* number : {"0", "-0.5", "12.50000", "1e5", "2.5E-3", "-19.0000"})
        EXPECT_EQ(valueOf(number), number);
    for (const char* text : {"", "-", "01", ".5", "1e", "nan", "1,5", "--1"})
        EXPECT_EQ(valueOf(text), JsonString(text)) << text;
}

TEST(ReadingTexts, AFullOutboundQueueDropsTheOldestAndCountsThem)
{
    OutboundQueue queue(3);
    for (int i = 1; i <= 5; ++i)
        queue.push({"t", std::to_string(i), false});
    EXPECT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue.dropped(), 2);
    EXPECT_EQ(queue.pop()->payload, "3");
    queue.putBack({"t", "3", false});
    EXPECT_EQ(queue.pop()->payload, "3") << "what could not be sent goes first again";
    EXPECT_EQ(queue.pop()->payload, "4");
    EXPECT_EQ(queue.pop()->payload, "5");
    EXPECT_FALSE(queue.pop());
}

} // namespace
