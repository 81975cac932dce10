#include "engine/document_generator.h"

#include <algorithm>
#include <exception>
#include <functional>

#include "engine/expansion.h"
#include "engine/optimization.h"
#include "engine/origin_recorder.h"
#include "engine/tag_parser.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "project/definition.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

LogicalLineReader::LogicalLineReader(std::string_view text, std::string_view marker)
    : cursor_(text), marker_(marker) {}

bool LogicalLineReader::EndsWithMarker(std::string_view line) const {
  // The last character first: nearly every line ends otherwise, and is told apart without a call.
  return !marker_.empty() && line.size() >= marker_.size() && line.back() == marker_.back() &&
         line.substr(line.size() - marker_.size()) == marker_;
}

bool LogicalLineReader::Next(std::string_view& line) {
  std::string_view physical;
  if (!cursor_.Next(physical)) return false;
  if (!EndsWithMarker(physical)) {
    line = physical;
    return true;
  }
  joined_.assign(physical.substr(0, physical.size() - marker_.size()));
  while (cursor_.Next(physical)) {
    if (!EndsWithMarker(physical)) {
      joined_.append(physical);
      break;
    }
    joined_.append(physical.substr(0, physical.size() - marker_.size()));
  }
  line = joined_;
  return true;
}

bool SameLines(std::string_view a, std::string_view b) {
  LineCursor cursor_a(a);
  LineCursor cursor_b(b);
  for (;;) {
    std::string_view line_a;
    std::string_view line_b;
    bool more_a = cursor_a.Next(line_a);
    bool more_b = cursor_b.Next(line_b);
    if (!more_a && !more_b) return true;
    if (line_a != line_b) return false;
  }
}

namespace {

// Reads a file for a comparison; an unreadable file is logged and makes the comparison fail.
bool ReadForComparison(const FileSystem& fs, const LogContext& log, const std::string& path,
                       std::string& text) {
  try {
    text = fs.ReadFile(path);
    return true;
  } catch (const Error&) {
    std::string line(kLogIndent);
    line += ">Unable to compare files";
    WriteLog(log, line);
    return false;
  }
}

bool TextMatchesFile(const FileSystem& fs, const LogContext& log, std::string_view text,
                     const std::string& path) {
  std::string other;
  return ReadForComparison(fs, log, path, other) && SameLines(text, other);
}

// A source or destination that cannot be opened names itself in the error (unless the
// description already does).
Error WithPath(const Error& error, const std::string& path) {
  if (error.description().find(path) != std::string::npos) return error;
  return Error(error.number(), error.description() + " (" + path + ")");
}

std::string ReadSource(const FileSystem& fs, const std::string& path) {
  try {
    return fs.ReadFile(path);
  } catch (const Error& error) {
    throw WithPath(error, path);
  }
}

// Reserved beyond what a pass is expected to write, so that a short text that grows still fits.
constexpr std::size_t kLineSlack = 64 * 1024;

// Gives text room for at least bytes, keeping what it holds: twice its old room when that is
// more, so that a text growing pass by pass moves seldom, but never more than most. A string left
// to grow by itself could take twice what it held, past the bounds of a document and of an
// address space limited by the user.
void MakeRoom(std::string& text, std::size_t bytes, std::size_t most) {
  if (text.capacity() >= bytes) return;
  std::string larger;
  larger.reserve(std::max(bytes, std::min(2 * text.capacity(), most)));
  larger.append(text);
  text.swap(larger);
}

// A bound as the size errors show it.
std::string SizeText(std::size_t bytes) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  constexpr std::size_t kGiB = kMiB << 10;
  if (bytes >= kGiB && bytes % kGiB == 0) return std::to_string(bytes / kGiB) + " GiB";
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  return Plural(static_cast<long long>(bytes), "byte");
}

// A tag as the size errors name it: a runaway tag may carry a long parameter list.
std::string ShownTag(std::string_view tag) {
  constexpr std::size_t kShownTag = 80;
  std::string shown(tag.substr(0, kShownTag));
  if (tag.size() > kShownTag) shown += "...";
  return shown;
}

// One call of GenerateDocument: the pass chain and its state.
class DocumentGeneration {
 public:
  DocumentGeneration(const DocumentGeneratorContext& context, int folder_index, int document_index)
      : context_(context),
        project_(context.expansion.project),
        document_(context.expansion.definition.folders[folder_index].documents[document_index]),
        folder_index_(folder_index),
        document_index_(document_index),
        level_(EffectiveOptimizationLevel(project_, document_)) {}

