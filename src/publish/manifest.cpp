#include "publish/manifest.h"

#include <charconv>
#include <string_view>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/text_lines.h"
#include "publish/content_hash.h"

namespace pentrak {

namespace {

// The first line names the destination, so that a person can tell the files apart.
constexpr std::string_view kHeading = "Pentrak CMS publish manifest: ";
constexpr std::size_t kHashLength = 64;

// A line holds size, TAB, hash, TAB, path; a path may hold any byte, so "%", CR and LF in it
// are written as "%25", "%0D" and "%0A".
std::string EncodedPath(std::string_view path) {
  std::string text;
  for (char c : path) {
    if (c == '%') {
      text += "%25";
    } else if (c == '\r') {
      text += "%0D";
    } else if (c == '\n') {
      text += "%0A";
    } else {
      text += c;
    }
  }
  return text;
}

std::optional<std::string> DecodedPath(std::string_view text) {
  std::string path;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      path += text[i];
      continue;
    }
    std::string_view code = text.substr(i + 1, 2);
    if (code == "25") {
      path += '%';
    } else if (code == "0D") {
      path += '\r';
    } else if (code == "0A") {
      path += '\n';
    } else {
      return std::nullopt;
    }
    i += 2;
  }
  return path;
}

bool ParseEntry(std::string_view line, Manifest& manifest) {
  std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos || line.size() < tab + 2 + kHashLength + 1) return false;
  ManifestEntry entry;
  auto [end, error] = std::from_chars(line.data(), line.data() + tab, entry.size);
  if (error != std::errc() || end != line.data() + tab) return false;
  entry.hash = std::string(line.substr(tab + 1, kHashLength));
  if (line[tab + 1 + kHashLength] != '\t') return false;
  std::optional<std::string> path = DecodedPath(line.substr(tab + 2 + kHashLength));
  if (!path || path->empty()) return false;
  manifest[std::move(*path)] = std::move(entry);
  return true;
}

}  // namespace

std::string ManifestPath(const std::string& work_folder, const std::string& destination_text) {
  return work_folder + "publish-" + ContentHash(destination_text).substr(0, 16) + ".txt";
}

std::optional<Manifest> ReadManifest(const FileSystem& fs, const std::string& path,
                                     const std::string& destination_text) {
  std::optional<std::string> text;
  try {
    text = fs.ReadFileIfPresent(path);
  } catch (const Error&) {
    return std::nullopt;
  }
  if (!text) return std::nullopt;
  LineCursor cursor(*text);
  std::string_view line;
  if (!cursor.Next(line) || line != std::string(kHeading) + destination_text) return std::nullopt;
  Manifest manifest;
  while (cursor.Next(line)) {
    if (!ParseEntry(line, manifest)) return std::nullopt;
  }
  return manifest;
}

void WriteManifest(const FileSystem& fs, const std::string& path,
                   const std::string& destination_text, const Manifest& manifest) {
  std::string text;
  AppendLine(text, std::string(kHeading) + destination_text);
  for (const auto& [file, entry] : manifest) {
    AppendLine(text, std::to_string(entry.size) + "\t" + entry.hash + "\t" + EncodedPath(file));
  }
  fs.WriteFile(path, text);
}

}  // namespace pentrak
