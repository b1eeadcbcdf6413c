#pragma once

#include "registry/UnitRecord.h"
#include "ui/ControlView.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantel {

class UnitList;

// Control ids of the search dialog.
namespace SearchControl {
inline constexpr int Close = 1;
inline constexpr int ListCaption = 1099;
inline constexpr int FoundUnits = 1000;
inline constexpr int SearchPort = 1097;
inline constexpr int Research = 1093;
inline constexpr int Add = 1098;
inline constexpr int Progress = 1103;
} // namespace SearchControl

// One row of the found-units list.
struct SearchRow {
    std::string mac;
    std::string ip;
    std::string model;
    bool registered = false; // drawn in dark grey
};

// What the search dialog's logic needs from its window. Every call but
// post() is made on the GUI thread.
class SearchView {
public:
    virtual ~SearchView() = default;
    virtual ControlView& controls() = 0;
    virtual void setRows(const std::vector<SearchRow>& rows) = 0;
    virtual int selectionMark() const = 0; // -1: none
    // Runs the unit dialog for a new unit, pre-filled; nullopt when cancelled.
    virtual std::optional<UnitConnection> addUnit(const UnitList& list, const UnitConnection& in) = 0;
    // Runs `work` later on the GUI thread; callable from any thread.
    virtual void post(std::function<void()> work) = 0;
};

} // namespace vantel
