#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "settings/program_options.h"
#include "shell/dialog_state.h"

namespace pentrak {

struct Workbench;

// The tabs of the program options dialog, in the order they are shown.
enum class OptionsTab { kApplications, kCommands, kProjects, kGeneration, kDisplay };

// The caption of a tab ("Applications", "Commands", ...).
std::string_view OptionsTabCaption(OptionsTab tab);

// How a field is edited: a text box, a check box (0 or 1), a text box whose text becomes an
// integer on OK, or a choice among the captions of DocumentsDefaultActionCaptions.
enum class OptionsFieldKind { kText, kSwitch, kNumber, kChoice };

// One field of the dialog. Its key in "pentrak.ini" is also the object name of its control.
struct OptionsField {
  std::string_view key;
  std::string_view label;
  OptionsTab tab;
  OptionsFieldKind kind;
};

// Every option the dialog shows, tab by tab, each tab's fields from top to bottom.
std::span<const OptionsField> ProgramOptionsFields();

// The six double-click actions of the documents list, indexed by documents-default-action.
std::span<const std::string_view> DocumentsDefaultActionCaptions();

// What the dialog shows and edits. Until OK the program's options are untouched.
struct ProgramOptionsForm {
  ProgramOptions fields;         // every field as shown; the two typed numbers' fields are unused
  std::string maximum_projects;  // typed text, converted to an integer on OK
  std::string link_cache_hours;  // the same
  OptionsTab tab = OptionsTab::kApplications;
};

// The dialog opened on the current options.
ProgramOptionsForm OpenProgramOptions(const Workbench& workbench);

// The text of a text, number or choice field (a choice gives its index as text).
std::string FieldText(const ProgramOptionsForm& form, std::string_view key);
// Stores typed text; a choice takes its index as text.
void SetFieldText(ProgramOptionsForm& form, std::string_view key, std::string text);

bool FieldChecked(const ProgramOptionsForm& form, std::string_view key);
void SetFieldChecked(ProgramOptionsForm& form, std::string_view key, bool checked);

// Whether a field takes input: the default drive and the content-file filter follow their
// enabling check boxes; every other field always does.
bool FieldEnabled(const ProgramOptionsForm& form, std::string_view key);

// Why a field never takes input on this platform, or "" when it can.
std::string_view FieldUnavailableReason(std::string_view key);

// OK: the two field errors (each stops before anything is written and shows its tab), the
// logging note, the new options written to "pentrak.ini" and read back, the history checked and
// read again with the current project, and last set_border(resizable) for the main window's
// border. A failure to convert or write is reported and keeps the dialog open with the options
// unchanged; a refused or unreadable history has been shown and closes it all the same, since
// the options are saved by then.
DialogState ConfirmProgramOptions(Workbench& workbench, ProgramOptionsForm& form,
                                  const std::function<void(bool resizable)>& set_border);

}  // namespace pentrak
