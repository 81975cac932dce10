#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

// Where a URL in a page leads: a file of the site, a page elsewhere on the web, or nothing the
// check follows (mail, telephone, script and data URLs and other schemes).
enum class LinkKind { kInternal, kExternal, kIgnored };

struct LinkTarget {
  LinkKind kind = LinkKind::kIgnored;
  // Internal: the path below the document root as a web server decodes it, "/" between
  // folders, without a leading "/": "" is the root's own folder, a final "/" names a folder.
  std::string path;
  // External: the absolute URL without its fragment, scheme and host in lowercase.
  std::string url;
  std::optional<std::string> fragment;  // the text after "#", as written
};

// Resolves a URL as it stands in the page at page_path (below the root, "/" between folders), as
// a browser does: relative and root-relative paths, "." and ".." parts, percent-encoding, query
// strings, "\" taken for "/", blanks and line breaks around and inside the URL dropped, and the
// page's base URL (its base element's href) when it has one.
LinkTarget ResolveLink(std::string_view url, std::string_view page_path,
                       const std::optional<std::string>& base);

// Every "%XX" with two hex digits as the byte it stands for; anything else as it is.
std::string PercentDecoded(std::string_view text);

// One image URL of a srcset value, with where it starts in the value.
struct SrcsetEntry {
  std::size_t offset = 0;
  std::string_view url;
};

// The URLs of a srcset value, read as browsers read its candidates ("url descriptors, ...").
std::vector<SrcsetEntry> SrcsetUrls(std::string_view srcset);

}  // namespace pentrak
