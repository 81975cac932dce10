#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "check/link_sources.h"
#include "check/page_scan.h"

namespace pentrak {

// A broken link is an error; a link that could not be checked (a server that did not answer) is
// a warning.
enum class Severity { kError, kWarning };

// One finding of the link check.
struct Finding {
  Severity severity = Severity::kError;
  std::string page;  // the generated file, as a path below the document root joined to it
  int line = 0;      // where the URL starts in it, 1-based; the column counts bytes
  int column = 0;
  std::string url;      // as the page writes it
  std::string message;  // the whole sentence: "broken link \"a.html\": no file a.html"
  std::optional<LinkSource> source;

  friend bool operator==(const Finding&, const Finding&) = default;
};

// What a URL is to the reader: "link", "image", "script", "frame", "embed" or "media file".
std::string_view UrlNoun(std::string_view element, UrlAttribute attribute);

// The finding as compilers write theirs: "page:line:column: message", and when the link was
// written elsewhere a second line "file:line: note: written here..." for the source.
std::string FindingText(const Finding& finding);

// The finding as one JSON object on one line.
std::string FindingJson(const Finding& finding);

// How a list shows a finding: the page below the document root with its line and column and
// the message, then on a second line the source file's name and line, or why there is none.
std::string FindingRowText(const Finding& finding, std::string_view document_root);

// The file and line a finding opens in the editor: where the link was written when that is
// known, else the page itself.
struct EditPlace {
  std::string path;
  int line = 0;
};
EditPlace FindingSourcePlace(const Finding& finding);

}  // namespace pentrak
