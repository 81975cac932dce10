#include "generation/generation_run.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "engine/content_file.h"
#include "engine/document_generator.h"
#include "engine/expansion.h"
#include "engine/macro_tables.h"
#include "engine/tag_parser.h"
#include "generation/up_to_date.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/file_times.h"
#include "platform/leftover_sweep.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "platform/user_interface.h"
#include "project/definition.h"
#include "project/definition_file.h"
#include "project/path_resolution.h"
#include "project/project_structure.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

namespace {

constexpr char kTab = '\t';
constexpr std::string_view kCr = "\r";

// A table index as the log's header lines show it: at least four digits.
std::string IndexText(int index) { return PadLeft(std::to_string(index), "0", 4); }

std::string ErrorsLogLine(const GenerationRun& run) {
  if (run.missing_files == 0) return "ERRORS:   " + std::to_string(run.errors);
  return "ERRORS:   " + std::to_string(run.errors + run.missing_files) + "  (" +
         Plural(run.missing_files, "missing file") + ")";
}

bool HasProblems(const GenerationRun& run) {
  return run.warnings >= 1 || run.errors >= 1 || run.missing_files >= 1;
}

// "Generated 6 of 10 documents with 2 errors (1 missing file) and 1 warning": the part that a
// completed and a halted run share.
std::string SummaryHead(const GenerationRun& run) {
  std::string text =
      "Generated " + std::to_string(run.generated) + " of " + Plural(run.total, "document");
  if (HasProblems(run)) text += " with ";
  if (run.errors + run.missing_files > 0) {
    text += Plural(run.errors + run.missing_files, "error");
    if (run.missing_files > 0) text += " (" + Plural(run.missing_files, "missing file") + ")";
    if (run.warnings > 0) text += " and ";
  }
  if (run.warnings > 0) text += Plural(run.warnings, "warning");
  return text;
}

// Runs one generation from its start line to its summary.
class GenerationRunner {
 public:
  GenerationRunner(GenerationContext& context, GenerationRun& run)
      : context_(context),
        project_(context.project),
        definition_(context.definition),
        log_{context.work_files, context.fs, context.ui, context.options},
        loader_{context.project, context.fs, log_, context.macros},
        expansion_{context.project, context.definition, context.macros, context.clock},
        generator_{expansion_,     context.fs,
                   log_,           context.display.modified_only != 0 || context.picker != nullptr,
                   &spare_file_,   &pass_files_,
                   &last_template_},
        source_times_(context.fs),
        up_to_date_{context.project, context.definition, context.fs, source_times_, log_},
        run_(run) {}

  void Run();

 private:
  void Start();
  void RemoveSpareFile();
  void LoadProjectMacroFile();
  void LoadGlobals();
  void FolderLoop();
  void Folder(int folder_index);
  void DocumentLoop(int folder_index);
  void ProcessDocument(int folder_index, int document_index);
  bool SubdirectoryReady(const std::string& path);
  void LoadDocumentMacros(const Document& document);
  void LoadContentFiles(short scope, const std::vector<std::string>& files, int limit,
                        short& loaded);
  void Generate(int folder_index, int document_index);
  void GenerationError(const std::string& path, const std::string& description);
  void ApplyLoadStatus(short status, const std::string& path);
  void MissingFile(const std::string& path);
  bool AskToContinue(std::string_view title, std::string text, bool& ignore);
  [[noreturn]] void Halt(const std::string& description);
  void Finish();
  void ErrorPath(const Error& error);
  bool InScope(int folder_index, int document_index) const;
  bool Chosen(int folder_index, int document_index) const;
  bool AnyChosen(int folder_index) const;
  int DocumentsInScope() const;
  void Log(std::string_view text) { WriteLog(log_, text); }
  void LogDetail(std::string_view text);
  std::string RunLine(std::string_view label, std::time_t time) const;

