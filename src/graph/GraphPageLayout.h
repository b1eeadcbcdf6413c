#pragma once

#include <array>
#include <string_view>

namespace vantel {

// What the graph page of a container kind shows; the kind table holds one
// per kind. Series are listed in series order.
struct GraphPageLayout {
    bool analogOutputs = false; // AO rows (else AI rows) carry the analog series
    // Rows of the value column that belong to analog channels: the others
    // show ON/OFF.
    int analogPageRows = 3;
    // Analog series; with fewer than three the digital rows' series sit
    // that much lower.
    int analogSeries = 3;
    int seriesCount = 0;
    std::array<std::string_view, 6> series{};
    // The page's controls the kind does not use, by their names in
    // GraphPageIds.h; unused entries are empty.
    std::array<std::string_view, 7> hiddenControls{};
};

} // namespace vantel
