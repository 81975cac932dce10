#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/program_options.h"

namespace pentrak {

class FileSystem;

// The two steps of the option import wizard.
enum class ImportStep { kOptionsFile, kHistoryChoice };

// What becomes of the project history the imported options refer to, numbered as shown.
enum class HistoryChoice {
  kImportNamed = 0,  // copy the history file named by the imported options
  kImportOther = 1,  // copy a history file the user names
  kKeepNamed = 2,    // keep using the history file named by the imported options
  kUseOwn = 3,       // use the program's own history path, copying nothing
};

inline constexpr std::string_view kImportOptionsFilter =
    "Pentrak Program Options|pentrak.ini|All Files|*.*";
inline constexpr std::string_view kImportHistoryFilter =
    "Project History Files (*.ini)|*.ini|All Files|*.*";

// The headings of step 2: over choices 0 and 1, and over choices 2 and 3.
inline constexpr std::string_view kImportHistoryHeading = "Import the Project History File from:";
inline constexpr std::string_view kKeepHistoryHeading =
    "Do not import the Project History File. Reference the file below from Program Options:";

// The wizard's state: its step, the path fields, the imported options and the history choice.
struct OptionImportWizard {
  ImportStep step = ImportStep::kOptionsFile;
  std::string options_path;                // step 1's path field
  ProgramOptions imported;                 // filled from options_path by Next
  std::string own_history_path;            // program folder + "projects.ini"
  std::string other_history_path;          // the path field of choice 1
  std::array<std::string, 4> shown_paths;  // beside each choice; choice 1 shows none
  HistoryChoice recommended = HistoryChoice::kKeepNamed;
  HistoryChoice choice = HistoryChoice::kKeepNamed;
};

// A wizard on step 1 with an empty path field.
OptionImportWizard OpenOptionImport(const std::string& program_folder);

bool NextEnabled(const OptionImportWizard& wizard);
bool BackEnabled(const OptionImportWizard& wizard);
bool FinishEnabled(const OptionImportWizard& wizard);

// What leaving a path field does: trimmed, separators the platform's own, nothing appended.
void LeaveImportPathField(std::string& field);

// The history file the imported options name, with their own default drive applied.
std::string ImportedHistoryFile(const ProgramOptions& imported);

// Choice 0 when the imported history file lies in the folder of the imported options file
// (compared without regard to case or separator), otherwise choice 2.
HistoryChoice RecommendedHistoryChoice(const std::string& options_path,
                                       const ProgramOptions& imported);

// Moves to step 2 once the imported options are in the wizard: the shown paths and the
// recommended choice, selected.
void ShowHistoryChoices(OptionImportWizard& wizard);

// The caption beside a choice: its shown path, marked " (Recommended)" when it is.
std::string ChoiceCaption(const OptionImportWizard& wizard, HistoryChoice choice);

// Back to step 1; the options path is kept.
void GoBack(OptionImportWizard& wizard);

// A history file chosen with the browse button: it fills choice 1's field and selects it.
void ChooseOtherHistoryFile(OptionImportWizard& wizard, std::string path);

// Step 1 of Finish: copies the chosen history file over the program's own (error 10000 when
// that fails, nothing else changed) and returns the imported options pointing at the history
// to use from now on. The wizard itself is left as it was, so a later Finish starts afresh.
ProgramOptions ApplyHistoryChoice(const FileSystem& fs, const OptionImportWizard& wizard);

}  // namespace pentrak
