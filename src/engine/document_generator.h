#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/scratch_file.h"
#include "platform/text_lines.h"

namespace pentrak {

class FileSystem;
class OriginRecorder;
struct ExpansionContext;
struct LogContext;

// Outcomes of GenerateDocument.
inline constexpr short kDocumentGenerated = 1;
inline constexpr short kDocumentGeneratedWithWarnings = 2;
inline constexpr short kDocumentUnchanged = 4;

// The largest text one pass of a document may produce. A macro whose value holds its own tag
// twice doubles the document every pass; the bound ends that long before memory or disk do.
inline constexpr std::size_t kDefaultMaxPassOutput = std::size_t{256} << 20;

// The most one document may write to its work files over all its passes. A macro whose value
// holds its own tag once grows the document by the same amount every pass and never reaches the
// bound of one pass, while the work files of all passes stay on the disk together. A real page
// is a few MiB at most and needs a few passes; 1 GiB leaves room for a 20 MiB page through the
// 50 passes the default nesting limit allows, and stops a runaway long before it fills a disk or,
// with the highest nesting limit, runs for minutes.
inline constexpr std::size_t kDefaultMaxWorkFiles = std::size_t{1} << 30;

// The template read last, kept for the next document that uses it: the documents of a project
// share a handful of templates. A run forgets it when it writes that file.
struct TemplateCache {
  std::string path;
  std::string text;
};

// What generating one document reads and writes besides the document itself: the expansion
// (project settings, definition, macro tables, clock), the file system, the log and work files,
// and the main window's "generate modified only" switch. spare_file, when given, is the spare
// of FileSystem::WriteFileReusing that a run carries from one document to the next; pass_files,
// when given, holds the first passes' work files open from one document to the next; and
// last_template, when given, the template read last. origins, when given, records where each
// byte of the document came from (and may keep the document from being written).
struct DocumentGeneratorContext {
  const ExpansionContext& expansion;
  const FileSystem& fs;
  const LogContext& log;
  bool modified_only = false;
  std::string* spare_file = nullptr;
  std::vector<ScratchFile>* pass_files = nullptr;
  TemplateCache* last_template = nullptr;
  std::size_t max_pass_output = kDefaultMaxPassOutput;
  std::size_t max_work_files = kDefaultMaxWorkFiles;
  OriginRecorder* origins = nullptr;
};

// Expands the template of one document pass by pass through the generator's work files,
// optimizes it when its level asks for it, and writes the document (or, with modified_only,
// leaves an identical one untouched). Returns kDocumentGenerated,
// kDocumentGeneratedWithWarnings or kDocumentUnchanged; throws Error on failure (10006 when
// the pass limit max-nested-macros is reached, or when a pass or all the document's work files
// grow beyond their bounds; the document's work files are then removed).
short GenerateDocument(const DocumentGeneratorContext& context, int folder_index,
                       int document_index);

// True when two texts hold the same lines; missing lines at the end of the shorter text count
// as empty, so trailing empty lines make no difference.
bool SameLines(std::string_view a, std::string_view b);

// SameLines for two files. When either cannot be read, logs ">Unable to compare files" and
// returns false, so that the document gets written.
bool FilesIdentical(const FileSystem& fs, const LogContext& log, const std::string& path_a,
                    const std::string& path_b);

// Splits a text into logical lines: a physical line ending with the continuation marker loses
// it and is joined, without separator, to the next one. A marker on the last line of the text
// ends the logical line there. An empty marker joins nothing.
class LogicalLineReader {
 public:
  LogicalLineReader(std::string_view text, std::string_view marker);

  // Sets line to the next logical line (valid until the next call) or returns false at the end.
  bool Next(std::string_view& line);
  // The bytes of the text read so far.
  std::size_t position() const { return cursor_.position(); }

 private:
  bool EndsWithMarker(std::string_view line) const;

  LineCursor cursor_;
  std::string_view marker_;
  std::string joined_;
};

}  // namespace pentrak
