#include "check/link_target.h"

#include <algorithm>

#include "platform/text_lines.h"

namespace pentrak {

namespace {

bool IsUrlSpace(char c) { return static_cast<unsigned char>(c) <= 0x20; }
bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(c | 0x20);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A URL split into its parts; a part that is absent differs from one that is empty.
struct UrlParts {
  std::optional<std::string> scheme;  // lowercase
  std::optional<std::string> authority;
  std::string path;
  std::optional<std::string> query;
  std::optional<std::string> fragment;
};

// Drops blanks and control characters around the URL and tabs and line breaks inside it.
std::string Cleaned(std::string_view url) {
  while (!url.empty() && IsUrlSpace(url.front())) url.remove_prefix(1);
  while (!url.empty() && IsUrlSpace(url.back())) url.remove_suffix(1);
  std::string out;
  out.reserve(url.size());
  for (char c : url) {
    if (c != '\t' && c != '\n' && c != '\r') out += c;
  }
  return out;
}

std::optional<std::string> SchemeOf(std::string_view url) {
  if (url.empty() || !IsAlpha(url[0])) return std::nullopt;
  for (std::size_t i = 1; i < url.size(); ++i) {
    const char c = url[i];
    if (c == ':') return ToLowerAscii(url.substr(0, i));
    if (!IsAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') break;
  }
  return std::nullopt;
}

bool IsWebScheme(const std::optional<std::string>& scheme) {
  return !scheme || *scheme == "http" || *scheme == "https";
}

UrlParts Split(std::string url) {
  UrlParts parts;
  parts.scheme = SchemeOf(url);
  std::string_view rest(url);
  if (parts.scheme) rest.remove_prefix(parts.scheme->size() + 1);
  // Web URLs take "\" for "/", as browsers do; other schemes are not looked into.
  std::string slashed(rest);
  if (IsWebScheme(parts.scheme)) std::replace(slashed.begin(), slashed.end(), '\\', '/');
  rest = slashed;
  if (std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
    parts.fragment = std::string(rest.substr(hash + 1));
    rest = rest.substr(0, hash);
  }
  if (std::size_t question = rest.find('?'); question != std::string_view::npos) {
    parts.query = std::string(rest.substr(question + 1));
    rest = rest.substr(0, question);
  }
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    std::size_t slash = rest.find('/');
    parts.authority = std::string(rest.substr(0, slash));
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
  }
  parts.path = std::string(rest);
  return parts;
}

bool IsDotSegment(std::string_view segment) {
  return segment == "." || EqualsIgnoreCase(segment, "%2e");
}

bool IsDoubleDotSegment(std::string_view segment) {
  return segment == ".." || EqualsIgnoreCase(segment, ".%2e") ||
         EqualsIgnoreCase(segment, "%2e.") || EqualsIgnoreCase(segment, "%2e%2e");
}

// The path without "." and ".." parts; ".." never climbs above the root.
std::string WithoutDotSegments(std::string_view path) {
  const bool absolute = path.starts_with('/');
  std::vector<std::string_view> kept;
  bool ends_in_folder = false;
  std::size_t start = absolute ? 1 : 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view segment = path.substr(start, end - start);
    const bool last = end == path.size();
    if (IsDoubleDotSegment(segment)) {
      if (!kept.empty()) kept.pop_back();
      ends_in_folder = last;
    } else if (IsDotSegment(segment)) {
      ends_in_folder = last;
    } else {
      kept.push_back(segment);
      ends_in_folder = false;
    }
    start = end + 1;
  }
  std::string out = absolute ? "/" : "";
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) out += '/';
    out.append(kept[i]);
  }
  if (ends_in_folder && !out.empty() && out.back() != '/') out += '/';
  return out;
}

// The reference resolved against an absolute base.
UrlParts Resolve(const UrlParts& reference, const UrlParts& base) {
  UrlParts target;
  if (reference.scheme) {
    target = reference;
    target.path = WithoutDotSegments(reference.path);
    return target;
  }
  target.scheme = base.scheme;
  target.fragment = reference.fragment;
  if (reference.authority) {
    target.authority = reference.authority;
    target.path = WithoutDotSegments(reference.path);
    target.query = reference.query;
    return target;
  }
  target.authority = base.authority;
  if (reference.path.empty()) {
    target.path = base.path;
    target.query = reference.query ? reference.query : base.query;
    return target;
  }
  target.query = reference.query;
  if (reference.path.starts_with('/')) {
    target.path = WithoutDotSegments(reference.path);
  } else {
    std::size_t slash = base.path.rfind('/');
    std::string merged = slash == std::string::npos ? "/" : base.path.substr(0, slash + 1);
    target.path = WithoutDotSegments(merged + reference.path);
  }
  return target;
}

std::string Joined(const UrlParts& parts) {
  std::string url =
      parts.scheme.value_or("https") + "://" + ToLowerAscii(parts.authority.value_or(""));
  url += parts.path.empty() ? "/" : parts.path;
  if (parts.query) url += "?" + *parts.query;
  return url;
}

LinkTarget TargetOf(const UrlParts& parts) {
  LinkTarget target;
  target.fragment = parts.fragment;
  if (parts.scheme && !IsWebScheme(parts.scheme)) return target;
  if (parts.authority) {
    target.kind = LinkKind::kExternal;
    target.url = Joined(parts);
    return target;
  }
  if (parts.scheme) return target;  // "http:page" without a host leads nowhere checkable
  target.kind = LinkKind::kInternal;
  std::string_view path = parts.path;
  if (path.starts_with('/')) path.remove_prefix(1);
  target.path = PercentDecoded(path);
  return target;
}

}  // namespace

std::string PercentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

LinkTarget ResolveLink(std::string_view url, std::string_view page_path,
                       const std::optional<std::string>& base) {
  UrlParts page;
  page.path = "/" + std::string(page_path);
  if (base) {
    UrlParts base_parts = Split(Cleaned(*base));
    // A base that leads nowhere checkable leaves the page's own URL in charge.
    if (!base_parts.scheme || IsWebScheme(base_parts.scheme)) page = Resolve(base_parts, page);
    page.fragment.reset();
  }
  return TargetOf(Resolve(Split(Cleaned(url)), page));
}

std::vector<SrcsetEntry> SrcsetUrls(std::string_view srcset) {
  std::vector<SrcsetEntry> entries;
  std::size_t pos = 0;
  while (pos < srcset.size()) {
    while (pos < srcset.size() && (IsHtmlSpace(srcset[pos]) || srcset[pos] == ',')) ++pos;
    if (pos >= srcset.size()) break;
    const std::size_t start = pos;
    while (pos < srcset.size() && !IsHtmlSpace(srcset[pos])) ++pos;
    std::string_view url = srcset.substr(start, pos - start);
    const bool ended_by_comma = url.ends_with(',');
    while (url.ends_with(',')) url.remove_suffix(1);
    if (!url.empty()) entries.push_back(SrcsetEntry{start, url});
    if (ended_by_comma) continue;
    // The descriptors run to the next comma outside parentheses.
    bool in_parens = false;
    while (pos < srcset.size()) {
      const char c = srcset[pos++];
      if (c == '(') in_parens = true;
      if (c == ')') in_parens = false;
      if (c == ',' && !in_parens) break;
    }
  }
  return entries;
}

}  // namespace pentrak
