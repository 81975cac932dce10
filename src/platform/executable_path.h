#pragma once

#include <string>
#include <string_view>

namespace pentrak {

// The full path of the running program's own file; argv0 is the fallback where the operating
// system cannot say.
std::string ExecutablePath(std::string_view argv0);

}  // namespace pentrak
