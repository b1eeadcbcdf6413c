#include "registry/UnitList.h"
#include "platform/AtomicFile.h"
#include "registry/ModelCatalogue.h"
#include "registry/UnitListFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

using namespace vantel;
namespace fs = std::filesystem;

namespace {

class UnitListFileTest : public ::testing::Test {
protected:
    void writeFile(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string fileBytes() const { return ReadWholeFile(path).value_or("<missing>"); }

    static UnitConnection unit(std::string name, int row, std::string host = "unit-a")
    {
        UnitConnection u;
        u.name = std::move(name);
        u.host = std::move(host);
        u.modelRow = row;
        return u;
    }

    test::TempFolder folder;
    fs::path dir = folder.path();
    std::string path = (dir / "vantel.dat").string();
    TextCodec cp932{"CP932"};
};

} // namespace

TEST_F(UnitListFileTest, WritesTheDocumentedLinesByteForByte)
{
    UnitList list(path, cp932);
    ASSERT_EQ(list.Add(-1, unit("Line A", 8)), 0);
    UnitConnection tank = unit("Tank", 33, "");
    tank.connectionKind = kConnectionUsb;
    tank.comPort = 3;
    tank.node = 12;
    tank.replyTimeout = 10;
    ASSERT_EQ(list.Add(-1, tank), 0);
    UnitConnection lan = unit("Pump", 37, "gw-1");
    lan.connectionKind = kConnectionLan;
    lan.node = 4;
    lan.replyTimeout = 30;
    lan.secondPort = 12345;
    ASSERT_EQ(list.Add(-1, lan), 0);
    ASSERT_EQ(list.Save(), 0);

    EXPECT_EQ(fileBytes(),
              "\"Line A\",\"unit-a\",10003,30704,8,-1,-1,\"DO1\",\"DO2\",\"DO3\",\"DI1\",\"DI2\",\"DI3\"\r\n"
              "\"Tank\",!3,10003,12:10,33,-1,-1,\"DO1\",\"DO2\",\"DO3\",\"DO4\",\"DO5\"\r\n"
              "\"Pump\",#\"gw-1\",10003,4:30,37,-1,-1,\"DO1\",\"DO2\",\"AI1\",\"AI2\",\"AI3\","
              "1.000000,0.000000,\"\",1.000000,0.000000,\"\",1.000000,0.000000,\"\"\r\n");
}

TEST_F(UnitListFileTest, EveryHeadFormRoundTripsIncludingLongJapaneseText)
{
    UnitList list(path, cp932);
    // 64 double-byte characters: exactly the 128-byte limit in CP932.
    std::string longName;
    for (int i = 0; i < 64; ++i)
        longName += "制";
    ASSERT_EQ(list.Add(-1, unit(longName, 30, "装置-ホスト.example")), 0);
    list.at(0).inputFormulas[2] = {2.5, -0.125, "℃"};
    list.at(0).inputNames[4] = "温度センサ１０文字";
    list.at(0).windowLeft = 120;
    list.at(0).windowTop = -4;
    UnitConnection gw = unit("タンク", 38, "gw");
    gw.connectionKind = kConnectionLan;
    gw.node = 254;
    gw.replyTimeout = 120;
    ASSERT_EQ(list.Add(-1, gw), 0);
    list.at(1).outputFormulas[1] = {1000.0, 4.0, "L/min"};
    gw.connectionKind = kConnectionUsb;
    gw.host.clear();
    gw.comPort = 99;
    gw.name = "usb";
    ASSERT_EQ(list.Add(-1, gw), 0);
    ASSERT_EQ(list.Save(), 0);
    const std::string first = fileBytes();

    UnitList reloaded(path, cp932);
    ASSERT_EQ(reloaded.Load(), 0);
    ASSERT_EQ(reloaded.count(), 3);
    EXPECT_EQ(reloaded.at(0).name, longName);
    EXPECT_EQ(reloaded.at(0).host, "装置-ホスト.example");
    EXPECT_EQ(reloaded.at(0).inputNames[4], "温度センサ１０文字");
    EXPECT_DOUBLE_EQ(reloaded.at(0).inputFormulas[2].gain, 2.5);
    EXPECT_DOUBLE_EQ(reloaded.at(0).inputFormulas[2].offset, -0.125);
    EXPECT_EQ(reloaded.at(0).inputFormulas[2].unit, "℃");
    EXPECT_EQ(reloaded.at(0).windowLeft, 120);
    EXPECT_EQ(reloaded.at(0).windowTop, -4);
    EXPECT_EQ(reloaded.at(1).connectionKind, kConnectionLan);
    EXPECT_EQ(reloaded.at(1).node, 254);
    EXPECT_EQ(reloaded.at(1).replyTimeout, 120);
    EXPECT_EQ(reloaded.at(1).secondPort, kDefaultSecondPort) << "gateway units always read back 30704";
    EXPECT_EQ(reloaded.at(1).outputFormulas[1].unit, "L/min");
    EXPECT_EQ(reloaded.at(2).connectionKind, kConnectionUsb);
    EXPECT_EQ(reloaded.at(2).comPort, 99);
    EXPECT_TRUE(reloaded.at(2).host.empty());
    ASSERT_EQ(reloaded.Save(), 0);
    EXPECT_EQ(fileBytes(), first) << "a saved list must load back identical";
}

TEST_F(UnitListFileTest, Utf8CodePageRoundTrips)
{
    TextCodec utf8("UTF-8");
    UnitList list(path, utf8);
    ASSERT_EQ(list.Add(-1, unit("ポンプ①", 1)), 0);
    ASSERT_EQ(list.Save(), 0);
    EXPECT_EQ(fileBytes().substr(0, 15), "\"ポンプ①\",");
    UnitList reloaded(path, utf8);
    ASSERT_EQ(reloaded.Load(), 0);
    EXPECT_EQ(reloaded.at(0).name, "ポンプ①");
}

TEST_F(UnitListFileTest, GatewayNodeWithoutTimeoutReadsTen)
{
    writeFile("\"Tank\",!3,10003,12,33,-1,-1,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n");
    UnitList list(path, cp932);
    ASSERT_EQ(list.Load(), 0);
    EXPECT_EQ(list.at(0).node, 12);
    EXPECT_EQ(list.at(0).replyTimeout, 10);
    EXPECT_EQ(list.at(0).comPort, 3);
    EXPECT_EQ(list.at(0).outputNames[4], "e");
}

TEST_F(UnitListFileTest, MissingFileIsAnEmptyListAndFirstSaveCreatesIt)
{
    UnitList list(path, cp932);
    EXPECT_NE(list.Load(), 0);
    EXPECT_EQ(list.count(), 0);
    ASSERT_EQ(list.Add(-1, unit("a", 0)), 0);
    ASSERT_EQ(list.Save(), 0);
    EXPECT_TRUE(fs::exists(path));
}

TEST_F(UnitListFileTest, HandEditedAndDamagedLinesLoadWhatTheyCan)
{
    std::string overlong(400, 'n');
    const std::string names = ",D1,D2,D3,I1,I2,I3";
    writeFile("\"short\",\"h\"\r\n" // too few fields: skipped
              "\"x\",\"h\",abc,-1,8,-5,4294967297" +
              names +
              "\n" // non-numeric and wrapping numbers
              "\"" +
              overlong + "\",\"h\",1,2,8,0,0,\"" + overlong + "\"" + names +
              "\r\n" // overlong fields
              "\r\n" // blank line
              "\"many\",\"h\",1,2,0,0,0,a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q,r,s,t,u,v,w,x,y,z,1,2,3,4,5,6,7,8,9\r\n"
              "\"bad\xFF\x81\",\"h\",1,2,8,0,0" +
              names +
              "\r\n" // invalid CP932 bytes
              ",,,,\r\n");
    UnitList list(path, cp932);
    ASSERT_EQ(list.Load(), 0);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.at(0).controlPort, 0);
    EXPECT_EQ(list.at(0).secondPort, -1);
    EXPECT_EQ(list.at(0).windowLeft, -5);
    EXPECT_EQ(list.at(0).windowTop, -1) << "an overflowing number saturates like an unsigned read";
    EXPECT_EQ(list.at(1).name.size(), kMaxNameBytes);
    EXPECT_EQ(list.at(1).outputNames[0].size(), kMaxSignalNameBytes);
    EXPECT_EQ(list.at(2).outputNames[1], "b");
    EXPECT_FALSE(list.at(3).name.empty());
    const auto& skipped = list.readReport().skipped;
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_EQ(skipped[0].number, 1);
    EXPECT_EQ(skipped[0].fault.fields, 2);
    EXPECT_EQ(skipped[1].number, 7);
    EXPECT_EQ(skipped[1].fault.fields, 0);
    EXPECT_EQ(list.Save(), 0);
}

