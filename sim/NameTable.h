#pragma once

#include <optional>
#include <string_view>
#include <utility>

namespace vantel::sim {

// Config words for the values of an enum, as a table of (value, word) pairs.
template <typename Value, typename Table> std::optional<Value> ValueNamed(const Table& table, std::string_view name)
{
    for (const auto& [value, word] : table) {
        if (word == name)
            return value;
    }
    return std::nullopt;
}

// The word of `value`; the table's first word for a value it lacks.
template <typename Value, typename Table> std::string_view NameOf(const Table& table, Value value)
{
    for (const auto& [known, word] : table) {
        if (known == value)
            return word;
    }
    return table.front().second;
}

} // namespace vantel::sim
