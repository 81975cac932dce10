#pragma once

#include <iosfwd>

namespace pentrak::cli {

// Runs pentrak-cli with these arguments; returns the exit status (0 completed without errors,
// 1 completed with errors or halted, 2 usage or start-up failure).
int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err, std::istream& in);

}  // namespace pentrak::cli
