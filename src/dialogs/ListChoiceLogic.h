#pragma once

#include "ui/ControlView.h"

#include <string>
#include <vector>

namespace vantel {

// What a one-list settings dialog shows: its caption, its list and the
// items, and where a dialog names what it is for, the label of that text.
struct ListChoice {
    const char* caption;
    int listId;
    std::vector<std::string> items;
    int subjectId = 0; // 0: no such label
};

// The logic of a dialog that is nothing but one drop-down list: the caller puts an index
// in, runs it and reads the selection back after OK. An index outside the
// list shows no selection, and OK then gives -1.
class ListChoiceLogic {
public:
    ListChoiceLogic(ControlView& view, ListChoice choice) : view_(view), choice_(std::move(choice)) {}

    int index = -1;
    // What the setting is for (a channel), shown above the list.
    std::string subject;

    const ListChoice& choice() const { return choice_; }

    void onInitDialog();
    void onOK();

private:
    ControlView& view_;
    ListChoice choice_;
};

} // namespace vantel