  short Run();

 private:
  bool ExpansionPass(int pass);
  void AppendToPass(int pass, std::string_view text, std::string_view line_expanded);
  [[gnu::noinline]] void MakeRoomForLine(int pass, std::string_view text,
                                         std::string_view line_expanded);
  void OptimizationPassOver();
  void WriteDocument(std::string_view text) const;
  void WriteDocumentUnlessIdentical(const std::string& text);
  void WriteOptimizedDocument(int pass);
  std::string WorkFilePath(int pass) const;
  void WriteWorkFile(int pass, std::string_view text);
  void ReadTemplate();
  std::size_t WorkFilesRoom() const;
  [[noreturn]] void StopGrowth(int pass, std::size_t adding, std::string_view text,
                               std::string_view line_expanded) const;
  std::string_view TagNear(std::string_view text) const;
  void RemoveWorkFiles(int last_pass) const;
  void LogOutcome() const;
  bool WritesFiles() const { return context_.origins == nullptr || context_.origins->write_files; }
  void TraceLine(std::string_view line, const LogicalLineReader& reader,
                 std::size_t written_from) const {
    if (context_.origins != nullptr) {
      context_.origins->Line(line, reader.position(), output_, written_from);
    }
  }

  const DocumentGeneratorContext& context_;
  const ProjectSettings& project_;
  const Document& document_;
  int folder_index_;
  int document_index_;
  short level_;
  short outcome_ = kDocumentGenerated;
  short expansion_state_ = kOutsideBlock;
  // The source of the current pass (the previous pass's output) and the output being built;
  // swapped after each pass so their capacity is reused.
  std::string source_;
  std::string output_;
  std::string result_;
  std::string warning_;
  std::size_t work_files_written_ = 0;  // by all passes so far
  std::size_t pass_room_ = 0;           // what the current pass may write
  std::size_t append_limit_ = 0;        // what it may write before it must look again
  std::size_t previous_size_ = 0;       // the source of the pass before
};

std::string DocumentGeneration::WorkFilePath(int pass) const {
  return context_.log.work_files.generator_work_file + "." + std::to_string(pass);
}

// Work files are scratch space of this program, rewritten in place for every document. A run
// holds the first passes' files open; the rare document that needs more passes opens the rest
// each time.
void DocumentGeneration::WriteWorkFile(int pass, std::string_view text) {
  constexpr std::size_t kHeldPasses = 16;
  // Counted also when the passes stay in memory, so that their bound is the same.
  work_files_written_ += text.size();
  if (!WritesFiles()) return;
  const std::string path = WorkFilePath(pass);
  std::vector<ScratchFile>* held = context_.pass_files;
  try {
    if (held == nullptr || static_cast<std::size_t>(pass) > kHeldPasses) {
      context_.fs.OverwriteFile(path, text);
    } else {
      if (held->size() < static_cast<std::size_t>(pass))
        held->resize(static_cast<std::size_t>(pass));
      (*held)[static_cast<std::size_t>(pass - 1)].Rewrite(context_.fs, path, text);
    }
  } catch (const Error& error) {
    // A full disk is the likeliest cause: what the document wrote is of no use and takes room.
    RemoveWorkFiles(pass);
    throw WithPath(error, path);
  }
}

// What the document's work files may still take.
std::size_t DocumentGeneration::WorkFilesRoom() const {
  const std::size_t bound = context_.max_work_files;
  return work_files_written_ < bound ? bound - work_files_written_ : 0;
}

// Appends a line to the pass's output, or ends the document when that would take the pass or
// the document's work files beyond their bounds; line_expanded is the line whose first tag gave
// text, or empty.
void DocumentGeneration::AppendToPass(int pass, std::string_view text,
                                      std::string_view line_expanded) {
  // One comparison for the line that fits, as nearly every line does.
  if (output_.size() + text.size() + kCrLf.size() > append_limit_) {
    MakeRoomForLine(pass, text, line_expanded);
  }
  AppendLine(output_, text);
}

void DocumentGeneration::MakeRoomForLine(int pass, std::string_view text,
                                         std::string_view line_expanded) {
  const std::size_t adding = text.size() + kCrLf.size();
  if (output_.size() + adding > pass_room_) StopGrowth(pass, adding, text, line_expanded);
  MakeRoom(output_, output_.size() + adding, pass_room_ + kLineSlack);
  append_limit_ = std::min(pass_room_, output_.capacity());
}

