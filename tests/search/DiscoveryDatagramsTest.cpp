#include "search/DiscoveryDatagrams.h"
#include "search/DiscoveryTexts.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantel {
namespace {

std::vector<std::uint8_t> Reply(char family, char sub, std::uint8_t modelByte = 0, std::size_t size = 30)
{
    std::vector<std::uint8_t> reply(size, 0xEE);
    if (size > 6)
        reply[6] = modelByte;
    if (size > 9) {
        reply[8] = static_cast<std::uint8_t>(family);
        reply[9] = static_cast<std::uint8_t>(sub);
    }
    for (std::size_t i = 24; i < 30 && i < size; ++i)
        reply[i] = static_cast<std::uint8_t>(0x11 * (i - 24));
    return reply;
}

TEST(ProbeReplyTest, FamilyXAcceptsOnlyItsSubLetters)
{
    for (char sub : std::string("124569")) {
        const auto found = ClassifyProbeReply(Reply('X', sub));
        ASSERT_TRUE(found) << sub;
        EXPECT_EQ(found->kind, DiscoveryKind::Plain);
        EXPECT_EQ(found->controlPort, 0) << "port comes from the detail reply";
        EXPECT_EQ(found->modelCode, kUnknownModel);
    }
    for (char sub : std::string("0378A_"))
        EXPECT_FALSE(ClassifyProbeReply(Reply('X', sub))) << sub;
}

TEST(ProbeReplyTest, UnderscoreFamilyKindsAndDefaultPort)
{
    const std::pair<char, int> kinds[] = {{'L', DiscoveryKind::WiFi},    {'W', DiscoveryKind::Lc},
                                          {'B', DiscoveryKind::FamilyB}, {'D', DiscoveryKind::ThirdWireless},
                                          {'Q', DiscoveryKind::Plain},   {'\0', DiscoveryKind::Plain}};
    for (const auto& [sub, kind] : kinds) {
        const auto found = ClassifyProbeReply(Reply('_', sub, 9));
        ASSERT_TRUE(found) << sub;
        EXPECT_EQ(found->kind, kind);
        EXPECT_EQ(found->controlPort, 10003);
    }
}

TEST(ProbeReplyTest, ModelByteOfBAndDMustBeAtLeastEight)
{
    EXPECT_FALSE(ClassifyProbeReply(Reply('_', 'B', 7)));
    EXPECT_FALSE(ClassifyProbeReply(Reply('_', 'D', 0)));
    EXPECT_EQ(ClassifyProbeReply(Reply('_', 'B', 8))->modelCode, 8);
    EXPECT_EQ(ClassifyProbeReply(Reply('_', 'D', 255))->modelCode, 255);
    // Other kinds ignore the byte.
    EXPECT_EQ(ClassifyProbeReply(Reply('_', 'L', 3))->modelCode, kUnknownModel);
}

TEST(ProbeReplyTest, UnknownFamiliesAndShortRepliesAreRefused)
{
    EXPECT_FALSE(ClassifyProbeReply(Reply('Y', '1')));
    EXPECT_FALSE(ClassifyProbeReply(Reply('x', '1')));
    EXPECT_FALSE(ClassifyProbeReply(Reply('\0', '\0')));
    for (std::size_t size : {0u, 9u, 10u, 29u})
        EXPECT_FALSE(ClassifyProbeReply(Reply('X', '1', 0, size))) << size;
    const auto found = ClassifyProbeReply(Reply('X', '1', 0, 30));
    ASSERT_TRUE(found);
    EXPECT_EQ(MacText(found->mac), "00-11-22-33-44-55");
}

TEST(DetailReplyTest, PortPositionDependsOnKind)
{
    std::vector<std::uint8_t> reply(124, 0);
    reply[24] = 0x13;
    reply[25] = 0x27;
    reply[72] = 0x14;
    reply[73] = 0x27;
    EXPECT_EQ(DetailControlPort(reply, DiscoveryKind::Plain), 10003);
    EXPECT_EQ(DetailControlPort(reply, DiscoveryKind::GcCapable), 10003);
    EXPECT_EQ(DetailControlPort(reply, DiscoveryKind::SerialLine), 10004);
    EXPECT_FALSE(DetailControlPort(std::span(reply).first(73), DiscoveryKind::SerialLine));
    EXPECT_EQ(DetailControlPort(std::span(reply).first(26), DiscoveryKind::Plain), 10003);
    EXPECT_FALSE(DetailControlPort(std::span(reply).first(25), DiscoveryKind::Plain));
}

TEST(DetailReplyTest, GcIsLookedForInTheTextOnly)
{
    std::vector<std::uint8_t> reply(33, 0);
    const std::string gc = "AB-GC1";
    std::copy(gc.begin(), gc.end(), reply.begin() + 16);
    EXPECT_TRUE(SecondDetailMentionsGc(reply));

    std::vector<std::uint8_t> plain(33, 0);
    plain[30] = 'G'; // after the terminator: not part of the text
    plain[31] = 'C';
    EXPECT_FALSE(SecondDetailMentionsGc(plain));

    // Text running to the end of what arrived, without terminator.
    std::vector<std::uint8_t> unterminated(18, 'x');
    unterminated[16] = 'G';
    unterminated[17] = 'C';
    EXPECT_TRUE(SecondDetailMentionsGc(unterminated));
    EXPECT_FALSE(SecondDetailMentionsGc(std::span(unterminated).first(17)));
    EXPECT_FALSE(SecondDetailMentionsGc({}));
}

DiscoveryEntry Entry(int kind, std::int32_t model, char family = 'X', char sub = '1')
{
    DiscoveryEntry entry;
    entry.kind = kind;
    entry.modelCode = model;
    entry.family = family;
    entry.subLetter = sub;
    entry.mac = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    return entry;
}

TEST(DiscoveryTextTest, ModelColumn)
{
    EXPECT_EQ(ModelColumnText(Entry(DiscoveryKind::Plain, kUnknownModel, 'X', '4')), "X4");
    EXPECT_EQ(ModelColumnText(Entry(DiscoveryKind::WiFi, kUnknownModel, '_', 'L')), "WiFi");
    EXPECT_EQ(ModelColumnText(Entry(DiscoveryKind::Lc, kUnknownModel, '_', 'W')), "LC");
    EXPECT_EQ(ModelColumnText(Entry(DiscoveryKind::Plain, kUnknownModel, '_', '\x01')), "_");
    // Code 9: row 21 in general, row 28 on the serial line; code 10 on the third wireless line is row 48.
    EXPECT_EQ(ModelColumnText(Entry(DiscoveryKind::Plain, 9)), "QZ-K19-P");
    EXPECT_EQ(ModelColumnText(Entry(DiscoveryKind::SerialLine, 9)), "QZ-K26-P");
    EXPECT_EQ(ModelColumnText(Entry(DiscoveryKind::ThirdWireless, 10)), "QZ-K17-W");
    EXPECT_EQ(ModelColumnText(Entry(DiscoveryKind::GcLowModel, 3)), "QZ-K13(G)");
    EXPECT_EQ(ModelColumnText(Entry(DiscoveryKind::WiFi, 1)), "QZ-K11-W");
}

TEST(DiscoveryTextTest, ProposedNameUsesShortNameAndLastMacBytes)
{
    EXPECT_EQ(ProposedUnitName(Entry(DiscoveryKind::Plain, 3)), "QZ-K13_334455");
    EXPECT_EQ(ProposedUnitName(Entry(DiscoveryKind::GcLowModel, 3)), "QZ-K13_334455");
}

} // namespace
} // namespace vantel
