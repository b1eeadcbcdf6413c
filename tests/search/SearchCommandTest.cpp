#include "cli/SearchCommand.h"
#include "DiscoveryResponder.h"
#include "SimUnit.h"
#include "registry/UnitList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace vantel {
namespace {

TEST(SearchCommandTest, PrintsFoundUnitsAndAddsOneWithTheProposedName)
{
    sim::UnitConfig config;
    config.row = 8; // QZ-K16-P, two-byte, code 6
    sim::SimUnit unit(config);
    unit.start();
    sim::DiscoveryResponder responder;
    sim::DiscoveryUnitConfig found;
    found.family = 'X';
    found.subLetter = '5';
    found.mac = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    found.controlPort = unit.port();
    responder.addUnit(found);
    responder.start();

    // A folder of its own: runs of the suite side by side must not share the list.
    const test::TempFolder folder;
    const std::string listFile = (folder.path() / "units.dat").string();
    const std::string target = "127.0.0.1:" + std::to_string(responder.probePort());

    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(ctl::RunSearch({"--target", target, "--list", listFile, "--add", "1", "--timeout", "500"}, out, err), 0)
        << err.str();
    EXPECT_EQ(out.str(), "1\t00-11-22-33-44-55\t127.0.0.1\tX5\t\nadded QZ-K16-P_334455 as unit 1\n");

    UnitList list(listFile);
    ASSERT_EQ(list.Load(), 0);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.at(0).name, "QZ-K16-P_334455");
    EXPECT_EQ(list.at(0).controlPort, unit.port());

    std::ostringstream again;
    EXPECT_EQ(ctl::RunSearch({"--target", target, "--list", listFile, "--add", "2"}, again, err), 1);
    EXPECT_EQ(again.str(), "1\t00-11-22-33-44-55\t127.0.0.1\tX5\tregistered\n");
    EXPECT_EQ(ctl::RunSearch({"--target", "127.0.0.1"}, again, err), 2);
}

} // namespace
} // namespace vantel
