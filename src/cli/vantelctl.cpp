// vantelctl: the unit list and the units from the command line, for scripts
// and machines without a screen.
#include "cli/CtlMain.h"

#include <iostream>

int main(int argc, char** argv)
{
    return vantel::ctl::RunVantelctl(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
