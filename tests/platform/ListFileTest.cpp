#include "platform/AtomicFile.h"
#include "platform/CommandLine.h"
#include "platform/ListLock.h"
#include "support/LockHolderProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using namespace vantel;

namespace {

void Touch(const std::filesystem::path& file)
{
    std::ofstream(file) << "left over";
}

} // namespace

TEST(AtomicFile, ASaveRemovesTheTemporaryThatACrashedSaveLeftButNothingElse)
{
    const test::TempFolder folder;
    const std::string list = (folder.path() / "vantel.dat").string();
    ASSERT_TRUE(WriteFileAtomically(list, "first\r\n"));
    // What a save leaves when it dies before its rename.
    std::string crashed = AtomicTemporaryPattern(list);
    crashed.replace(crashed.size() - 6, 6, "a1B2c3");
    Touch(crashed);
    for (const char* keep : {"vantel.dat.backup", "vantel.dat.saving-toolong1", "other.dat.saving-a1B2c3"})
        Touch(folder.path() / keep);

    ASSERT_TRUE(WriteFileAtomically(list, "second\r\n"));
    EXPECT_FALSE(std::filesystem::exists(crashed));
    for (const char* keep : {"vantel.dat.backup", "vantel.dat.saving-toolong1", "other.dat.saving-a1B2c3"})
        EXPECT_TRUE(std::filesystem::exists(folder.path() / keep)) << keep;
    EXPECT_EQ(ReadWholeFile(list).value(), "second\r\n");
}

TEST(ListLock, OneHolderAtATimeAndTheLockSurvivesTheListBeingReplaced)
{
    const test::TempFolder folder;
    const std::string list = (folder.path() / "vantel.dat").string();
    ListLock::Outcome outcome{};
    std::string holder;
    auto first = ListLock::tryAcquire(list, outcome, holder);
    ASSERT_TRUE(first);
    EXPECT_EQ(outcome, ListLock::Outcome::Held);
    // Saves rename a new file over the list; the lock is beside it and stays.
    ASSERT_TRUE(WriteFileAtomically(list, "a\r\n"));
    ASSERT_TRUE(WriteFileAtomically(list, "b\r\n"));

    EXPECT_FALSE(ListLock::tryAcquire(list, outcome, holder));
    EXPECT_EQ(outcome, ListLock::Outcome::Busy);
    EXPECT_EQ(holder, "process " + std::to_string(::getpid()));

    first.reset();
    EXPECT_TRUE(ListLock::tryAcquire(list, outcome, holder));
    EXPECT_EQ(outcome, ListLock::Outcome::Held);
}

TEST(ListLock, AKilledHolderLeavesNoLockBehind)
{
    const test::TempFolder folder;
    const std::string list = (folder.path() / "vantel.dat").string();
    test::LockHolderProcess crashing(list);
    ASSERT_TRUE(crashing.holds());

    ListLock::Outcome outcome{};
    std::string holder;
    EXPECT_FALSE(ListLock::tryAcquire(list, outcome, holder));
    EXPECT_EQ(outcome, ListLock::Outcome::Busy);
    EXPECT_EQ(holder, "process " + std::to_string(crashing.pid()));

    crashing.kill();
    EXPECT_TRUE(std::filesystem::exists(ListLock::lockPathFor(list))) << "the file stays, its lock does not";
    EXPECT_TRUE(ListLock::tryAcquire(list, outcome, holder));
    EXPECT_EQ(outcome, ListLock::Outcome::Held);
}

TEST(ListLock, AFolderThatTakesNoFilesHasNothingToGuard)
{
    const test::TempFolder folder;
    ListLock::Outcome outcome{};
    std::string holder;
    EXPECT_FALSE(ListLock::tryAcquire((folder.path() / "gone" / "vantel.dat").string(), outcome, holder));
    EXPECT_EQ(outcome, ListLock::Outcome::Unavailable);
}

TEST(CommandLine, VersionIsAnOptionOfItsOwn)
{
    EXPECT_TRUE(ParseCommandLine({"--version"}).version);
    EXPECT_FALSE(ParseCommandLine({"--demo"}).version);
    EXPECT_NE(CommandLineHelp().find("--version"), std::string::npos);
}
