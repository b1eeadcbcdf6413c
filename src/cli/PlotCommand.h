#pragma once

#include "cli/CtlCommand.h"
#include "graph/CanvasScene.h"

#include <functional>
#include <string>

namespace vantel::ctl {

// Writes a drawn canvas of width x height pixels to a PNG file; false when
// it could not. The program installs one (the canvas renderer, offscreen):
// the command itself needs no window system.
using ScenePngWriter = std::function<bool(const CanvasScene& scene, int width, int height, const std::string& path)>;
void SetScenePngWriter(ScenePngWriter writer);

// vantelctl plot: draws CSV logs as the log viewer shows them, into a PNG.
int RunPlot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CtlCommand kPlotCommand;

} // namespace vantel::ctl
