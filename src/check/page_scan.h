#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

// The attributes whose values are URLs the check follows.
enum class UrlAttribute : unsigned char { kHref, kSrc, kSrcset, kPoster };

// One URL-valued attribute of an element of a page.
struct PageUrl {
  std::string value;       // character references decoded
  std::size_t offset = 0;  // where the value starts in the page: at its quote when quoted
  bool quoted = false;
  bool verbatim = true;  // the page holds the value byte for byte (no reference, no CR)
  UrlAttribute attribute = UrlAttribute::kHref;
  std::string_view element;  // "a", "img", ...: static text

  friend bool operator==(const PageUrl&, const PageUrl&) = default;
};

// What the link check needs to know of a page: the URLs its elements point at, the fragment
// targets it defines and its base URL.
struct PageScan {
  std::vector<PageUrl> urls;
  std::vector<std::string> anchors;  // every id, and the name of every a element
  std::optional<std::string> base;   // the href of the first base element that has one
};

// The page's URLs and anchors: from the fast scanner, or from the full HTML parser when the
// page holds something whose meaning only a tree builder decides.
PageScan ReadPage(std::string_view html);

// The fast scanner alone: false when the page needs the full parser (out is then incomplete).
bool ScanHtml(std::string_view html, PageScan& out);

// The full HTML parser's view of the page: the reference the scanner is held to.
PageScan ParseHtml(std::string_view html);

// The element and attribute pairs whose values are URLs: null when this pair is not one.
const char* UrlElementName(std::string_view element, std::string_view attribute,
                           UrlAttribute& kind);

}  // namespace pentrak
