#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/macro_lookup.h"

namespace pentrak {

struct MacroTables;
struct MacroTags;

// Where a piece of generated text was written: a line of the template (or of a static
// document), or a line of a macro's value in a content file.
struct TextOrigin {
  int file = -1;            // index into OriginRecorder::files(); -1 for a reserved macro's value
  int line = 0;             // 1-based line of that file; a value's line counts from the definition
  std::string macro;        // the macro whose value this is, as "[@NAME]"; empty for template text
  int definition_line = 0;  // for a value: the line that ends the macro's definition line
  int call = -1;            // for a value: the origin of the tag it replaced (origin(call))
};

// Follows one document through the generator's passes and keeps, for every byte of the
// document, where its text was written. The document generator feeds it when its context
// holds one (DocumentGeneratorContext::origins); a normal run holds none and pays nothing.
class OriginRecorder {
 public:
  // While the recorder lives, the expansion notes in macros where it found each value.
  OriginRecorder(const MacroTags& tags, MacroTables& macros);
  ~OriginRecorder();
  OriginRecorder(const OriginRecorder&) = delete;
  OriginRecorder& operator=(const OriginRecorder&) = delete;

  // False: the generator writes neither its work files nor the document, whose text then stays
  // here only (a document re-expanded to trace its links is not rewritten).
  bool write_files = true;

  // The generator's side: the template read, each pass's source (expanding false for the
  // optimization pass), each logical line read up to source_end with what it appended to the
  // pass's output from written_from, and the document's text, which is that pass's output or
  // (from_output false) its source.
  void Start(const std::string& template_path, std::string_view template_text);
  void StartPass(std::string_view source, bool expanding);
  void Line(std::string_view logical, std::size_t source_end, std::string_view output,
            std::size_t written_from);
  void Finish(std::string_view document, bool from_output);

  // The document as generated; empty until Finish.
  const std::string& document() const { return document_; }
  // Where the byte at offset of the document came from; nullptr when that is not known.
  const TextOrigin* OriginAt(std::size_t offset) const;
  const TextOrigin& origin(int index) const { return origins_[static_cast<std::size_t>(index)]; }
  const std::vector<std::string>& files() const { return files_; }

 private:
  // From offset on, up to the next piece, the text came from origins_[origin].
  struct Piece {
    std::size_t offset;
    int origin;
  };
  // A stretch of the logical line and where it stands in the pass's source.
  struct Segment {
    std::size_t logical;
    std::size_t source;
    std::size_t length;
  };

  void MapLogicalLine(std::string_view logical, std::size_t source_end);
  int SourceOriginAt(std::size_t logical_offset) const;
  void AddPiece(std::size_t offset, int origin);
  void CopyRange(std::size_t out, std::size_t logical, std::size_t length);
  void MapExpansion(std::string_view logical, std::string_view result, std::size_t out);
  int ValueOrigin(std::size_t match, std::size_t value_line, std::string_view tag, int call);
  int FileIndex(const std::string& path);

  const MacroTags& tags_;
  MacroTables& macros_;
  std::vector<SearchPosition> found_;  // where the expansion of the last line found values
  std::vector<std::string> files_;
  std::vector<TextOrigin> origins_;
  std::vector<Piece> source_pieces_;
  std::vector<Piece> output_pieces_;
  std::vector<Piece> document_pieces_;
  std::vector<Segment> segments_;
  std::string_view source_;
  std::size_t source_pos_ = 0;
  bool expanding_ = true;
  std::string document_;
};

}  // namespace pentrak
