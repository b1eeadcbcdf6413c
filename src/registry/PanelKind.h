#pragma once

#include <optional>
#include <string_view>

namespace vantel {

// The analog panel classes that the tab container hosts, by the container
// kind stored with them (0-7). What each kind is lives in the kind table
// (panels/PanelKindTable.h).
enum class ContainerKind : int {
    QZK17 = 0,
    QZK17V2 = 1,
    QZK19 = 2,
    QZK18 = 3,
    QZK28 = 4,
    QZK17Gateway = 5,
    QZK33Gateway = 6,
    QZK33 = 7,
};

inline constexpr int kContainerKindCount = 8;

// What opens when the user connects to a unit.
enum class PanelClass {
    None,           // a row the program cannot open (unknown model)
    Digital,        // its own window, its own channel
    DigitalGateway, // its own window, a node on the gateway link
    Container,      // the tab container with the analog panel of a kind
};

struct PanelKind {
    PanelClass panel = PanelClass::None;
    ContainerKind container = ContainerKind::QZK17; // for PanelClass::Container only

    bool operator==(const PanelKind&) const = default;
};

// The kind of a stored or transmitted number; nullopt outside 0-7.
std::optional<ContainerKind> ContainerKindFromNumber(int number);
inline int NumberOf(ContainerKind kind)
{
    return static_cast<int>(kind);
}

} // namespace vantel
