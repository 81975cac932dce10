#include "engine/origin_recorder.h"

#include <algorithm>

#include "engine/content_file.h"
#include "engine/macro_tables.h"
#include "engine/macro_text.h"
#include "engine/tag_parser.h"
#include "platform/text_lines.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

std::size_t CommonPrefix(std::string_view a, std::string_view b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return n;
}

std::size_t CommonSuffix(std::string_view a, std::string_view b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[a.size() - 1 - n] == b[b.size() - 1 - n]) ++n;
  return n;
}

}  // namespace

OriginRecorder::OriginRecorder(const MacroTags& tags, MacroTables& macros)
    : tags_(tags), macros_(macros) {
  macros_.buffers.found = &found_;
}

OriginRecorder::~OriginRecorder() {
  if (macros_.buffers.found == &found_) macros_.buffers.found = nullptr;
}

int OriginRecorder::FileIndex(const std::string& path) {
  auto at = std::find(files_.begin(), files_.end(), path);
  if (at != files_.end()) return static_cast<int>(at - files_.begin());
  files_.push_back(path);
  return static_cast<int>(files_.size()) - 1;
}

void OriginRecorder::Start(const std::string& template_path, std::string_view template_text) {
  files_.clear();
  origins_.clear();
  source_pieces_.clear();
  output_pieces_.clear();
  document_pieces_.clear();
  document_.clear();
  const int file = FileIndex(template_path);
  LineCursor cursor(template_text);
  std::string_view line;
  std::size_t offset = 0;
  int number = 0;
  while (cursor.Next(line)) {
    origins_.push_back(TextOrigin{file, ++number, "", 0, -1});
    source_pieces_.push_back(Piece{offset, static_cast<int>(origins_.size()) - 1});
    offset = cursor.position();
  }
  output_pieces_ = source_pieces_;
}

void OriginRecorder::StartPass(std::string_view source, bool expanding) {
  // What the last pass wrote is what this one reads.
  source_pieces_.swap(output_pieces_);
  output_pieces_.clear();
  source_ = source;
  source_pos_ = 0;
  expanding_ = expanding;
}

// Notes where the stretches of the logical line stand in the source: its physical lines up to
// source_end, each continued one without the continuation marker.
void OriginRecorder::MapLogicalLine(std::string_view logical, std::size_t source_end) {
  segments_.clear();
  const std::size_t marker = tags_.line_continuation.size();
  std::size_t logical_pos = 0;
  std::size_t pos = source_pos_;
  while (pos < source_end && logical_pos < logical.size()) {
    const std::size_t newline = source_.find('\n', pos);
    const bool ends_line = newline != std::string_view::npos && newline < source_end;
    std::size_t content_end = ends_line ? newline : source_end;
    if (ends_line && content_end > pos && source_[content_end - 1] == '\r') --content_end;
    const std::size_t next = ends_line ? newline + 1 : source_end;
    std::size_t length = content_end - pos;
    if (next < source_end) length -= std::min(length, marker);
    length = std::min(length, logical.size() - logical_pos);
    segments_.push_back(Segment{logical_pos, pos, length});
    logical_pos += length;
    pos = next;
  }
  source_pos_ = source_end;
}

int OriginRecorder::SourceOriginAt(std::size_t logical_offset) const {
  if (source_pieces_.empty()) return -1;
  std::size_t source = source_pos_;
  for (const Segment& segment : segments_) {
    source = segment.source + std::min(logical_offset - segment.logical, segment.length);
    if (logical_offset < segment.logical + segment.length) break;
  }
  auto after =
      std::upper_bound(source_pieces_.begin(), source_pieces_.end(), source,
                       [](std::size_t at, const Piece& piece) { return at < piece.offset; });
  return after == source_pieces_.begin() ? source_pieces_.front().origin : std::prev(after)->origin;
}

void OriginRecorder::AddPiece(std::size_t offset, int origin) {
  if (!output_pieces_.empty() && output_pieces_.back().offset == offset) {
    output_pieces_.pop_back();
  }
  if (!output_pieces_.empty() && output_pieces_.back().origin == origin) return;
  output_pieces_.push_back(Piece{offset, origin});
}

