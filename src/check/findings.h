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

}  // namespace pentrak