  GenerationContext& context_;
  const ProjectSettings& project_;
  ProjectDefinition& definition_;
  LogContext log_;
  ContentLoadContext loader_;
  ExpansionContext expansion_;
  DocumentGeneratorContext generator_;
  FileTimes source_times_;  // what this run has learnt of its sources' time stamps
  UpToDateContext up_to_date_;
  GenerationRun& run_;
  std::string spare_file_;               // the old contents of the document written last
  std::vector<ScratchFile> pass_files_;  // the generator's work files, held open for the run
  TemplateCache last_template_;
  // The document folder known to exist: documents come folder by folder.
  std::string ready_folder_;
  // Document folders already cleared of the temporary files of an earlier, killed run.
  LeftoverSweep sweep_;
  std::vector<int> folder_order_;
  std::vector<std::vector<bool>> chosen_;  // by the context's picker, when it has one
  int in_scope_ = 0;
  int done_ = 0;
};

// The start and end lines: label, TAB, project name, two TABs, date-time.
std::string GenerationRunner::RunLine(std::string_view label, std::time_t time) const {
  std::string line(label);
  line += kTab;
  line += project_.name;
  line += kTab;
  line += kTab;
  line += Clock::GeneralText(time);
  return line;
}

void GenerationRunner::LogDetail(std::string_view text) {
  std::string line(kLogIndent);
  line.append(text);
  Log(line);
}

void GenerationRunner::Run() {
  run_.ignore_generation_errors = context_.options.ignore_generation_errors == 1;
  run_.ignore_missing_file_errors = context_.options.ignore_missing_file_errors == 1;
  run_.create_all_subdirectories = false;
  context_.ui.ClearStatus();
  EnterGeneratingState(context_.state);
  WorkFilesHold hold(log_);
  try {
    Start();
    FolderLoop();
    Finish();
  } catch (const Error& error) {
    ErrorPath(error);
  } catch (const std::exception& error) {
    ErrorPath(Error(kErrorHalt, error.what()));
  }
  RemoveSpareFile();
}

void GenerationRunner::RemoveSpareFile() {
  if (spare_file_.empty()) return;
  try {
    context_.fs.RemoveFile(spare_file_);
  } catch (const Error&) {
    // Only a leftover copy of an old document; nothing the run depends on.
  }
}

void GenerationRunner::Start() {
  run_.start_time = context_.clock.Now();
  std::string line = RunLine("Starting Project: ", run_.start_time);
  context_.ui.AddStatusLine(line);
  WriteLog(log_, line, true);
  Log("");
  WriteGeneratedFilesList(log_, "", true, false);
  if (!context_.definition_current) {
    ReadDefinition(
        DefinitionContext{context_.fs, context_.ui, project_, context_.options, definition_}, true,
        false);
  }
  // Before any source is read, so that what the picker learns of them is never newer than what
  // the documents read.
  if (context_.picker != nullptr && run_.scope == kScopeProject) {
    chosen_ = context_.picker->Choose(definition_);
  }
  ClearCallParameters(context_.macros);
  ClearSwitches project_wide;
  project_wide.globals = true;
  project_wide.project_macros = true;
  ClearMacroTables(context_.macros, project_wide);
  LoadProjectMacroFile();
  LoadGlobals();
  folder_order_ = FolderDisplayOrder(definition_, context_.options.sort_folders == 1);
  in_scope_ = DocumentsInScope();
  // Each document brings its own content files; the shared ones are few.
  if (context_.display.modified_only == 1 && context_.picker == nullptr) {
    source_times_.Reserve(static_cast<std::size_t>(in_scope_) * 2 + 64);
  }
}

void GenerationRunner::LoadProjectMacroFile() {
  if (project_.project_macro_file.empty()) return;
  Log("----:---- Project");
  std::string path = ResolveProjectPath(PathContext{context_.fs, project_, context_.options},
                                        project_.project_macro_file, true, false);
  ApplyLoadStatus(LoadContentFile(loader_, kProjectMacroScope, path, 0, true, true), path);
  context_.macros.project_macro_file_loaded = true;
  Log("");
}

void GenerationRunner::LoadGlobals() {
  Log("----:---- Globals");
  LoadContentFiles(kGlobalScope, definition_.global_content_files, project_.max_globals,
                   context_.macros.globals_loaded);
  Log("");
}

void GenerationRunner::ApplyLoadStatus(short status, const std::string& path) {
  if (status == kLoadWarnings) ++run_.warnings;
  if (status == kLoadMissingFile) MissingFile(path);
}

void GenerationRunner::MissingFile(const std::string& path) {
  ++run_.missing_files;
  LogDetail("ERROR: Could not open file at " + path + ".");
  if (run_.ignore_missing_file_errors) return;
  std::string text = "Error opening file: " + path + ".";
  text.append(kCr).append(kCr);
  if (AskToContinue("File Access Error", text, run_.ignore_missing_file_errors)) return;
  std::string halt = "Error opening file: " + path + ".";
  halt.append(kCrLf).append(kCrLf);
  Halt(halt + "Project generation halted.");
}

// Asks Yes, Yes to All or No about an error; true to go on. Yes to All sets ignore, so the
// question is not asked again in this run. Closing the box answers No.
bool GenerationRunner::AskToContinue(std::string_view title, std::string text, bool& ignore) {
  text += "Would you like to ignore this error and continue generating the Project?";
  FlushWorkFiles(log_);
  FourButtonAnswer answer = context_.ui.AskFourButtons(
      title, text, FourButtons{true, true, true, false}, FourButtonAnswer::kNo);
  if (answer == FourButtonAnswer::kYesToAll) ignore = true;
  return answer == FourButtonAnswer::kYes || answer == FourButtonAnswer::kYesToAll;
}

void GenerationRunner::Halt(const std::string& description) {
  throw Error(kErrorHalt, description);
}

bool GenerationRunner::InScope(int folder_index, int document_index) const {
  switch (run_.scope) {
    case kScopeProject:
      return context_.picker == nullptr || Chosen(folder_index, document_index);
    case kScopeFolder:
      return folder_index == run_.folder_index;
    default:
      return folder_index == run_.folder_index && document_index == run_.document_index;
  }
}

bool GenerationRunner::Chosen(int folder_index, int document_index) const {
  if (folder_index >= static_cast<int>(chosen_.size())) return false;
  const std::vector<bool>& documents = chosen_[folder_index];
  return document_index < static_cast<int>(documents.size()) && documents[document_index];
}

bool GenerationRunner::AnyChosen(int folder_index) const {
  if (folder_index >= static_cast<int>(chosen_.size())) return false;
  const std::vector<bool>& documents = chosen_[folder_index];
  return std::find(documents.begin(), documents.end(), true) != documents.end();
}

// The documents the loops will look at, for the progress report.
int GenerationRunner::DocumentsInScope() const {
  int count = 0;
  for (int p = 0; p < project_.max_folders && p < static_cast<int>(folder_order_.size()); ++p) {
    const pentrak::Folder& folder = definition_.folders[folder_order_[p]];
    if (folder.name.empty()) break;
    // A few picked documents of a large project are counted without a look at all the others.
    if (context_.picker != nullptr && !AnyChosen(folder_order_[p])) continue;
    for (int d = 0; d < project_.max_docs && d < static_cast<int>(folder.documents.size()); ++d) {
      if (folder.documents[d].path.empty()) break;
      if (InScope(folder_order_[p], d)) ++count;
    }
  }
  return count;
}

void GenerationRunner::FolderLoop() {
  for (int p = 0;; ++p) {
    if (context_.state.stop_requested || p >= project_.max_folders ||
        p >= static_cast<int>(folder_order_.size())) {
      return;
    }
    int folder_index = folder_order_[p];
    if (definition_.folders[folder_index].name.empty()) return;
    if (run_.scope != kScopeProject && folder_index != run_.folder_index) continue;
    if (run_.scope == kScopeProject && context_.picker != nullptr && !AnyChosen(folder_index)) {
      continue;
    }
    Folder(folder_index);
  }
}

void GenerationRunner::Folder(int folder_index) {
  const pentrak::Folder& folder = definition_.folders[folder_index];
  Log(IndexText(folder_index) + ":---- " + folder.name);
  ClearSwitches folder_tables;
  folder_tables.folder_globals = true;
  ClearMacroTables(context_.macros, folder_tables);
  LoadContentFiles(kFolderGlobalScope, folder.content_files, project_.max_folder_globals,
                   context_.macros.folder_globals_loaded);
  Log("");
  DocumentLoop(folder_index);
}

void GenerationRunner::DocumentLoop(int folder_index) {
  const pentrak::Folder& folder = definition_.folders[folder_index];
  for (int d = 0; !context_.state.stop_requested && d < project_.max_docs &&
                  d < static_cast<int>(folder.documents.size());
       ++d) {
    const Document& document = folder.documents[d];
    if (document.path.empty()) return;
    // The log is complete on disk wherever the user can look at it or stop the run.
    FlushWorkFiles(log_);
    if (context_.ui.ServiceEvents()) context_.state.stop_requested = true;
    if (!InScope(folder_index, d)) continue;
    Log(IndexText(folder_index) + ":" + IndexText(d) + " " + document.path);
    ++run_.total;
    ProcessDocument(folder_index, d);
    Log("");
    context_.ui.ShowProgress(++done_, in_scope_);
  }
}

void GenerationRunner::ProcessDocument(int folder_index, int document_index) {
  const Document& document = definition_.folders[folder_index].documents[document_index];
  const std::string& path = document.path;
  // Every folder the run visits, also where nothing is written: a killed run's leftovers would
  // otherwise wait there for a document that changes.
  sweep_.Visit(context_.fs, path);
  if (document.template_path.empty()) {
    ++run_.statics;
    LogDetail(">Static document, generation skipped");
    return;
  }
  if (context_.display.modified_only == 1 && context_.picker == nullptr) {
    context_.ui.AddStatusLine(std::string("Comparing:") + kTab + path);
    if (!CheckUpToDate(up_to_date_, folder_index, document_index)) {
      ++run_.current;
      return;
    }
  }
  if (context_.fs.IsReadOnly(path)) {
    if (context_.display.skip_read_only == 1) {
      ++run_.read_only;
      LogDetail(">Read-only document. Generation skipped.");
      return;
    }
    ++run_.errors;
    LogDetail("ERROR: Read-only document. Project generation halted.");
    std::string halt = "Error processing file: " + path + ".";
    halt.append(kCrLf).append("This file may be a read-only file.").append(kCrLf);
    Halt(halt + "Project generation halted.");
  }
  if (!SubdirectoryReady(path)) return;
  LoadDocumentMacros(document);
  Generate(folder_index, document_index);
}

// Creates the document's folder when it is missing and the switches or the user allow it;
// false when the document is skipped.
bool GenerationRunner::SubdirectoryReady(const std::string& path) {
  std::string folder = FolderOfPath(path);
  if (folder == ready_folder_ && !folder.empty()) return true;
  if (context_.fs.FolderExists(folder)) {
    ready_folder_ = folder;
    return true;
  }
  if (context_.display.create_subdirectories == 1 || run_.create_all_subdirectories) {
    context_.fs.CreateFolderPath(folder);
    return true;
  }
  FlushWorkFiles(log_);
  FourButtonAnswer answer = context_.ui.AskFourButtons(
      "Subdirectory Does Not Exist",
      "The subdirectory " + folder +
          " does not exist. Would you like Pentrak to create this subdirectory?",
      FourButtons{}, FourButtonAnswer::kCancel);
  switch (answer) {
    case FourButtonAnswer::kYesToAll:
      run_.create_all_subdirectories = true;
      [[fallthrough]];
    case FourButtonAnswer::kYes:
      context_.fs.CreateFolderPath(folder);
      return true;
    case FourButtonAnswer::kNo:
      ++run_.warnings;
      LogDetail("WARNING: Subdirectory does not exist. Generation skipped.");
      return false;
    case FourButtonAnswer::kCancel:
      break;
  }
  ++run_.errors;
  std::string halt = "Error processing file: " + path + ".";
  halt.append(kCrLf).append("Subdirectory does not exist.").append(kCrLf);
  Halt(halt + "Project generation halted.");
}

void GenerationRunner::LoadDocumentMacros(const Document& document) {
  ClearSwitches document_tables;
  document_tables.content_files = true;
  ClearMacroTables(context_.macros, document_tables);
  LoadContentFiles(kContentFileScope, document.content_files, project_.max_content_files,
                   context_.macros.content_files_loaded);
}

// Loads a scope's files, slot by slot up to the limit or the first empty slot, counting each.
void GenerationRunner::LoadContentFiles(short scope, const std::vector<std::string>& files,
                                        int limit, short& loaded) {
  for (int i = 0; i < limit && i < static_cast<int>(files.size()); ++i) {
    if (files[i].empty()) break;
    ApplyLoadStatus(LoadContentFile(loader_, scope, files[i], i, true, true), files[i]);
    ++loaded;
  }
}

void GenerationRunner::Generate(int folder_index, int document_index) {
  const std::string& path = definition_.folders[folder_index].documents[document_index].path;
  context_.ui.AddStatusLine(std::string("Processing:") + kTab + path);
  short outcome;
  try {
    outcome = GenerateDocument(generator_, folder_index, document_index);
    // A document may also serve as another one's source.
    source_times_.Forget(path);
    if (path == last_template_.path) last_template_ = {};
  } catch (const Error& error) {
    GenerationError(path, error.description());
    return;
  }
  if (outcome == kDocumentGeneratedWithWarnings) ++run_.warnings;
  if (context_.picker != nullptr) context_.picker->Generated(folder_index, document_index);
  if (outcome == kDocumentUnchanged) {
    ++run_.current;
    return;
  }
  WriteGeneratedFilesList(log_, path, false, true);
  ++run_.generated;
}

void GenerationRunner::GenerationError(const std::string& path, const std::string& description) {
  run_.last_error_description = description;
  ++run_.errors;
  LogDetail("ERROR: " + description);
  if (run_.ignore_generation_errors) return;
  std::string text = "Error processing file: " + path + ".";
  text.append(kCr).append(description).append(kCr);
  if (AskToContinue("Project Generation Error", text, run_.ignore_generation_errors)) return;
  std::string halt = "Error processing file: " + path + ".";
  halt.append(kCrLf).append(description).append(kCrLf);
  Halt(halt + "Project generation halted.");
}

void GenerationRunner::Finish() {
  run_.end_time = context_.clock.Now();
  run_.end = context_.state.stop_requested ? RunEnd::kStopped : RunEnd::kCompleted;
  std::string line = RunLine(
      run_.end == RunEnd::kStopped ? "Stopped Project:  " : "Completed Project:", run_.end_time);
  Log("");
  Log(line);
  context_.ui.AddStatusLine(line);
  context_.ui.AddStatusLine(RunSummary(run_, context_.options.enable_logging == 1));

  Log("");
  if (run_.errors + run_.missing_files > 0) Log(ErrorsLogLine(run_));
  if (run_.warnings > 0) Log("WARNINGS: " + std::to_string(run_.warnings));
  Log("");
  Log("Documents Generated:  " + std::to_string(run_.generated));
  Log("Current Documents:    " + std::to_string(run_.current));
  Log("Read-Only Documents:  " + std::to_string(run_.read_only));
  Log("Static Documents:     " + std::to_string(run_.statics));
  Log("No-Path Documents:    " + std::to_string(run_.no_path));
  Log("");
  Log("Total Documents:      " + std::to_string(run_.total));
  Log("");
  Log("Generation Time:      " + Plural(run_.end_time - run_.start_time, "second"));
  if (run_.generated > 0) {
    Log("");
    Log("Generated Files List: " + context_.work_files.generated_files_list);
  }
  FlushWorkFiles(log_);
  LeaveGeneratingState(context_);
  context_.ui.Beep();
  if (run_.errors >= 1) {
    if (Delay(context_.ui, context_.clock, 1)) context_.state.stop_requested = true;
    context_.ui.Beep();
  }
}

void GenerationRunner::ErrorPath(const Error& error) {
  run_.end = RunEnd::kHalted;
  FlushWorkFiles(log_);
  ReportError(context_.ui, error);
  std::string line = RunLine("Error in Project: ", context_.clock.Now());
  Log("");
  Log(line);
  context_.ui.AddStatusLine(line);

  std::string summary = SummaryHead(run_);
  if (run_.errors + run_.missing_files > 0) {
    Log("");
    Log(ErrorsLogLine(run_));
  }
  if (run_.warnings > 0) {
    Log("");
    Log("WARNINGS: " + std::to_string(run_.warnings));
  }
  summary += "\t\tSee Log File.";
  context_.ui.AddStatusLine(summary);
  Log("");
  Log(summary);
  Log("");
  Log(error.description());
  FlushWorkFiles(log_);
  LeaveGeneratingState(context_);
}

}  // namespace

