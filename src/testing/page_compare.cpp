#include "testing/page_compare.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

namespace pentrak::testing {

namespace {

bool IsPlain(unsigned char c) {
  return (c >= 0x20 && c < 0x7f) || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// The value with every run of bytes outside printable ASCII as one "?" mark.
std::string Skeleton(std::string_view value) {
  std::string out;
  bool in_run = false;
  for (char c : value) {
    if (IsPlain(static_cast<unsigned char>(c))) {
      out += c;
      in_run = false;
    } else if (!in_run) {
      out += "\x01";
      in_run = true;
    }
  }
  return out;
}

bool AllPlain(std::string_view value) {
  return std::all_of(value.begin(), value.end(),
                     [](char c) { return IsPlain(static_cast<unsigned char>(c)); });
}

using UrlKey = std::tuple<std::size_t, int, std::string, bool, std::string, int>;

std::set<UrlKey> Urls(const PageScan& scan) {
  std::set<UrlKey> keys;
  for (const PageUrl& url : scan.urls) {
    // Whether the page holds the value as it is can only agree where both read the same bytes.
    int verbatim = AllPlain(url.value) ? (url.verbatim ? 1 : 0) : -1;
    keys.emplace(url.offset, static_cast<int>(url.attribute), std::string(url.element), url.quoted,
                 Skeleton(url.value), verbatim);
  }
  return keys;
}

std::set<std::string> Anchors(const PageScan& scan) {
  std::set<std::string> anchors;
  for (const std::string& anchor : scan.anchors) anchors.insert(Skeleton(anchor));
  return anchors;
}

std::string Describe(const UrlKey& key) {
  return "url at " + std::to_string(std::get<0>(key)) + " <" + std::get<2>(key) + "> \"" +
         std::get<4>(key) + "\"";
}

}  // namespace

std::string PageDifference(const PageScan& fast, const PageScan& full) {
  const std::set<UrlKey> fast_urls = Urls(fast);
  const std::set<UrlKey> full_urls = Urls(full);
  for (const UrlKey& key : fast_urls) {
    if (!full_urls.contains(key)) return "only the scanner finds " + Describe(key);
  }
  for (const UrlKey& key : full_urls) {
    if (!fast_urls.contains(key)) return "only the parser finds " + Describe(key);
  }
  const std::set<std::string> fast_anchors = Anchors(fast);
  const std::set<std::string> full_anchors = Anchors(full);
  for (const std::string& anchor : fast_anchors) {
    if (!full_anchors.contains(anchor)) return "only the scanner finds anchor \"" + anchor + "\"";
  }
  for (const std::string& anchor : full_anchors) {
    if (!fast_anchors.contains(anchor)) return "only the parser finds anchor \"" + anchor + "\"";
  }
  std::string fast_base = fast.base ? "\"" + Skeleton(*fast.base) + "\"" : "none";
  std::string full_base = full.base ? "\"" + Skeleton(*full.base) + "\"" : "none";
  if (fast_base != full_base) return "base " + fast_base + " against " + full_base;
  return "";
}

}  // namespace pentrak::testing
