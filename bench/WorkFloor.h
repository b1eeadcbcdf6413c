#pragma once

#include "registry/UnitList.h"

#include <chrono>
#include <filesystem>

namespace vantel::bench {

// The work of logging every unit of `list` that no design of the program can
// leave out, done the cheapest way: one thread that every 100 ms drops stale
// input and sends each unit its input read, takes every reply, and appends a
// line to each unit's own file in `folder`, opening, locking and closing it as
// a logged line does. No hand-off between threads and one timer wake a
// period. Returns its CPU seconds, or a negative value when a unit cannot be
// reached.
double WorkFloorCpuSeconds(const UnitList& list, const std::filesystem::path& folder, std::chrono::seconds duration);

} // namespace vantel::bench
