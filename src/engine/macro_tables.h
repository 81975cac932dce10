#pragma once

namespace pentrak {

// The macro tables of the four scopes, the loaded counts and the call-parameter list.
struct MacroTables {};

}  // namespace pentrak
