#pragma once

#include "registry/ModelCatalogue.h"

#include <string>

namespace vantel {

// What the digital panel tells the user when opening the connection or the
// model query at start-up fails. A refused connection (10061) to a unit that
// has operating modes most likely means the unit is in another mode or its
// port is taken, so those units get a hint instead of the bare code.
std::string DigitalConnectFailure(const ModelRow& model, int error);
std::string DigitalIdentityFailure(const ModelRow& model, int error);

inline constexpr const char* kWrongModel = "モデルが違います。";

} // namespace vantel
