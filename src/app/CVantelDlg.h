#pragma once

#include "app/MainWindowView.h"
#include "app/UnitConnector.h"
#include "logging/FileSwitching.h"
#include "platform/Adapters.h"
#include "platform/Clock.h"
#include "registry/AppState.h"
#include "registry/UnitList.h"
#include "registry/UnitListColumns.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantel {

// The main window's behaviour: the unit list and its buttons, logging
// options, connect and the orderly shutdown of open panels.
class CVantelDlg {
public:
    CVantelDlg(UnitList& list, AppState& state, MainWindowView& view, const Clock& clock = SteadyClock::instance());

    void setConnector(UnitConnector* connector) { connector_ = connector; }
    void setLogFolder(std::string folder);
    const std::string& logFolder() const { return logFolder_; }

    // Window start-up. False when there is no adapter: the message was shown
    // and the program must end.
    bool start(std::vector<Adapter> adapters);

    void onAdd();
    void onChange();
    void onDelete();
    void onMoveUp();
    void onMoveDown();
    void onConnect();
    void onRowActivated(bool controlHeld) { controlHeld ? onChange() : onConnect(); }
    void onSelectionChanged() { applySelectionRule(view_.selectionMark()); }
    void onAdapterChanged(int index);
    void onLoggingClicked();
    void onBrowseFolder();
    // The window was asked to close. True when it may close now; otherwise
    // panels were asked to close and the timer closes the window later.
    bool onCloseRequested();
    void onTimer();

    const std::vector<Adapter>& adapters() const { return adapters_; }

private:
    void refillList();
    void disableSelectionButtons();
    void applySelectionRule(int row);
    void saveOrComplain();
    bool refuseIfOpen(int row);
    void move(int row, int newRow, int (UnitList::*op)(int));

    UnitList& list_;
    AppState& state_;
    MainWindowView& view_;
    ControlView& controls_;
    const Clock& clock_;
    UnitConnector* connector_ = nullptr;
    std::vector<Adapter> adapters_;
    std::string logFolder_;

    // Shutdown: records are waited for one after the other, 2 s each at most.
    bool shuttingDown_ = false;
    int shutdownRecord_ = 0;
    std::int64_t shutdownRecordStart_ = 0;
};

} // namespace vantel