// The output from out on holds length bytes of the logical line from logical on.
void OriginRecorder::CopyRange(std::size_t out, std::size_t logical, std::size_t length) {
  for (const Segment& segment : segments_) {
    const std::size_t begin = std::max(logical, segment.logical);
    const std::size_t end = std::min(logical + length, segment.logical + segment.length);
    if (begin >= end) continue;
    const std::size_t source = segment.source + (begin - segment.logical);
    const std::size_t source_end = source + (end - begin);
    auto piece = std::upper_bound(
        source_pieces_.begin(), source_pieces_.end(), source,
        [](std::size_t at, const Piece& candidate) { return at < candidate.offset; });
    if (piece != source_pieces_.begin()) --piece;
    for (; piece != source_pieces_.end() && piece->offset < source_end; ++piece) {
      const std::size_t from = std::max(piece->offset, source);
      AddPiece(out + (begin - logical) + (from - source), piece->origin);
    }
  }
}

int OriginRecorder::ValueOrigin(std::size_t match, std::size_t value_line, std::string_view tag,
                                int call) {
  TextOrigin origin;
  origin.call = call;
  origin.macro.assign(tag);
  if (match < found_.size()) {
    const SearchPosition& position = found_[match];
    const MacroTable& table = ScopeTable(macros_, position.scope, position.table);
    const Macro& macro = table.slots[static_cast<std::size_t>(position.slot)];
    origin.file = FileIndex(table.file_name);
    origin.definition_line = macro.line_number;
    origin.line = macro.line_number + 1 + static_cast<int>(value_line);
    origin.macro = macro.name;
  }
  origins_.push_back(std::move(origin));
  return static_cast<int>(origins_.size()) - 1;
}

// The expansion wrote before + value + after (a value's further lines indented as the line, a
// wildcard's lines each with before and after): the value's text came from the macro's
// definition, the rest from the line.
void OriginRecorder::MapExpansion(std::string_view logical, std::string_view result,
                                  std::size_t out) {
  const ParsedTag parsed = LocateFirstTag(tags_, logical);
  const std::size_t tag_start = parsed.before.size();
  const std::size_t after_start = tag_start + parsed.tag.size();
  const std::string_view indent = LeadingWhitespace(parsed.before);
  const int call = SourceOriginAt(tag_start);
  const bool wildcard = found_.size() > 1;
  std::vector<std::string_view> lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = result.find(kCrLf, start);
    lines.push_back(result.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + kCrLf.size();
  }
  for (std::size_t j = 0; j < lines.size(); ++j) {
    const std::string_view text = lines[j];
    const std::size_t line_out = out + static_cast<std::size_t>(text.data() - result.data());
    std::size_t prefix = CommonPrefix(text, wildcard || j == 0 ? parsed.before : indent);
    std::size_t suffix = 0;
    if (wildcard || j + 1 == lines.size()) suffix = CommonSuffix(text.substr(prefix), parsed.after);
    CopyRange(line_out, 0, prefix);
    if (prefix + suffix < text.size()) {
      const std::size_t match = wildcard ? std::min(j, found_.size() - 1) : 0;
      AddPiece(line_out + prefix, ValueOrigin(match, wildcard ? 0 : j, parsed.tag, call));
    }
    CopyRange(line_out + text.size() - suffix, after_start + parsed.after.size() - suffix, suffix);
  }
}

void OriginRecorder::Line(std::string_view logical, std::size_t source_end, std::string_view output,
                          std::size_t written_from) {
  MapLogicalLine(logical, source_end);
  std::string_view written = output.substr(written_from);
  if (written.empty()) return;
  const bool copied = written.size() == logical.size() + kCrLf.size() &&
                      written.starts_with(logical) && written.ends_with(kCrLf);
  if (copied) {
    CopyRange(written_from, 0, logical.size());
    return;
  }
  if (written.ends_with(kCrLf)) written.remove_suffix(kCrLf.size());
  if (expanding_) {
    MapExpansion(logical, written, written_from);
    return;
  }
  // The optimization pass writes the line without its leading white space, at level 2 perhaps
  // with a blank added.
  std::size_t kept = written.size();
  if (!logical.ends_with(written) && kept > 0) --kept;
  kept = std::min(kept, logical.size());
  CopyRange(written_from, logical.size() - kept, kept);
}

void OriginRecorder::Finish(std::string_view document, bool from_output) {
  document_.assign(document);
  document_pieces_ = from_output ? output_pieces_ : source_pieces_;
}

const TextOrigin* OriginRecorder::OriginAt(std::size_t offset) const {
  auto after =
      std::upper_bound(document_pieces_.begin(), document_pieces_.end(), offset,
                       [](std::size_t at, const Piece& piece) { return at < piece.offset; });
  if (after == document_pieces_.begin()) return nullptr;
  const int origin = std::prev(after)->origin;
  return origin < 0 ? nullptr : &origins_[static_cast<std::size_t>(origin)];
}

}  // namespace pentrak