std::string RunSummary(const GenerationRun& run, bool logging_enabled) {
  std::string text = SummaryHead(run);
  std::vector<std::string> parts;
  if (run.read_only > 0) parts.push_back(Plural(run.read_only, " read-only document"));
  if (run.current > 0) parts.push_back(Plural(run.current, " current document"));
  if (run.statics > 0) parts.push_back(Plural(run.statics, " static document"));
  if (run.no_path > 0) parts.push_back(Plural(run.no_path, " no-path document"));
  if (parts.empty()) {
    text += ".";
  } else {
    text += " (";
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (i > 0) text += ", ";
      text += parts[i];
    }
    text += ").";
  }
  if (HasProblems(run) && logging_enabled) text += "\t\tSee Log File.";
  return text;
}

void EnterGeneratingState(GenerationState& state) {
  state.generating = true;
  state.stop_requested = false;
}

void LeaveGeneratingState(GenerationContext& context) {
  context.state.generating = false;
  if (!context.shows_definition) return;
  if (context.options.post_generate_refresh == 1 && context.refresh_display) {
    context.refresh_display();
  } else if (!context.project.project_file_path.empty()) {
    ReadDefinition(DefinitionContext{context.fs, context.ui, context.project, context.options,
                                     context.definition},
                   false, true);
  }
}

bool Delay(UserInterface& ui, const Clock& clock, int tenths) {
  constexpr double kSecondsPerDay = 86400.0;
  double start = clock.Timer();
  bool stop = false;
  for (;;) {
    if (ui.ServiceEvents()) stop = true;
    double elapsed = clock.Timer() - start;
    if (elapsed < 0) elapsed += kSecondsPerDay;  // the timer restarts at midnight
    if (elapsed >= tenths * 0.1) return stop;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

GenerationRun RunGeneration(GenerationContext& context, short scope, int folder_index,
                            int document_index) {
  GenerationRun run;
  run.scope = scope;
  run.folder_index = scope == kScopeProject ? -1 : folder_index;
  run.document_index = scope == kScopeDocument ? document_index : -1;
  GenerationRunner runner(context, run);
  runner.Run();
  return run;
}

}  // namespace pentrak