TEST_F(UnitListFileTest, UnknownModelRowIsSkippedAndTheFileKeptAsItWasBeforeTheFirstSave)
{
    const std::string original = "\"future\",\"h\",10003,30704,77,-1,-1,\"X1\",\"X2\",1.5\r\n"
                                 "\"Line A\",\"unit-a\",10003,30704,8,-1,-1,\"DO1\",\"DO2\",\"DO3\",\"DI1\","
                                 "\"DI2\",\"DI3\"\r\n";
    writeFile(original);
    UnitList list(path, cp932);
    ASSERT_EQ(list.Load(), 0);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.at(0).name, "Line A");
    const ListReadReport& report = list.readReport();
    ASSERT_EQ(report.skipped.size(), 1u);
    EXPECT_EQ(report.skipped[0].fault.kind, LineFault::Kind::UnknownModel);
    EXPECT_EQ(report.skipped[0].fault.modelField, "77");
    EXPECT_EQ(report.keptCopy.rfind(path + ".unread-", 0), 0u) << report.keptCopy;
    EXPECT_FALSE(fs::exists(report.keptCopy)) << "nothing is written before a save";

    ASSERT_EQ(list.Save(), 0);
    EXPECT_TRUE(list.copyKept());
    EXPECT_EQ(ReadWholeFile(report.keptCopy).value(), original);
    EXPECT_EQ(fileBytes().find("future"), std::string::npos);
    ASSERT_EQ(list.Save(), 0) << "later saves keep the copy as it is";
    EXPECT_EQ(ReadWholeFile(report.keptCopy).value(), original);
}

