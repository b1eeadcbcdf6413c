#pragma once

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace vantel::test {

// Puts the whole test program under a locale whose decimal separator is a
// comma (de_DE.UTF-8, LC_NUMERIC only), as Qt does from the environment of a
// German user. The locale is compiled once with localedef (the sources come
// with Debian's "locales" package) into a folder under the temp folder that
// every run shares, so no machine needs it installed. Register it before any
// thread starts: ::testing::AddGlobalTestEnvironment(new CommaLocale).
class CommaLocale : public ::testing::Environment {
public:
    static constexpr const char* kName = "de_DE.UTF-8";

    void SetUp() override
    {
        const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vantel-test-locales";
        if (!std::filesystem::exists(folder / kName))
            generate(folder);
        const char* before = std::getenv("LOCPATH");
        const std::string saved = before ? before : "";
        ::setenv("LOCPATH", folder.c_str(), 1);
        const bool switched = std::setlocale(LC_NUMERIC, kName) != nullptr;
        // The locale is loaded now; other locales are looked for where they always are.
        if (before)
            ::setenv("LOCPATH", saved.c_str(), 1);
        else
            ::unsetenv("LOCPATH");
        ASSERT_TRUE(switched) << "no " << kName << " in " << folder;
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 2.5);
        ASSERT_STREQ(text, "2,5") << "the locale must write a decimal comma";
    }

    void TearDown() override { std::setlocale(LC_NUMERIC, "C"); }

private:
    // Compiled beside the shared folder and moved into it in one step, so
    // that test programs running side by side never see half a locale.
    static void generate(const std::filesystem::path& folder)
    {
        const TempFolder scratch;
        const std::filesystem::path built = scratch.path() / kName;
        const std::string command = "localedef -i de_DE -f UTF-8 '" + built.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << "localedef failed (is the \"locales\" package installed?)";
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        std::filesystem::rename(built, folder / kName, ignored);
    }
};

} // namespace vantel::test
