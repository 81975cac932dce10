#include "preview/served_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/real_path.h"

namespace pentrak {

namespace {

bool HasParentPart(std::string_view path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (path.substr(start, end - start) == "..") return true;
    start = end + 1;
  }
  return false;
}

bool Inside(const std::string& real, const std::string& root) {
  return real == root || (real.size() > root.size() && real.compare(0, root.size(), root) == 0 &&
                          (root.back() == '/' || real[root.size()] == '/'));
}

std::string LowerExtension(const std::string& path) {
  std::size_t dot = path.rfind('.');
  std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

ServedFile Refused() { return ServedFile{403, "", ""}; }

// The index page of a folder, when it has one inside the root.
std::optional<std::string> IndexPage(const std::string& folder, const std::string& root) {
  for (const char* name : {"index.html", "index.htm"}) {
    std::optional<RealPath> page = ResolveRealPath(folder + "/" + name);
    if (page && page->kind == RealPath::Kind::kFile && Inside(page->path, root)) return page->path;
  }
  return std::nullopt;
}

}  // namespace

ServedFile FindServedFile(const std::string& root, const std::string& request_path) {
  if (request_path.empty() || request_path[0] != '/') return ServedFile{400, "", ""};
  if (request_path.find_first_of(std::string_view("\\\0", 2)) != std::string::npos ||
      HasParentPart(request_path)) {
    return Refused();
  }
  std::optional<RealPath> real_root = ResolveRealPath(root);
  if (!real_root || real_root->kind != RealPath::Kind::kFolder) return ServedFile{};
  std::optional<RealPath> target = ResolveRealPath(real_root->path + request_path);
  if (!target) return ServedFile{};
  if (!Inside(target->path, real_root->path)) return Refused();
  if (target->kind == RealPath::Kind::kFile) return ServedFile{200, target->path, ""};
  if (target->kind != RealPath::Kind::kFolder) return Refused();
  if (request_path.back() != '/') return ServedFile{301, "", request_path + "/"};
  std::optional<std::string> index = IndexPage(target->path, real_root->path);
  return index ? ServedFile{200, *index, ""} : Refused();
}

std::string EncodedUrlPath(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url;
  for (char c : path) {
    auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      url += c;
    } else {
      url.append({'%', kHex[byte >> 4], kHex[byte & 15]});
    }
  }
  return url;
}

std::string ContentTypeOf(const std::string& path) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 20> kTypes = {{
      {"html", "text/html"},      {"htm", "text/html"},         {"css", "text/css"},
      {"js", "text/javascript"},  {"mjs", "text/javascript"},   {"json", "application/json"},
      {"xml", "application/xml"}, {"txt", "text/plain"},        {"csv", "text/csv"},
      {"png", "image/png"},       {"jpg", "image/jpeg"},        {"jpeg", "image/jpeg"},
      {"gif", "image/gif"},       {"svg", "image/svg+xml"},     {"ico", "image/x-icon"},
      {"webp", "image/webp"},     {"woff", "font/woff"},        {"woff2", "font/woff2"},
      {"pdf", "application/pdf"}, {"wasm", "application/wasm"},
  }};
  std::string extension = LowerExtension(path);
  for (const auto& [name, type] : kTypes) {
    if (extension == name) return std::string(type);
  }
  return "application/octet-stream";
}

bool IsHtml(const std::string& path) { return ContentTypeOf(path) == "text/html"; }

}  // namespace pentrak