TEST_F(UnitListFileTest, OnlyTheFirst256LinesAreReadAndTheRestIsCounted)
{
    std::string contents;
    for (int i = 0; i < 10000; ++i)
        contents += "\"u" + std::to_string(i) + "\",\"h\",10003,30704,4,-1,-1,a,b,c,d,e\r\n";
    writeFile(contents);
    UnitList list(path, cp932);
    EXPECT_NE(list.Load(), 0);
    EXPECT_EQ(list.count(), UnitList::kMaxUnits);
    EXPECT_EQ(list.at(255).name, "u255");
    EXPECT_EQ(list.readReport().linesNotRead, 10000 - UnitList::kMaxUnits);
    EXPECT_NE(list.Add(-1, unit("one more", 0)), 0);
    ASSERT_EQ(list.Save(), 0);
    EXPECT_EQ(ReadWholeFile(list.readReport().keptCopy).value(), contents);
}

TEST_F(UnitListFileTest, FailedSaveLeavesThePreviousFileIntact)
{
    UnitList list(path, cp932);
    ASSERT_EQ(list.Add(-1, unit("keep me", 8)), 0);
    ASSERT_EQ(list.Save(), 0);
    const std::string before = fileBytes();

    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(list.Add(-1, unit("unit " + std::to_string(i), 30)), 0);
    // Make the write fail midway: the file size limit stops it after 512 bytes.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = list.Save();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_NE(result, 0);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "no temporary left behind";
}

TEST_F(UnitListFileTest, SaveToAMissingFolderFails)
{
    UnitList list((dir / "no-such-folder" / "v.dat").string(), cp932);
    ASSERT_EQ(list.Add(-1, unit("a", 0)), 0);
    EXPECT_NE(list.Save(), 0);
    UnitList unnamed("", cp932);
    EXPECT_NE(unnamed.Save(), 0);
    EXPECT_NE(unnamed.Load(), 0);
}