void DocumentGeneration::StopGrowth(int pass, std::size_t adding, std::string_view text,
                                    std::string_view line_expanded) const {
  RemoveWorkFiles(pass - 1);
  std::string_view tag;
  if (!line_expanded.empty()) tag = LocateFirstTag(project_.tags, line_expanded).tag;
  std::string message;
  if (output_.size() + adding > context_.max_pass_output) {
    message = "The document grew beyond " + SizeText(context_.max_pass_output);
  } else {
    // The work files grow over many passes, most of it copied lines: the macro to name is the
    // one the pass expands nearest to where it stopped.
    if (tag.empty()) tag = TagNear(text);
    message = "The work files of the document " + document_.path + " grew beyond " +
              SizeText(context_.max_work_files);
  }
  message += " in pass " + std::to_string(pass);
  if (!tag.empty()) message += " while expanding " + ShownTag(tag);
  throw Error(kErrorHalt, message + ". A macro may contain its own tag.");
}

// The first tag of the last line of the pass's source that holds one before text (or the first
// after it, or before the source's end when text lies elsewhere); empty when there is none.
std::string_view DocumentGeneration::TagNear(std::string_view text) const {
  const std::string& start_tag = project_.tags.macro_start;
  if (start_tag.empty()) return {};
  const std::string_view source = source_;
  const std::less_equal<const char*> not_after;
  const bool inside = not_after(source.data(), text.data()) &&
                      not_after(text.data(), source.data() + source.size());
  const std::size_t position =
      inside ? static_cast<std::size_t>(text.data() - source.data()) : source.size();
  std::size_t hit = source.rfind(start_tag, position);
  if (hit == std::string_view::npos) hit = source.find(start_tag, position);
  if (hit == std::string_view::npos) return {};
  const std::size_t newline = source.rfind('\n', hit);
  const std::size_t begin = newline == std::string_view::npos ? 0 : newline + 1;
  LineCursor cursor(source.substr(begin));
  std::string_view line;
  cursor.Next(line);
  try {
    return LocateFirstTag(project_.tags, line).tag;
  } catch (const Error&) {
    return {};  // a start tag without an end: nothing worth naming
  }
}

// The pass files of a document that failed are of no use and may be huge.
void DocumentGeneration::RemoveWorkFiles(int last_pass) const {
  if (!WritesFiles()) return;
  for (int pass = 1; pass <= last_pass; ++pass) {
    if (context_.pass_files != nullptr &&
        context_.pass_files->size() >= static_cast<std::size_t>(pass)) {
      (*context_.pass_files)[static_cast<std::size_t>(pass - 1)].Close();
    }
    try {
      context_.fs.RemoveFile(WorkFilePath(pass));
    } catch (const Error&) {
    }
  }
}

bool DocumentGeneration::ExpansionPass(int pass) {
  const std::string& start_tag = project_.tags.macro_start;
  bool tags_found = false;
  LogicalLineReader reader(source_, project_.tags.line_continuation);
  std::string_view line;
  while (reader.Next(line)) {
    const std::size_t written_from = output_.size();
    if (start_tag.empty() || line.find(start_tag) == std::string_view::npos) {
      if (expansion_state_ != kBlockExcluded) AppendToPass(pass, line, {});
      TraceLine(line, reader, written_from);
      continue;
    }
    tags_found = true;
    result_.clear();
    warning_.clear();
    ExpandMacroTag(context_.expansion, line, result_, folder_index_, document_index_,
                   expansion_state_, warning_);
    if (!warning_.empty()) {
      outcome_ = kDocumentGeneratedWithWarnings;
      std::string log_line(kLogIndent);
      log_line += warning_;
      WriteLog(context_.log, log_line);
    }
    if (!result_.empty() && expansion_state_ != kBlockExcluded) AppendToPass(pass, result_, line);
    TraceLine(line, reader, written_from);
  }
  return tags_found;
}

void DocumentGeneration::OptimizationPassOver() {
  OptimizationPass optimization(level_);
  LogicalLineReader reader(source_, project_.tags.line_continuation);
  std::string_view line;
  while (reader.Next(line)) {
    const std::size_t written_from = output_.size();
    optimization.Apply(line, output_);
    TraceLine(line, reader, written_from);
  }
}

void DocumentGeneration::WriteDocumentUnlessIdentical(const std::string& text) {
  if (context_.modified_only && TextMatchesFile(context_.fs, context_.log, text, document_.path)) {
    outcome_ = kDocumentUnchanged;
    return;
  }
  WriteDocument(text);
}

