#pragma once

namespace pentrak {

// The work folder's files and the log state.
struct WorkFiles {};

}  // namespace pentrak
