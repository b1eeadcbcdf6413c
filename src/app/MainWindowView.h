#pragma once

#include "registry/UnitListColumns.h"
#include "registry/UnitRecord.h"
#include "ui/ControlView.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vantel {

class UnitList;

// Control ids of the main window.
namespace MainId {
inline constexpr int Adapter = 1036;
inline constexpr int UnitListView = 1000;
inline constexpr int Search = 1008;
inline constexpr int Add = 1002;
inline constexpr int Change = 1004;
inline constexpr int Delete = 1005;
inline constexpr int MoveUp = 1092;
inline constexpr int MoveDown = 1093;
inline constexpr int Connect = 1003;
inline constexpr int LoggingEnabled = 1204;
inline constexpr int FileSwitching = 1100;
inline constexpr int LinesPerFile = 1101;
inline constexpr int LogFolder = 1202;
inline constexpr int BrowseFolder = 1203;
inline constexpr int Version = 1007;
inline constexpr int Exit = 1006;
} // namespace MainId

// What the main window's logic needs from its window: its plain controls,
// the unit list and the dialogs it runs.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual ControlView& controls() = 0;
    virtual void setUnitRows(const std::vector<UnitListRow>& rows) = 0;
    virtual int selectionMark() const = 0; // -1: none
    virtual void selectRow(int row) = 0;   // -1 clears the selection
    virtual void scrollToRow(int row) = 0;
    // Runs the unit dialog; nullopt when cancelled.
    virtual std::optional<UnitConnection> editUnit(const UnitList& list, int editIndex, const UnitConnection& in) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) = 0;
    virtual void closeWindow() = 0;
};

} // namespace vantel
