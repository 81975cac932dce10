#pragma once

#include "generation/generation_run.h"

namespace pentrak {

struct Workbench;

// The records of the application that a generation run works on.
GenerationContext GenerationContextOf(Workbench& workbench);

}  // namespace pentrak
