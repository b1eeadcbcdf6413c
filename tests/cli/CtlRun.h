#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace vantel::test {

// What one vantelctl command printed and returned.
struct CtlRun {
    int code;
    std::string out;
    std::string err;
};

inline CtlRun RunCtl(int (*command)(const std::vector<std::string>&, std::ostream&, std::ostream&),
                     const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = command(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace vantel::test
