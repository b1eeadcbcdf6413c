#pragma once

#include "SimUnit.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantel::test {

// How many commands starting with `letters` the unit has received.
inline int CountCommands(const sim::SimUnit& unit, std::string_view letters)
{
    int count = 0;
    for (const auto& command : unit.receivedCommands())
        if (command.bytes.size() >= 2 && command.bytes[0] == letters[0] && command.bytes[1] == letters[1])
            ++count;
    return count;
}

// The two command letters of every command received, in order.
inline std::vector<std::string> CommandLetters(const sim::SimUnit& unit)
{
    std::vector<std::string> letters;
    for (const auto& command : unit.receivedCommands())
        if (command.bytes.size() >= 2)
            letters.emplace_back(command.bytes.begin(), command.bytes.begin() + 2);
    return letters;
}

} // namespace vantel::test
