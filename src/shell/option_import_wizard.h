#pragma once

#include "settings/option_import.h"

namespace pentrak {

struct Workbench;

// The import wizard opened for this program folder, on step 1.
OptionImportWizard OpenOptionImportWizard(const Workbench& workbench);

// Browses for the options file to import; a chosen file fills the path field.
void BrowseImportedOptionsFile(Workbench& workbench, OptionImportWizard& wizard);

// Browses for another history file; a chosen file fills choice 1's field and selects it.
void BrowseImportedHistoryFile(Workbench& workbench, OptionImportWizard& wizard);

// Next: checks the options file as an import and reads it into the wizard, then shows step 2.
// False, with the wizard left on step 1, once the check or the read has said why.
bool ImportOptionsNext(Workbench& workbench, OptionImportWizard& wizard);

// Finish: applies the history choice, replaces the program's options file with the imported
// options and loads options, history and current project again. True when the wizard closes;
// false, with the wizard left open, once a failure or the history check has been shown.
bool ImportOptionsFinish(Workbench& workbench, OptionImportWizard& wizard);

}  // namespace pentrak
