#include "cli/ListCommands.h"
#include "platform/AtomicFile.h"
#include "registry/UnitList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace vantel;

namespace {

class CtlListTest : public ::testing::Test {
protected:
    int run(int (*command)(const std::vector<std::string>&, std::ostream&, std::ostream&),
            std::vector<std::string> args)
    {
        args.insert(args.end(), {"--list", path});
        out.str("");
        err.str("");
        return command(args, out, err);
    }

    test::TempFolder folder;
    std::string path = (folder.path() / "vantel.dat").string();
    std::ostringstream out, err;
};

} // namespace

TEST_F(CtlListTest, ListsWhatTheProgramWroteInUtf8Columns)
{
    UnitList list(path);
    UnitConnection a;
    a.name = "ライン A";
    a.host = "unit-a";
    a.modelRow = 8;
    list.Add(-1, a);
    UnitConnection gw;
    gw.name = "Tank";
    gw.modelRow = 33;
    gw.comPort = 3;
    gw.node = 12;
    list.Add(-1, gw);
    ASSERT_EQ(list.Save(), 0);

    EXPECT_EQ(run(ctl::RunList, {}), 0);
    EXPECT_EQ(out.str(), "ライン A\tunit-a\t10003\tQZ-K16-P\nTank\tCOM3\t12\tQZ-K13-GW\n");
    EXPECT_EQ(run(ctl::RunList, {"--codepage", "NOPE"}), ctl::kExitUsage);
    EXPECT_EQ(run(ctl::RunList, {"--bogus", "1"}), ctl::kExitUsage);
}

TEST_F(CtlListTest, AddRunsTheDialogChecksAndTheProgramReadsTheResult)
{
    EXPECT_EQ(run(ctl::RunAdd, {"--name", "ポンプ", "--host", "10.1.2.3", "--model", "1", "--second-port", "30800"}), 0)
        << err.str();
    EXPECT_EQ(run(ctl::RunAdd, {"--name", "ポンプ", "--host", "h", "--model", "1"}), ctl::kExitRefused);
    EXPECT_EQ(err.str(), "すでに登録済のユニット名称と同じログファイル名になるため設定できません。\n");
    EXPECT_EQ(run(ctl::RunAdd, {"--name", "x", "--host", "", "--model", "4"}), ctl::kExitRefused);
    EXPECT_EQ(err.str(), "ホスト名が未入力です。\n");
    EXPECT_EQ(run(ctl::RunAdd, {"--name", "a,b", "--host", "h", "--model", "4"}), ctl::kExitRefused);
    EXPECT_EQ(run(ctl::RunAdd, {"--name", "p", "--host", "h", "--model", "4", "--port", "70000"}), ctl::kExitRefused);
    EXPECT_EQ(err.str(), "そのポート番号は設定できません。\n");

    // A gateway unit on USB needs no host; a short reply wait must be confirmed.
    EXPECT_EQ(run(ctl::RunAdd, {"--name", "gw", "--model", "33", "--com", "4", "--node", "7", "--timeout", "5"}),
              ctl::kExitRefused);
    EXPECT_EQ(
        run(ctl::RunAdd, {"--name", "gw", "--model", "33", "--com", "4", "--node", "7", "--timeout", "5", "--yes"}), 0)
        << err.str();
    EXPECT_EQ(run(ctl::RunAdd, {"--name", "n", "--model", "33", "--host", "gw", "--node", "255"}), ctl::kExitRefused);
    EXPECT_EQ(err.str(), "ノード番号は0-254の範囲で指定してください。\n");
    EXPECT_EQ(run(ctl::RunAdd, {"--name", "m", "--host", "h", "--model", "50"}), ctl::kExitUsage);
    EXPECT_EQ(run(ctl::RunAdd, {"--name", "m", "--host", "h", "--model", "x1"}), ctl::kExitUsage);

    UnitList list(path);
    ASSERT_EQ(list.Load(), 0);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(0).name, "ポンプ");
    EXPECT_EQ(list.at(0).secondPort, 30800);
    EXPECT_EQ(list.at(1).connectionKind, kConnectionUsb);
    EXPECT_EQ(list.at(1).comPort, 4);
    EXPECT_EQ(list.at(1).node, 7);
    EXPECT_EQ(list.at(1).replyTimeout, 5);
    EXPECT_NE(ReadWholeFile(path)->find("\"gw\",!4,10003,7:5,33,-1,-1,"), std::string::npos);

    EXPECT_EQ(run(ctl::RunList, {}), 0);
    EXPECT_EQ(out.str(), "ポンプ\t10.1.2.3\t10003\tQZ-K11\ngw\tCOM4\t7\tQZ-K13-GW\n");
}