// Replaces the document atomically, reusing the run's spare file when it has one.
void DocumentGeneration::WriteDocument(std::string_view text) const {
  if (context_.origins != nullptr) context_.origins->Finish(text, text.data() == output_.data());
  if (!WritesFiles()) return;
  try {
    if (context_.spare_file != nullptr) {
      context_.fs.WriteFileReusing(document_.path, text, *context_.spare_file);
    } else {
      context_.fs.WriteFile(document_.path, text);
    }
  } catch (const Error& error) {
    throw WithPath(error, document_.path);
  }
}

void DocumentGeneration::ReadTemplate() {
  TemplateCache* cache = context_.last_template;
  if (cache != nullptr && cache->path == document_.template_path) {
    source_ = cache->text;
    return;
  }
  source_ = ReadSource(context_.fs, document_.template_path);
  if (cache == nullptr) return;
  cache->path = document_.template_path;
  cache->text = source_;
}

short DocumentGeneration::Run() {
  ReadTemplate();
  previous_size_ = source_.size();
  if (context_.origins != nullptr) context_.origins->Start(document_.template_path, source_);
  bool final_pass = false;
  bool done = false;
  int pass = 0;
  while (!done && pass <= project_.max_nested_macros) {
    ++pass;
    output_.clear();
    if (context_.origins != nullptr) context_.origins->StartPass(source_, !final_pass);
    if (final_pass) {
      OptimizationPassOver();
      WriteOptimizedDocument(pass);
      done = true;
    } else {
      pass_room_ = std::min(context_.max_pass_output, WorkFilesRoom());
      // Room for the pass to grow twice as much as the last one did, up to the bounds: a growing
      // document is then seldom copied to a larger buffer in the middle of a pass.
      const std::size_t growth = source_.size() - std::min(source_.size(), previous_size_);
      MakeRoom(output_, std::min(source_.size() + 2 * growth, pass_room_) + kLineSlack,
               pass_room_ + kLineSlack);
      append_limit_ = std::min(pass_room_, output_.capacity());
      bool tags_found = ExpansionPass(pass);
      WriteWorkFile(pass, output_);
      if (!tags_found && level_ > 0) {
        final_pass = true;
      } else if (!tags_found && pass > 1) {
        // This pass changed nothing but what the previous one wrote may still hold continued
        // lines or an open block; the comparison looks at this pass, the copy takes the last.
        WriteDocumentUnlessIdentical(context_.modified_only ? output_ : source_);
        done = true;
      }
    }
    previous_size_ = source_.size();
    source_.swap(output_);
  }
  if (!done) {
    throw Error(kErrorHalt,
                "Maximum number of nested Macros was exceeded. Please update the Project "
                "Properties.");
  }
  LogOutcome();
  return outcome_;
}

// The optimization pass writes the document itself, or with modified-only a work file that
// is then compared with it.
void DocumentGeneration::WriteOptimizedDocument(int pass) {
  if (context_.modified_only) {
    if (output_.size() > WorkFilesRoom()) StopGrowth(pass, 0, {}, {});
    WriteWorkFile(pass, output_);
    WriteDocumentUnlessIdentical(output_);
    return;
  }
  WriteDocument(output_);
}

void DocumentGeneration::LogOutcome() const {
  std::string line(kLogIndent);
  if (outcome_ == kDocumentUnchanged) {
    line += ">Document up-to-date";
    WriteLog(context_.log, line);
    return;
  }
  line += ">Generated";
  WriteLog(context_.log, line);
  if (level_ > 0) {
    line.assign(kLogIndent);
    line += ">Optimization Level:" + std::to_string(level_);
    WriteLog(context_.log, line);
  }
}

}  // namespace

short GenerateDocument(const DocumentGeneratorContext& context, int folder_index,
                       int document_index) {
  const Document& document =
      context.expansion.definition.folders[folder_index].documents[document_index];
  try {
    DocumentGeneration generation(context, folder_index, document_index);
    return generation.Run();
  } catch (const Error& error) {
    if (!error.description().empty()) throw;
  } catch (const std::exception&) {
  }
  throw Error(kErrorHalt, "Error processing file: " + document.path);
}

bool FilesIdentical(const FileSystem& fs, const LogContext& log, const std::string& path_a,
                    const std::string& path_b) {
  std::string text_a;
  return ReadForComparison(fs, log, path_a, text_a) && TextMatchesFile(fs, log, text_a, path_b);
}

}  // namespace pentrak
