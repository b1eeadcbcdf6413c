#include "search/DiscoveryTexts.h"

#include "registry/ModelCatalogue.h"

#include <cstdio>

namespace vantel {

namespace {

// The family letter and, when it is a printable character, the sub-letter:
// a reply byte of any value must not reach the window as broken text.
std::string ReplyLetters(const DiscoveryEntry& entry)
{
    std::string letters(1, entry.family);
    if (entry.subLetter >= 0x20 && entry.subLetter < 0x7F)
        letters += entry.subLetter;
    return letters;
}

} // namespace

std::string MacText(const MacAddress& mac)
{
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return text;
}

std::uint32_t KindFamilyFlags(int kind)
{
    switch (kind) {
    case DiscoveryKind::SerialLine:
        return ModelFlag::SerialInterface;
    case DiscoveryKind::WiFi:
        return ModelFlag::FirstWireless;
    case DiscoveryKind::ThirdWireless:
        return ModelFlag::ThirdWireless;
    default:
        return 0;
    }
}

int CatalogueRowOf(const DiscoveryEntry& entry)
{
    if (entry.modelCode == kUnknownModel)
        return kNoModel;
    return FindModelRow(entry.modelCode, KindFamilyFlags(entry.kind));
}

std::string ModelColumnText(const DiscoveryEntry& entry)
{
    if (entry.modelCode != kUnknownModel) {
        std::string name(ModelAt(CatalogueRowOf(entry)).shortName);
        return entry.kind == DiscoveryKind::GcLowModel ? name + "(G)" : name;
    }
    if (entry.kind == DiscoveryKind::WiFi)
        return "WiFi";
    if (entry.kind == DiscoveryKind::Lc)
        return "LC";
    return ReplyLetters(entry);
}

std::string ProposedUnitName(const DiscoveryEntry& entry)
{
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "_%02X%02X%02X", entry.mac[3], entry.mac[4], entry.mac[5]);
    return std::string(ModelAt(CatalogueRowOf(entry)).shortName) + suffix;
}

} // namespace vantel
