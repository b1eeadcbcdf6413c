#pragma once

#include "registry/UnitList.h"

#include <gtest/gtest.h>

#include <string>

namespace vantel::test {

// Appends a unit on 127.0.0.1:`port` of catalogue row `row` to the list file
// and saves it; returns the new record for further changes before the next save.
inline UnitRecord& AddLoopbackUnit(UnitList& list, const std::string& name, int row, int port)
{
    list.Load();
    UnitConnection unit;
    unit.name = name;
    unit.host = "127.0.0.1";
    unit.controlPort = port;
    unit.modelRow = row;
    EXPECT_EQ(list.Add(-1, unit), 0);
    EXPECT_EQ(list.Save(), 0);
    return list.at(list.count() - 1);
}

} // namespace vantel::test
