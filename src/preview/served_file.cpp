#include "preview/served_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <string_view>
#include <utility>

#include "platform/open_beneath.h"

namespace pentrak {

namespace {

bool IsRefusedPart(std::string_view part) {
  return part == ".." || part.find_first_of(std::string_view("\\\0", 2)) != std::string_view::npos;
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

ServedFile WithStatus(int status) {
  ServedFile served;
  served.status = status;
  return served;
}

// A way out of the root, a loop of links or a file nobody may read is refused; what cannot be
// found is missing.
int StatusFor(int error) {
  return error == EXDEV || error == ELOOP || error == EACCES || error == EPERM ? 403 : 404;
}

std::string Joined(const std::string& folder, const std::string& name) {
  if (name.empty()) return folder;
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The answer that sends the regular file found below root at relative.
ServedFile Sending(const std::string& root, const std::string& relative, FoundBeneath& found) {
  ServedFile served = WithStatus(200);
  served.path = Joined(root, relative);
  served.file = std::move(found.file);
  served.size = found.size;
  return served;
}

bool IsFile(const FoundBeneath& found) {
  return found.error == 0 && found.kind == FoundBeneath::Kind::kFile;
}

}  // namespace

MappedPath MapRequestPath(std::string_view request_path) {
  if (request_path.empty() || request_path[0] != '/') return MappedPath{400, ""};
  MappedPath mapped;
  std::size_t start = 1;
  while (start <= request_path.size()) {
    std::size_t end = request_path.find('/', start);
    if (end == std::string_view::npos) end = request_path.size();
    std::string_view part = request_path.substr(start, end - start);
    start = end + 1;
    if (IsRefusedPart(part)) return MappedPath{403, ""};
    if (part.empty() || part == ".") continue;
    if (!mapped.relative.empty()) mapped.relative += '/';
    mapped.relative.append(part);
  }
  return mapped;
}

ServedFile FindServedFile(const std::string& root, const std::string& request_path) {
  MappedPath mapped = MapRequestPath(request_path);
  if (mapped.status != 0) return WithStatus(mapped.status);
  FoundBeneath found = FindBeneath(root, mapped.relative);
  if (found.error != 0) return WithStatus(StatusFor(found.error));
  if (IsFile(found)) return Sending(root, mapped.relative, found);
  if (found.kind != FoundBeneath::Kind::kFolder) return WithStatus(403);
  if (request_path.back() != '/') {
    ServedFile moved = WithStatus(301);
    moved.location = request_path + "/";
    return moved;
  }
  for (const char* name : {"index.html", "index.htm"}) {
    std::string page = Joined(mapped.relative, name);
    FoundBeneath index = FindBeneath(root, page);
    if (IsFile(index)) return Sending(root, page, index);
  }
  return WithStatus(403);
}

ServedBody::ServedBody(Descriptor file, std::uint64_t file_size, std::uint64_t insert_at,
                       std::string inserted)
    : file_(std::move(file)),
      file_size_(file_size),
      insert_at_(std::min(insert_at, file_size)),
      inserted_(std::move(inserted)) {}

std::size_t ServedBody::Read(std::uint64_t offset, char* data, std::size_t size) const {
  if (offset < insert_at_) {
    std::uint64_t before = insert_at_ - offset;
    return ReadAt(file_, offset, data,
                  static_cast<std::size_t>(std::min<std::uint64_t>(size, before)));
  }
  std::uint64_t in_inserted = offset - insert_at_;
  if (in_inserted < inserted_.size()) {
    std::size_t n = std::min<std::size_t>(size, inserted_.size() - in_inserted);
    std::copy_n(inserted_.data() + in_inserted, n, data);
    return n;
  }
  std::uint64_t in_file = offset - inserted_.size();
  if (in_file >= file_size_) return 0;
  return ReadAt(file_, in_file, data,
                static_cast<std::size_t>(std::min<std::uint64_t>(size, file_size_ - in_file)));
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
