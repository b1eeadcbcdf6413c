#include "app/CVantelDlg.h"

#include "app/AppTexts.h"
#include "app/ListReadNotice.h"
#include "platform/VersionText.h"
#include "registry/CVantelAddChange.h"
#include "registry/ModelCatalogue.h"
#include "registry/RegistryTexts.h"

#include <array>
#include <iterator>

namespace vantel {
namespace {

constexpr std::int64_t kShutdownWaitPerPanelMs = 2000;

} // namespace

CVantelDlg::CVantelDlg(UnitList& list, AppState& state, MainWindowView& view, const Clock& clock)
    : list_(list), state_(state), view_(view), controls_(view.controls()), clock_(clock)
{
}

void CVantelDlg::setLogFolder(std::string folder)
{
    logFolder_ = std::move(folder);
    controls_.setText(MainId::LogFolder, logFolder_);
}

bool CVantelDlg::start(std::vector<Adapter> adapters)
{
    controls_.setText(MainId::Version, ProgramVersionText());
    adapters_ = std::move(adapters);
    if (adapters_.empty()) {
        controls_.showMessage(kNoAdapter);
        return false;
    }
    std::vector<std::string> items;
    for (const Adapter& a : adapters_)
        items.push_back(FormatIPv4(a.address) + " (" + a.friendlyName + ")");
    controls_.setItems(MainId::Adapter, items);
    controls_.setCurrentIndex(MainId::Adapter, 0);
    state_.adapterAddress = adapters_.front().address;

    controls_.setText(MainId::LogFolder, logFolder_);
    controls_.setItems(MainId::LinesPerFile, {std::begin(kLinesPerFileItems), std::end(kLinesPerFileItems)});
    controls_.setCurrentIndex(MainId::LinesPerFile, kDefaultLinesItem);
    list_.Load();
    if (const std::string notice = ListReadNotice(list_); !notice.empty())
        controls_.showMessage(notice);
    refillList();
    disableSelectionButtons();
    return true;
}

void CVantelDlg::refillList()
{
    std::vector<UnitListRow> rows;
    rows.reserve(static_cast<std::size_t>(list_.count()));
    for (int i = 0; i < list_.count(); ++i)
        rows.push_back(UnitListColumns(list_.at(i)));
    view_.setUnitRows(rows);
}

void CVantelDlg::disableSelectionButtons()
{
    for (int id : {MainId::Change, MainId::Delete, MainId::Connect, MainId::MoveUp, MainId::MoveDown})
        controls_.setEnabled(id, false);
}

void CVantelDlg::applySelectionRule(int row)
{
    disableSelectionButtons();
    if (row < 0 || row >= list_.count() || list_.at(row).panelOpen)
        return;
    for (int id : {MainId::Change, MainId::Delete, MainId::Connect})
        controls_.setEnabled(id, true);
    const bool noPanels = state_.openPanelCount.load() == 0;
    controls_.setEnabled(MainId::MoveUp, noPanels && row > 0);
    controls_.setEnabled(MainId::MoveDown, noPanels && row < list_.count() - 1);
}

void CVantelDlg::saveOrComplain()
{
    if (list_.Save() != 0)
        controls_.showMessage(kCannotSave);
}

bool CVantelDlg::refuseIfOpen(int row)
{
    if (!list_.at(row).panelOpen)
        return false;
    controls_.showMessage(kInUse);
    return true;
}

void CVantelDlg::onAdd()
{
    const auto unit = view_.editUnit(list_, -1, CVantelAddChange::blankUnit());
    if (!unit)
        return;
    if (list_.Add(-1, *unit) != 0) {
        controls_.showMessage(kCannotAdd);
        return;
    }
    refillList();
    view_.selectRow(-1);
    disableSelectionButtons();
    saveOrComplain();
    view_.scrollToRow(list_.count() - 1);
}

void CVantelDlg::onChange()
{
    const int row = view_.selectionMark();
    if (row < 0 || row >= list_.count() || refuseIfOpen(row))
        return;
    const auto unit = view_.editUnit(list_, row, list_.at(row));
    if (!unit)
        return;
    if (list_.Change(row, *unit) != 0) {
        controls_.showMessage(kCannotChange);
        return;
    }
    saveOrComplain();
    refillList();
    view_.selectRow(row);
    view_.scrollToRow(row);
}

void CVantelDlg::onDelete()
{
    const int row = view_.selectionMark();
    if (row < 0 || row >= list_.count() || refuseIfOpen(row))
        return;
    if (!controls_.ask(DeleteQuestion(list_.at(row).name)))
        return;
    if (list_.Delete(row) != 0) {
        controls_.showMessage(kCannotDelete);
        return;
    }
    refillList();
    view_.selectRow(-1);
    disableSelectionButtons();
    saveOrComplain();
}

void CVantelDlg::move(int row, int newRow, int (UnitList::*op)(int))
{
    if (row < 0 || row >= list_.count() || list_.at(row).panelOpen)
        return;
    if ((list_.*op)(row) != 0)
        return;
    refillList();
    view_.selectRow(newRow);
    saveOrComplain();
    view_.scrollToRow(row);
}

void CVantelDlg::onMoveUp()
{
    const int row = view_.selectionMark();
    move(row, row - 1, &UnitList::MoveUp);
}

void CVantelDlg::onMoveDown()
{
    const int row = view_.selectionMark();
    move(row, row + 1, &UnitList::MoveDown);
}

void CVantelDlg::onConnect()
{
    const int row = view_.selectionMark();
    if (row < 0 || row >= list_.count() || list_.at(row).panelOpen)
        return;
    view_.selectRow(-1);
    disableSelectionButtons();
    UnitRecord& record = list_.at(row);
    // A row the catalogue does not know cannot tell which panel or dialect to use.
    if (!IsKnownModelRow(record.modelRow)) {
        controls_.showMessage(kUnknownModelCannotConnect);
        return;
    }
    ConnectRequest request;
    request.listIndex = row;
    request.loggingEnabled = controls_.isChecked(MainId::LoggingEnabled);
    request.logFolder = logFolder_;
    request.fileSwitchLines =
        FileSwitchingValue(controls_.isChecked(MainId::FileSwitching), controls_.currentIndex(MainId::LinesPerFile));
    if (connector_)
        connector_->connect(record, request, view_);
}

void CVantelDlg::onAdapterChanged(int index)
{
    if (index >= 0 && index < static_cast<int>(adapters_.size()))
        state_.adapterAddress = adapters_[static_cast<std::size_t>(index)].address;
}

void CVantelDlg::onLoggingClicked()
{
    const bool enabled = controls_.isChecked(MainId::LoggingEnabled);
    for (int i = 0; i < list_.count(); ++i) {
        UnitRecord& record = list_.at(i);
        if (record.panelOpen && record.panel)
            record.panel->setLoggingEnabled(enabled);
    }
}

void CVantelDlg::onBrowseFolder()
{
    if (const auto folder = view_.chooseFolder(kChooseLogFolder, logFolder_); folder && !folder->empty())
        setLogFolder(folder->back() == '/' ? *folder : *folder + "/");
}

bool CVantelDlg::onCloseRequested()
{
    if (shuttingDown_)
        return false;
    bool asked = false;
    for (int i = 0; i < list_.count(); ++i) {
        UnitRecord& record = list_.at(i);
        if (record.panelOpen && record.panel) {
            record.panel->requestClose();
            asked = true;
        }
    }
    if (!asked) {
        if (connector_)
            connector_->shutDown();
        return true;
    }
    shuttingDown_ = true;
    shutdownRecord_ = 0;
    shutdownRecordStart_ = clock_.nowMs();
    return false;
}

void CVantelDlg::onTimer()
{
    if (state_.listRefreshRequest.load() == 2) {
        refillList();
        view_.selectRow(list_.count() - 1);
        view_.scrollToRow(list_.count() - 1);
        state_.listRefreshRequest = 0;
    }
    if (connector_ && !shuttingDown_)
        connector_->onTimer(list_, view_);
    if (!shuttingDown_)
        return;
    // Wait for each open panel in list order; one that does not end within
    // its time is abandoned so the program can still exit.
    while (shutdownRecord_ < list_.count()) {
        UnitRecord& record = list_.at(shutdownRecord_);
        if (record.panelOpen && clock_.nowMs() - shutdownRecordStart_ < kShutdownWaitPerPanelMs)
            return;
        record.panelOpen = false;
        ++shutdownRecord_;
        shutdownRecordStart_ = clock_.nowMs();
    }
    shuttingDown_ = false;
    view_.closeWindow();
}

} // namespace vantel
