#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/project_settings.h"

namespace pentrak {

class FileSystem;
class UserInterface;

// The tabs of the project properties dialog, in the order they are shown.
enum class PropertiesTab {
  kGeneral,
  kMacros,
  kHtmlOptimization,
  kMemoryManagement,
  kAdvanced,
  kPublish,
};

// The caption of a tab ("General", "Macros", ...).
std::string_view TabCaption(PropertiesTab tab);

// The three creation switches shown for a new project; all ticked when the dialog opens.
struct SampleProjectSwitches {
  bool create_samples = true;
  bool create_definition = true;
  bool create_roots = true;
};

// The captions of the creation switches, in the order of SampleProjectSwitches.
inline constexpr std::array<std::string_view, 3> kSampleSwitchCaptions = {
    "Create sample Templates and Content Files",
    "Create sample Project Definition File",
    "Create Root Paths for Documents and Content Files if they don't exist",
};

// The choices of optimization-status (0 to 2) and of optimization-level (1 and 2, in order).
inline constexpr std::array<std::string_view, 3> kOptimizationStatusCaptions = {
    "No Optimization",
    "Optimize All Documents Except Those Ending With:",
    "Optimize Documents Using the Flags in the Project Definition File Only",
};
inline constexpr std::array<std::string_view, 2> kOptimizationLevelCaptions = {
    "Remove Leading White Space on Each Line",
    "Remove Leading White Space and Remove Line Breaks",
};

// The choices of publish-method (0 to 2).
inline constexpr std::array<std::string_view, 3> kPublishMethodCaptions = {
    "Nowhere (the Site Is Not Published)",
    "A Local Folder (a Mounted Share, a Checkout)",
    "An SFTP Server",
};

// The fields typed as text that become integers on confirmation.
struct LimitFields {
  std::string max_nested_macros;
  std::string max_folders;
  std::string max_globals;
  std::string max_docs;
  std::string max_folder_globals;
  std::string max_content_files;
  std::string max_global_macros;
  std::string max_folder_global_macros;
  std::string max_content_file_macros;
  std::string max_project_macros;
  std::string max_parameters;
};

// The text of the limit field stored under a project file key ("max-folders", ...); nothing
// for any other key.
std::string* LimitFieldText(LimitFields& limits, std::string_view key);
const std::string* LimitFieldText(const LimitFields& limits, std::string_view key);

// The example texts shown beside the tags, rebuilt whenever a tag changes.
struct SampleTexts {
  std::string macro_definition;
  std::string wildcard;
  std::string parent_reference;
  std::string concatenate;
  std::string single_quote_escape;
  std::string non_blank_delete;
  std::string required;
  std::string conditional_start;
  std::string conditional_else;
  std::string conditional_end;
};

// Everything the project properties dialog shows and edits. The working copy holds every
// field but the integers of LimitFields, which it receives on confirmation; the current
// project record is untouched until then.
struct ProjectPropertiesForm {
  bool new_project_mode = false;
  ProjectSettings working;
  LimitFields limits;
  SampleProjectSwitches switches;
  SampleTexts samples;
  PropertiesTab tab = PropertiesTab::kGeneral;
};

// A failed rule: its message (without the common lead-in) and the tab that holds the field.
struct PropertiesFieldError {
  std::string message;
  PropertiesTab tab;
  // Not 0: a failed conversion, shown through the shared error report with this number.
  int error_number = 0;
};

// A form editing a copy of the current project.
ProjectPropertiesForm MakeCurrentProjectForm(const ProjectSettings& current);

// A form for a new project: the new-project defaults and all three creation switches ticked.
ProjectPropertiesForm MakeNewProjectForm();

// The caption of the confirm button: "Create" for a new project, "OK" otherwise.
std::string_view ConfirmCaption(const ProjectPropertiesForm& form);

// The fields that hold paths; folder fields end with a separator once left.
enum class PathField {
  kDocumentRoot,
  kContentRoot,
  kTemporaryFilesPath,
  kCustomProjectPath,
  kDefinitionFile,
  kProjectMacroFile,
  kPublishFolder,
  kPublishKeyFile,
};

// A typed path as a field keeps it: trimmed of blanks, every separator the platform's own, and
// for a folder a separator at the end unless the text is empty.
std::string NormalizeTypedPath(std::string_view text, bool folder);

// What leaving a path field does: normalizes it, and an empty content or document root takes
// the value of the other root just left.
void LeavePathField(ProjectPropertiesForm& form, PathField field);

// Activating the optimize exclude list field selects "Optimize All Documents Except ...".
void ActivateOptimizeExcludeList(ProjectPropertiesForm& form);

// The tags of the dialog, for ChangeTag.
enum class TagField {
  kMacroStart,
  kMacroEnd,
  kParameterStart,
  kParameterEnd,
  kWildcard,
  kNonBlankDelete,
  kParentReference,
  kSingleQuoteEscape,
  kConcatenate,
  kConditionalStart,
  kConditionalEnd,
  kRequired,
  kLineContinuation,
};

// Stores a typed tag and refreshes what depends on it: the else tag and the example texts.
void ChangeTag(ProjectPropertiesForm& form, TagField field, std::string value);

// The conditional else tag is the end tag followed by the start tag ("}" "{" gives "}{").
void SetTagConditionalElse(MacroTags& tags);

// Rebuilds the example macro definition beside the tags.
void ShowSampleMacroDefinition(ProjectPropertiesForm& form);

// Rebuilds the examples beside the option and conditional tags.
void ShowSampleAdvancedMacros(ProjectPropertiesForm& form);

// True when one of the twelve checked tags occurs in another (an empty tag never counts).
bool TagsOverlap(const MacroTags& tags);

// The first of the dialog's rules that the working copy breaks, in the order they are checked.
std::optional<PropertiesFieldError> ValidateProjectProperties(const ProjectSettings& working);

// Converts the limit fields into the working copy. A field that is not an integer throws the
// conversion error (working copy unchanged); a value below 1 is a field error of its own.
std::optional<PropertiesFieldError> ApplyLimitFields(const LimitFields& limits,
                                                     ProjectSettings& working);

// The three "Reset Defaults" commands; each fills only the dialog's fields.
void ResetMacroTags(ProjectPropertiesForm& form);
void ResetMemoryManagement(ProjectPropertiesForm& form);
void ResetHtmlOptimization(ProjectPropertiesForm& form);

// Copies the new-project samples from samples_folder into the working copy's content root,
// creating the roots first when asked; an existing target is never overwritten. An empty
// definition file becomes "project.txt" when the definition is copied. Any failure throws
// error 10019.
void CreateSampleProject(const FileSystem& fs, const std::string& samples_folder,
                         ProjectSettings& working, const SampleProjectSwitches& switches);

// The file name proposed for a new project: its name + ".web", under the content root if set.
std::string ProposedProjectFileName(const ProjectSettings& working);

// Asks for the new project's file with a save dialog for "*.web" files; "" when cancelled.
std::string GetNewProjectFile(UserInterface& ui, std::string_view proposed);

}  // namespace pentrak
