#include "shell/generation_commands.h"

#include "shell/workbench.h"

namespace pentrak {

GenerationContext GenerationContextOf(Workbench& workbench) {
  return GenerationContext{workbench.ui,
                           workbench.fs,
                           workbench.clock,
                           workbench.options,
                           workbench.display,
                           workbench.project,
                           workbench.definition,
                           workbench.macros,
                           workbench.work_files,
                           workbench.generation,
                           {},
                           true};
}

}  // namespace pentrak
