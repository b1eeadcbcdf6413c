// vantelctl: the unit list and the units from the command line, for scripts
// and machines without a screen.
#include "cli/CtlMain.h"
#ifdef VANTELCTL_WITH_RENDERER
#include "cli/PlotCommand.h"
#include "graph/LECanvasWidget.h"
#endif

#include <iostream>

int main(int argc, char** argv)
{
#ifdef VANTELCTL_WITH_RENDERER
    vantel::ctl::SetScenePngWriter(vantel::SaveScenePng);
#endif
    return vantel::ctl::RunVantelctl(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
