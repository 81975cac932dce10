#pragma once

namespace pentrak {

// The list of known projects with the current one.
struct ProjectHistory {};

}  // namespace pentrak
