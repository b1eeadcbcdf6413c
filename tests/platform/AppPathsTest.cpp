#include "platform/AppPaths.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

using namespace vantel;
namespace fs = std::filesystem;

namespace {

// Points the user's folders into a scratch folder and puts them back afterwards.
class AppPathsTest : public ::testing::Test {
protected:
    AppPathsTest() : home_(Saved("HOME")), xdg_(Saved("XDG_CONFIG_HOME"))
    {
        ::setenv("HOME", (temp.path() / "home").c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
    }
    ~AppPathsTest() override
    {
        Restore("HOME", home_);
        Restore("XDG_CONFIG_HOME", xdg_);
    }

    fs::path programIn(const std::string& folder) const
    {
        fs::create_directories(temp.path() / folder);
        return temp.path() / folder / "vantelctl";
    }

    test::TempFolder temp;

private:
    static std::optional<std::string> Saved(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }

    std::optional<std::string> home_;
    std::optional<std::string> xdg_;
};

} // namespace

TEST_F(AppPathsTest, PortableCopyKeepsTheProgramsListBesideItself)
{
    const fs::path program = programIn("portable");
    const AppPaths paths = AppPathsFor(program.string());
    EXPECT_EQ(paths.listFile, (temp.path() / "portable" / "vantel.dat").string())
        << "vantelctl beside the program works on the program's list";
    EXPECT_EQ(paths.logFolder, (temp.path() / "portable").string() + "/");
}

TEST_F(AppPathsTest, InstalledProgramUsesTheConfigFolderEvenWhenItsBinFolderIsWritable)
{
    const fs::path program = programIn("prefix/bin");
    const AppPaths viaHome = AppPathsFor(program.string());
    const fs::path homeConfig = temp.path() / "home" / ".config" / "vantel";
    EXPECT_EQ(viaHome.listFile, (homeConfig / "vantel.dat").string());
    EXPECT_EQ(viaHome.logFolder, homeConfig.string() + "/");
    EXPECT_TRUE(fs::is_directory(homeConfig)) << "created so the first save succeeds";

    ::setenv("XDG_CONFIG_HOME", (temp.path() / "xdg").c_str(), 1);
    EXPECT_EQ(AppPathsFor(program.string()).listFile, (temp.path() / "xdg" / "vantel" / "vantel.dat").string());
}

TEST_F(AppPathsTest, UnknownProgramPathFallsBackToTheConfigFolder)
{
    ::setenv("XDG_CONFIG_HOME", (temp.path() / "xdg").c_str(), 1);
    EXPECT_EQ(AppPathsFor("").listFile, (temp.path() / "xdg" / "vantel" / "vantel.dat").string());
}

TEST_F(AppPathsTest, ANamedListKeepsTheLogsBesideItAndCreatesNothing)
{
    ::setenv("XDG_CONFIG_HOME", (temp.path() / "xdg").c_str(), 1);
    const fs::path list = temp.path() / "plant" / "line.dat";
    const AppPaths named = AppPathsForList(list.string());
    EXPECT_EQ(named.listFile, list.string());
    EXPECT_EQ(named.logFolder, (temp.path() / "plant").string() + "/");
    EXPECT_FALSE(fs::exists(temp.path() / "xdg")) << "the configuration folder is not the run's";

    const fs::path before = fs::current_path();
    fs::current_path(temp.path());
    const AppPaths relative = AppPathsForList("line.dat");
    fs::current_path(before);
    EXPECT_EQ(relative.logFolder, temp.path().string() + "/") << "shown as a full path";
}