TEST(UnitList, LogNamesCollideAfterReplacementButCaseMatters)
{
    UnitList list("", FileCodec());
    ASSERT_EQ(list.Add(-1, {"a/b", "h"}), 0);
    EXPECT_EQ(list.at(0).logName, "a_b");
    EXPECT_FALSE(list.IsLogNameFree("a_b", -1));
    EXPECT_FALSE(list.IsLogNameFree("a:b", -1));
    EXPECT_TRUE(list.IsLogNameFree("a_b", 0)) << "a unit's own record is skipped";
    EXPECT_TRUE(list.IsLogNameFree("A/B", -1));
    EXPECT_EQ(MakeLogName(R"(\/:*?"<>ソ表)"), "________ソ表");
    EXPECT_EQ(MakeLogName("a|b\tc"), "a_b_c") << "characters no file name may hold";
}

TEST(UnitList, ChangingTheModelResetsChannelsOtherwiseKeepsThem)
{
    UnitList list("", FileCodec());
    ASSERT_EQ(list.Add(-1, {"a", "h", 10003, 30704, 0, 1, 0, 10, 19}), 0);
    list.at(0).inputNames[0] = "flow";
    list.at(0).inputFormulas[0].gain = 3;
    list.at(0).windowLeft = 50;

    UnitConnection renamed = list.at(0);
    renamed.name = "b";
    renamed.host = "other";
    ASSERT_EQ(list.Change(0, renamed), 0);
    EXPECT_EQ(list.at(0).inputNames[0], "flow");
    EXPECT_EQ(list.at(0).inputFormulas[0].gain, 3);
    EXPECT_EQ(list.at(0).logName, "b");

    renamed.modelRow = 20;
    ASSERT_EQ(list.Change(0, renamed), 0);
    EXPECT_EQ(list.at(0).outputNames[0], "AO1");
    EXPECT_EQ(list.at(0).outputNames[2], "AO3");
    EXPECT_EQ(list.at(0).outputNames[3], "");
    EXPECT_EQ(list.at(0).inputNames[0], "DI1");
    EXPECT_EQ(list.at(0).inputFormulas[0].gain, 1.0);
    EXPECT_EQ(list.at(0).windowLeft, 50) << "the window position survives a model change";
    EXPECT_NE(list.Change(1, renamed), 0);
    EXPECT_NE(list.Change(-1, renamed), 0);
}

TEST(UnitList, RecordsKeepTheirIdentityAcrossMovesAndDeletes)
{
    UnitList list("", FileCodec());
    for (const char* name : {"a", "b", "c", "d"})
        ASSERT_EQ(list.Add(-1, {name, "h"}), 0);
    const UnitId c = list.at(2).id;
    ASSERT_EQ(list.Delete(0), 0);
    EXPECT_EQ(list.indexOf(c), 1);
    ASSERT_EQ(list.MoveUp(1), 0);
    EXPECT_EQ(list.indexOf(c), 0);
    EXPECT_EQ(list.find(c)->name, "c");
    ASSERT_EQ(list.MoveDown(0), 0);
    EXPECT_EQ(list.indexOf(c), 1);
    const UnitId b = list.at(0).id;
    ASSERT_EQ(list.Delete(0), 0);
    EXPECT_EQ(list.find(b), nullptr);
    EXPECT_NE(list.Delete(5), 0);
    EXPECT_NE(list.MoveUp(0), 0);
    EXPECT_NE(list.MoveDown(list.count() - 1), 0);
    ASSERT_EQ(list.Add(0, {"first", "h"}), 0);
    EXPECT_EQ(list.at(0).name, "first");
}

TEST(UnitListNumbers, ReadLikeTheFileAlwaysHasBeenRead)
{
    EXPECT_EQ(ReadListInteger("-1"), -1);
    EXPECT_EQ(ReadListInteger("10003"), 10003);
    EXPECT_EQ(ReadListInteger("abc"), 0);
    EXPECT_EQ(ReadListInteger(""), 0);
    EXPECT_EQ(ReadListInteger("12:10"), 12);
    EXPECT_EQ(ReadListInteger("4294967295"), -1);
    EXPECT_EQ(ReadListInteger("99999999999999999999999"), -1);
    EXPECT_DOUBLE_EQ(ReadListDouble("2.500000"), 2.5);
    EXPECT_DOUBLE_EQ(ReadListDouble("-1e3x"), -1000.0);
    EXPECT_DOUBLE_EQ(ReadListDouble("x"), 0.0);
}
