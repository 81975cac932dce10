#include "shell/option_import_wizard.h"

#include <optional>

#include "platform/error.h"
#include "settings/program_options_file.h"
#include "shell/history_commands.h"
#include "shell/project_loading.h"
#include "shell/workbench.h"

namespace pentrak {

OptionImportWizard OpenOptionImportWizard(const Workbench& workbench) {
  return OpenOptionImport(workbench.program_folder);
}

void BrowseImportedOptionsFile(Workbench& workbench, OptionImportWizard& wizard) {
  std::optional<std::string> chosen =
      workbench.ui.ChooseOpenFile("Import Program Options", kImportOptionsFilter, "pentrak.ini");
  if (chosen && !chosen->empty()) wizard.options_path = *chosen;
}

void BrowseImportedHistoryFile(Workbench& workbench, OptionImportWizard& wizard) {
  std::optional<std::string> chosen =
      workbench.ui.ChooseOpenFile("Import Project History", kImportHistoryFilter, "projects.ini");
  if (chosen && !chosen->empty()) ChooseOtherHistoryFile(wizard, *chosen);
}

bool ImportOptionsNext(Workbench& workbench, OptionImportWizard& wizard) {
  if (!NextEnabled(wizard)) return false;
  // The imported options go into the wizard's own record: until Finish the program's options,
  // history and files stay as they are.
  ProgramOptions imported;
  if (!CheckProgramOptionsFile(workbench.ui, workbench.fs, workbench.program_folder,
                               wizard.options_path, true, imported)) {
    return false;
  }
  try {
    ReadProgramOptions(workbench.fs, workbench.program_folder, wizard.options_path, imported);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return false;
  }
  wizard.imported = std::move(imported);
  ShowHistoryChoices(wizard);
  return true;
}

bool ImportOptionsFinish(Workbench& workbench, OptionImportWizard& wizard) {
  if (!FinishEnabled(wizard)) return false;
  try {
    ProgramOptions options = ApplyHistoryChoice(workbench.fs, wizard);
    WriteProgramOptions(workbench.fs, workbench.program_folder, "", options);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return false;
  }
  return LoadProgramOptions(workbench) && CheckAndReloadProjectHistory(workbench, true);
}

}  // namespace pentrak
