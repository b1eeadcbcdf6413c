#include "search/DiscoveryDatagrams.h"

#include "registry/UnitRecord.h"

#include <algorithm>
#include <string_view>

namespace vantel {

namespace {

constexpr std::size_t kModelByte = 6;
constexpr std::size_t kFamilyByte = 8;
constexpr std::size_t kSubLetterByte = 9;
constexpr std::size_t kMacByte = 24;
constexpr std::size_t kPortByte = 24;
constexpr std::size_t kSerialLinePortByte = 72;
constexpr std::size_t kUnitTextByte = 16;
// "_B" and "_D" units report model codes from 8 up; lower codes are not theirs.
constexpr int kLowestReportedModel = 8;

std::optional<int> KindOfFamilyX(char subLetter)
{
    if (std::string_view("124569").find(subLetter) == std::string_view::npos)
        return std::nullopt;
    return DiscoveryKind::Plain;
}

int KindOfFamilyUnderscore(char subLetter)
{
    switch (subLetter) {
    case 'L':
        return DiscoveryKind::WiFi;
    case 'W':
        return DiscoveryKind::Lc;
    case 'B':
        return DiscoveryKind::FamilyB;
    case 'D':
        return DiscoveryKind::ThirdWireless;
    default:
        return DiscoveryKind::Plain;
    }
}

} // namespace

std::optional<ProbeReply> ClassifyProbeReply(std::span<const std::uint8_t> reply)
{
    if (reply.size() < kProbeReplyLength)
        return std::nullopt;
    ProbeReply found;
    found.family = static_cast<char>(reply[kFamilyByte]);
    found.subLetter = static_cast<char>(reply[kSubLetterByte]);
    if (found.family == 'X') {
        const auto kind = KindOfFamilyX(found.subLetter);
        if (!kind)
            return std::nullopt;
        found.kind = *kind;
    } else if (found.family == '_') {
        found.kind = KindOfFamilyUnderscore(found.subLetter);
        found.controlPort = kDefaultControlPort;
        if (found.kind == DiscoveryKind::FamilyB || found.kind == DiscoveryKind::ThirdWireless) {
            found.modelCode = reply[kModelByte];
            if (found.modelCode < kLowestReportedModel)
                return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    std::copy_n(reply.begin() + kMacByte, found.mac.size(), found.mac.begin());
    return found;
}

bool NeedsDetailQuery(int kind)
{
    return kind != DiscoveryKind::Lc && kind != DiscoveryKind::FamilyB && kind != DiscoveryKind::ThirdWireless;
}

bool NeedsSecondDetailQuery(char family, char subLetter)
{
    return family == 'X' && subLetter == '6';
}

std::optional<int> DetailControlPort(std::span<const std::uint8_t> reply, int kind)
{
    const std::size_t at = kind == DiscoveryKind::SerialLine ? kSerialLinePortByte : kPortByte;
    if (reply.size() < at + 2)
        return std::nullopt;
    return reply[at] | (reply[at + 1] << 8);
}

bool SecondDetailMentionsGc(std::span<const std::uint8_t> reply)
{
    if (reply.size() <= kUnitTextByte)
        return false;
    const auto text = reply.subspan(kUnitTextByte);
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    const std::string_view gc = "GC";
    return std::search(text.begin(), end, gc.begin(), gc.end()) != end;
}

} // namespace vantel
