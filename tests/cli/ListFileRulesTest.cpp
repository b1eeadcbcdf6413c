#include "CtlRun.h"
#include "cli/CtlMain.h"
#include "cli/ListCommands.h"
#include "cli/LogCommand.h"
#include "platform/AtomicFile.h"
#include "platform/ListLock.h"
#include "support/LockHolderProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vantel;

namespace {

using test::CtlRun;

class CtlListFileRules : public ::testing::Test {
protected:
    CtlRun add(const std::string& name)
    {
        return test::RunCtl(ctl::RunAdd, {"--list", list, "--name", name, "--host", "127.0.0.1", "--model", "22"});
    }

    test::TempFolder folder;
    std::string list = (folder.path() / "vantel.dat").string();
};

TEST_F(CtlListFileRules, AddIsRefusedWhileTheProgramHoldsTheListAndNothingIsWritten)
{
    ASSERT_EQ(add("Tank").code, ctl::kExitOk);
    const std::string before = ReadWholeFile(list).value();
    {
        // The program holds the lock for its whole run.
        ListLock::Outcome outcome{};
        std::string holder;
        const auto program = ListLock::tryAcquire(list, outcome, holder);
        ASSERT_TRUE(program);
        const CtlRun refused = add("Pump");
        EXPECT_EQ(refused.code, ctl::kExitRefused);
        EXPECT_NE(refused.err.find("is in use by another program (process "), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("Nothing was written."), std::string::npos) << refused.err;
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(ReadWholeFile(list).value(), before);

        // Readers need no lock.
        const CtlRun listed = test::RunCtl(ctl::RunList, {"--list", list});
        EXPECT_EQ(listed.code, ctl::kExitOk) << listed.err;
        EXPECT_EQ(listed.out.rfind("Tank\t", 0), 0u) << listed.out;
    }
    const CtlRun added = add("Pump");
    EXPECT_EQ(added.code, ctl::kExitOk) << added.err;
    EXPECT_NE(ReadWholeFile(list).value().find("\"Pump\""), std::string::npos);
}

TEST_F(CtlListFileRules, AProgramThatCrashedWhileHoldingTheListBlocksNobody)
{
    test::LockHolderProcess program(list);
    ASSERT_TRUE(program.holds());
    const CtlRun refused = add("Tank");
    EXPECT_EQ(refused.code, ctl::kExitRefused);
    EXPECT_NE(refused.err.find("(process " + std::to_string(program.pid()) + ")"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(list));

    program.kill();
    const CtlRun added = add("Tank");
    EXPECT_EQ(added.code, ctl::kExitOk) << added.err;
}

TEST_F(CtlListFileRules, ANamedListThatDoesNotExistIsAnErrorExceptForAdd)
{
    const std::string missing = (folder.path() / "typo.dat").string();
    const CtlRun listed = test::RunCtl(ctl::RunList, {"--list", missing});
    EXPECT_EQ(listed.code, ctl::kExitRefused);
    EXPECT_EQ(listed.err, "list file not found: " + missing + "\n");
    EXPECT_EQ(listed.out, "");
    const CtlRun logged = test::RunCtl(ctl::RunLog, {"--list", missing, "--unit", "Tank", "--folder", folder.folder()});
    EXPECT_EQ(logged.code, ctl::kExitRefused);
    EXPECT_EQ(logged.err, "list file not found: " + missing + "\n");
    EXPECT_FALSE(std::filesystem::exists(missing));

    const CtlRun created =
        test::RunCtl(ctl::RunAdd, {"--list", missing, "--name", "Tank", "--host", "h", "--model", "8"});
    EXPECT_EQ(created.code, ctl::kExitOk) << created.err;
    EXPECT_TRUE(std::filesystem::exists(missing));
}

TEST(CtlMain, VersionAndHelpGoToStdoutAndMistakesToStderr)
{
    const CtlRun version = test::RunCtl(ctl::RunVantelctl, {"--version"});
    EXPECT_EQ(version.code, ctl::kExitOk);
    EXPECT_EQ(version.out.rfind("vantelctl Version ", 0), 0u) << version.out;
    EXPECT_EQ(version.err, "");
    const CtlRun help = test::RunCtl(ctl::RunVantelctl, {"--help"});
    EXPECT_EQ(help.code, ctl::kExitOk);
    EXPECT_NE(help.out.find("log "), std::string::npos);
    const CtlRun unknown = test::RunCtl(ctl::RunVantelctl, {"frobnicate"});
    EXPECT_EQ(unknown.code, ctl::kExitUsage);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err.rfind("unknown command: frobnicate\n", 0), 0u);
}

} // namespace
