#pragma once

#include "panels/framework/PanelKinds.h"
#include "registry/ModelCatalogue.h"

#include <span>

namespace vantel {

// The kind table: a row per panel class and per container kind. Adding a
// model is a catalogue row, its kind's row here and their tests.
std::span<const PanelKindRow> KindRows();

// The row of what opens for a model; null for a model no panel opens.
const PanelKindRow* KindRowOf(const ModelRow& model);
const PanelKindRow& KindRowOf(ContainerKind kind);

} // namespace vantel
