#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace pentrak {

class Clock;
class FileSystem;
class UserInterface;
struct DisplaySettings;
struct MacroTables;
struct ProgramOptions;
struct ProjectDefinition;
struct ProjectSettings;
struct WorkFiles;

// The main window's flags around a run: set while a run is in progress, and the stop request
// that the Stop command sets and the run tests at the head of its loops. The stop request
// stays set after a stopped run until the next run starts.
struct GenerationState {
  bool generating = false;
  bool stop_requested = false;
};

// Scopes of a run.
inline constexpr short kScopeProject = 1;
inline constexpr short kScopeFolder = 2;
inline constexpr short kScopeDocument = 3;

// How a run ended.
enum class RunEnd { kCompleted, kStopped, kHalted };

// The scope, switches, counters and times of one run.
struct GenerationRun {
  short scope = kScopeProject;
  int folder_index = -1;
  int document_index = -1;
  bool ignore_generation_errors = false;
  bool ignore_missing_file_errors = false;
  bool create_all_subdirectories = false;
  std::time_t start_time = 0;
  std::time_t end_time = 0;
  // Counters are wider than the 16 bits the log was designed for, so that a large project
  // never wraps them.
  int generated = 0;
  int current = 0;
  int read_only = 0;
  int statics = 0;
  int no_path = 0;  // never increased; reported as 0
  int total = 0;
  int errors = 0;
  int missing_files = 0;
  int warnings = 0;
  std::string last_error_description;
  RunEnd end = RunEnd::kCompleted;
};

// Picks the documents a project run generates, once the run holds its definition, and hears
// which of them it generated. A chosen document is generated whatever its time stamps say and
// is left untouched when it comes out the same; the others are passed over as documents out of
// scope are, and a folder without a chosen document is not visited.
class DocumentPicker {
 public:
  virtual ~DocumentPicker() = default;
  // One flag per document slot of each folder, true for the documents to generate.
  virtual std::vector<std::vector<bool>> Choose(const ProjectDefinition& definition) = 0;
  // The document was written, or found the same as the one in place.
  virtual void Generated(int folder_index, int document_index) = 0;
};

// Everything a run reads and writes: the program-wide records it needs, the seam, and the
// main window's flags. refresh_display, when given, redraws the main window's project after a
// run (it re-reads the definition itself) while the program option post-generate-refresh is on.
struct GenerationContext {
  UserInterface& ui;
  const FileSystem& fs;
  const Clock& clock;
  const ProgramOptions& options;
  const DisplaySettings& display;
  const ProjectSettings& project;
  ProjectDefinition& definition;
  MacroTables& macros;
  WorkFiles& work_files;
  GenerationState& state;
  std::function<void()> refresh_display;
  // False in a front end without a window: nothing shows the definition after a run, so it is
  // not read again (a faulty definition would only be reported a second time).
  bool shows_definition = true;
  // When given, the documents a project run generates (see DocumentPicker).
  DocumentPicker* picker = nullptr;
  // True when the definition tables already hold this project's definition as a run reads it
  // (paths resolved) and nothing has changed it since: the run does not read it again.
  bool definition_current = false;
};

// Generates the whole project, one folder (folder_index) or one document (folder_index,
// document_index): every decision, question, counter, log line and status line of a run.
// Errors never escape: a halted run reports through ReportError and ends in the log.
GenerationRun RunGeneration(GenerationContext& context, short scope, int folder_index = -1,
                            int document_index = -1);

// Marks a run as started: in progress, stop request cleared.
void EnterGeneratingState(GenerationState& state);

// Marks the run as over and puts the definition back as the main window shows it: the
// refresh when post-generate-refresh is on, else a display read of the definition.
void LeaveGeneratingState(GenerationContext& context);

// The one-line status summary of a completed or stopped run.
std::string RunSummary(const GenerationRun& run, bool logging_enabled);

// Waits tenths of a second while servicing user events; true when the user asked to stop.
bool Delay(UserInterface& ui, const Clock& clock, int tenths);

}  // namespace pentrak
