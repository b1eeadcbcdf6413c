#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace vantel {

// The clicks a panel handles: each control id and what its click does,
// looked up in the order they were added.
class ClickTable {
public:
    // A control of every row of a page (a member of its ids) and the
    // panel's handler of a click on it, given the row.
    template <typename Panel, typename Ids> struct RowClick {
        int Ids::*control;
        void (Panel::*onClick)(int row);
    };

    void add(int control, std::function<void()> onClick) { entries_.push_back({control, std::move(onClick)}); }

    // The controls `clicks` of the first `count` rows of `ids`, row by row.
    template <typename Panel, typename Ids, std::size_t N>
    void addRows(Panel& panel, const std::array<Ids, N>& ids, int count,
                 std::initializer_list<RowClick<Panel, Ids>> clicks)
    {
        for (int row = 0; row < count; ++row)
            for (const RowClick<Panel, Ids>& click : clicks)
                add(ids.at(static_cast<std::size_t>(row)).*click.control,
                    [&panel, onClick = click.onClick, row] { (panel.*onClick)(row); });
    }

    // False for a control the table does not hold.
    bool dispatch(int control) const
    {
        const auto found = std::find_if(entries_.begin(), entries_.end(),
                                        [control](const Entry& entry) { return entry.control == control; });
        if (found == entries_.end())
            return false;
        found->onClick();
        return true;
    }

private:
    struct Entry {
        int control;
        std::function<void()> onClick;
    };
    std::vector<Entry> entries_;
};

} // namespace vantel
