#pragma once

#include "app/MainWindowView.h"
#include "support/FakeControlView.h"

#include <optional>
#include <string>
#include <vector>

namespace vantel::test {

// A main window without widgets: records what the logic shows and answers
// its dialogs from scripted values.
class FakeMainView : public MainWindowView {
public:
    ControlView& controls() override { return ui; }
    void setUnitRows(const std::vector<UnitListRow>& r) override { rows = r; }
    int selectionMark() const override { return selected; }
    void selectRow(int row) override { selected = row; }
    void scrollToRow(int row) override { scrolledTo = row; }
    std::optional<UnitConnection> editUnit(const UnitList&, int editIndex, const UnitConnection& in) override
    {
        lastEditIndex = editIndex;
        lastEditIn = in;
        return nextEdit;
    }
    std::optional<std::string> chooseFolder(const std::string& title, const std::string&) override
    {
        folderTitle = title;
        return nextFolder;
    }
    void closeWindow() override { closed = true; }

    std::vector<UnitListRow> rows;
    int selected = -1;
    int scrolledTo = -1;
    int lastEditIndex = -2;
    UnitConnection lastEditIn;
    std::optional<UnitConnection> nextEdit;
    std::optional<std::string> nextFolder;
    std::string folderTitle;
    bool closed = false;
    FakeControlView ui;
};

} // namespace vantel::test
