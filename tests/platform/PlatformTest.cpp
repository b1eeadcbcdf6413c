#include "platform/Adapters.h"
#include "platform/CommandLine.h"
#include "platform/TextCodec.h"
#include "platform/VersionText.h"

#include <gtest/gtest.h>

using namespace vantel;

TEST(CommandLine, TimeoutOptionKeepsItsTraditionalForms)
{
    EXPECT_EQ(ParseTimeoutArgument("-T5000"), 5000);
    EXPECT_EQ(ParseTimeoutArgument("/t5000"), 5000);
    EXPECT_EQ(ParseTimeoutArgument("  -t1500  "), 1500);
    EXPECT_EQ(ParseTimeoutArgument("-T19999"), 19999);
    EXPECT_EQ(ParseTimeoutArgument("-T0"), std::nullopt);
    EXPECT_EQ(ParseTimeoutArgument("-T20000"), std::nullopt);
    EXPECT_EQ(ParseTimeoutArgument("-Tabc"), std::nullopt);
    EXPECT_EQ(ParseTimeoutArgument("x"), std::nullopt);

    const CommandLine cl = ParseCommandLine({"--list", "/tmp/t5000.dat", "/T2500", "--codepage", "UTF-8", "--demo"});
    EXPECT_EQ(cl.timeoutMs, 2500);
    EXPECT_EQ(cl.listFile, "/tmp/t5000.dat") << "option values are not taken for the time-out";
    EXPECT_EQ(cl.codePage, "UTF-8");
    EXPECT_TRUE(cl.demo);
    EXPECT_FALSE(ParseCommandLine({"--list"}).error.empty());
    EXPECT_EQ(ParseCommandLine({"-T20000"}).timeoutMs, 0);
}

TEST(CommandLine, OpenTakesEveryFileUpToTheNextOption)
{
    const CommandLine cl = ParseCommandLine({"--open", "/logs/a_001.csv", "/logs/tank.csv", "/T2500", "--demo"});
    EXPECT_EQ(cl.openFiles, (std::vector<std::string>{"/logs/a_001.csv", "/logs/tank.csv"}));
    EXPECT_EQ(cl.timeoutMs, 2500);
    EXPECT_TRUE(cl.demo);
    EXPECT_TRUE(cl.error.empty());
    EXPECT_FALSE(ParseCommandLine({"--open", "--demo"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--open"}).error.empty());
}

TEST(VersionText, DropsAZeroFourthPart)
{
    EXPECT_EQ(VersionText(1, 0, 3, 0), "Version 1.03");
    EXPECT_EQ(VersionText(2, 1, 0, 5), "Version 2.105");
    EXPECT_EQ(VersionText(2, 1, 0, 0), "Version 2.10");
    EXPECT_EQ(ProgramVersionText().rfind("Version ", 0), 0u);
}

TEST(TextCodec, Cp932MeasuresAndCutsAtCharacterBoundaries)
{
    const TextCodec cp932("CP932");
    EXPECT_EQ(cp932.encodedLength("ABC"), 3u);
    EXPECT_EQ(cp932.encodedLength("ロギング中"), 10u);
    EXPECT_EQ(cp932.encodedLength("ｷｬﾝｾﾙ"), 5u) << "half-width katakana are single bytes";
    EXPECT_EQ(cp932.truncateToBytes("aロギ", 4), "aロ");
    EXPECT_EQ(cp932.truncateToBytes("aロギ", 5), "aロギ");
    EXPECT_FALSE(cp932.canEncode("😀"));
    EXPECT_EQ(cp932.decode(*cp932.encode("ソ表①")), "ソ表①");
    EXPECT_EQ(cp932.decode("a\xFF"), "a\xEF\xBF\xBD");
    EXPECT_EQ(cp932.decode("\x83"), "\xEF\xBF\xBD") << "a lone lead byte does not swallow the text";

    const TextCodec utf8("utf-8");
    EXPECT_TRUE(utf8.isUtf8());
    EXPECT_EQ(utf8.encodedLength("ロ"), 3u);
    EXPECT_FALSE(utf8.canEncode("\xFF"));
    EXPECT_TRUE(TextCodec::isSupported("CP932"));
    EXPECT_FALSE(TextCodec::isSupported("NO-SUCH-CODEPAGE"));
}

TEST(Adapters, NeverListTheLoopbackAddress)
{
    for (const Adapter& a : ListAdapters())
        EXPECT_NE(FormatIPv4(a.address), "127.0.0.1");
    EXPECT_EQ(FormatIPv4(LoopbackAdapter().address), "127.0.0.1");
}
