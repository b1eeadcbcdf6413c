#pragma once

#include "SimUnit.h"
#include "registry/UnitList.h"

#include <memory>

namespace vantel::test {

// Starts a simulated unit for catalogue row `config.row` and lists it as
// "Tank" at its loopback ports.
inline std::unique_ptr<sim::SimUnit> StartListedUnit(UnitList& list, const sim::UnitConfig& config)
{
    auto unit = std::make_unique<sim::SimUnit>(config);
    unit->start();
    UnitConnection connection;
    connection.name = "Tank";
    connection.host = "127.0.0.1";
    connection.controlPort = unit->port();
    connection.secondPort = unit->secondPort();
    connection.modelRow = config.row;
    list.Add(-1, connection);
    return unit;
}

} // namespace vantel::test
