#include "settings/option_import.h"

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "settings/default_drive.h"
#include "settings/project_properties.h"

namespace pentrak {

namespace {

std::size_t Index(HistoryChoice choice) { return static_cast<std::size_t>(choice); }

bool ImportsAFile(HistoryChoice choice) {
  return choice == HistoryChoice::kImportNamed || choice == HistoryChoice::kImportOther;
}

std::string CopySource(const OptionImportWizard& wizard) {
  return wizard.choice == HistoryChoice::kImportOther
             ? wizard.other_history_path
             : wizard.shown_paths[Index(HistoryChoice::kImportNamed)];
}

Error HistoryCopyError(const std::string& source, const std::string& target, const Error& cause) {
  return Error(kErrorHistoryCopy, "Error copying Project History file " + source + " to " + target +
                                      ". " + cause.description() +
                                      ".\rPlease check the paths and try again.");
}

}  // namespace

OptionImportWizard OpenOptionImport(const std::string& program_folder) {
  OptionImportWizard wizard;
  wizard.own_history_path = JoinPath(program_folder, "projects.ini");
  return wizard;
}

bool NextEnabled(const OptionImportWizard& wizard) {
  return wizard.step == ImportStep::kOptionsFile && !wizard.options_path.empty();
}

bool BackEnabled(const OptionImportWizard& wizard) {
  return wizard.step == ImportStep::kHistoryChoice;
}

bool FinishEnabled(const OptionImportWizard& wizard) {
  if (wizard.step != ImportStep::kHistoryChoice) return false;
  return wizard.choice != HistoryChoice::kImportOther || !wizard.other_history_path.empty();
}

void LeaveImportPathField(std::string& field) { field = NormalizeTypedPath(field, false); }

std::string ImportedHistoryFile(const ProgramOptions& imported) {
  return ApplyDefaultDrive(imported.project_history_file, imported);
}

HistoryChoice RecommendedHistoryChoice(const std::string& options_path,
                                       const ProgramOptions& imported) {
  // Separators are normalized too: a Windows-written file names its folders with "\".
  std::string history_folder = NormalizeSeparators(FolderOfPath(ImportedHistoryFile(imported)));
  std::string options_folder = NormalizeSeparators(FolderOfPath(options_path));
  return EqualsIgnoreCase(history_folder, options_folder) ? HistoryChoice::kImportNamed
                                                          : HistoryChoice::kKeepNamed;
}

void ShowHistoryChoices(OptionImportWizard& wizard) {
  wizard.shown_paths = {ImportedHistoryFile(wizard.imported), "",
                        wizard.imported.project_history_file, wizard.own_history_path};
  wizard.recommended = RecommendedHistoryChoice(wizard.options_path, wizard.imported);
  wizard.choice = wizard.recommended;
  wizard.step = ImportStep::kHistoryChoice;
}

std::string ChoiceCaption(const OptionImportWizard& wizard, HistoryChoice choice) {
  std::string caption = wizard.shown_paths[Index(choice)];
  if (choice == wizard.recommended) caption += " (Recommended)";
  return caption;
}

void GoBack(OptionImportWizard& wizard) { wizard.step = ImportStep::kOptionsFile; }

void ChooseOtherHistoryFile(OptionImportWizard& wizard, std::string path) {
  wizard.other_history_path = std::move(path);
  wizard.choice = HistoryChoice::kImportOther;
}

ProgramOptions ApplyHistoryChoice(const FileSystem& fs, const OptionImportWizard& wizard) {
  if (ImportsAFile(wizard.choice)) {
    std::string source = CopySource(wizard);
    try {
      fs.CopyFile(source, wizard.own_history_path);
    } catch (const Error& cause) {
      throw HistoryCopyError(source, wizard.own_history_path, cause);
    }
  }
  ProgramOptions options = wizard.imported;
  if (wizard.choice != HistoryChoice::kKeepNamed) {
    options.project_history_file = wizard.own_history_path;
  }
  return options;
}

}  // namespace pentrak
