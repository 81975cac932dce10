#include "check/findings.h"

#include "platform/paths.h"

namespace pentrak {

namespace {

// The length of the valid UTF-8 sequence at pos, or 0.
std::size_t Utf8Length(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 0;
  if (lead >= 0xc2 && lead < 0xe0) length = 2;
  if (lead >= 0xe0 && lead < 0xf0) length = 3;
  if (lead >= 0xf0 && lead <= 0xf4) length = 4;
  if (length == 0 || pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xc0) != 0x80) return 0;
  }
  return length;
}

// A JSON string. Text is bytes: what is not UTF-8 is written as the character of its byte.
std::string JsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (std::size_t pos = 0; pos < text.size();) {
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c >= 0x80) {
      if (std::size_t length = Utf8Length(text, pos); length > 0) {
        out.append(text.substr(pos, length));
        pos += length;
        continue;
      }
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7f) {
      out.append("\\u00").append(1, kHex[c >> 4]).append(1, kHex[c & 15]);
    } else {
      out += static_cast<char>(c);
    }
    ++pos;
  }
  return out + "\"";
}

// ", in the value of [@X], through [@Y] (file:line)": the macros a source line belongs to.
std::string SourceDetail(const LinkSource& source, bool file_names_only) {
  std::string text;
  if (!source.value_of.empty()) text += ", in the value of " + source.value_of;
  if (!source.macro.empty()) {
    const std::string file =
        file_names_only ? FileNameOfPath(source.macro_file) : source.macro_file;
    text +=
        ", through " + source.macro + " (" + file + ":" + std::to_string(source.macro_line) + ")";
  }
  return text;
}

}  // namespace

std::string_view UrlNoun(std::string_view element, UrlAttribute attribute) {
  if (attribute == UrlAttribute::kSrcset || attribute == UrlAttribute::kPoster ||
      element == "img" || element == "input") {
    return "image";
  }
  if (element == "a" || element == "area" || element == "link") return "link";
  if (element == "script") return "script";
  if (element == "iframe") return "frame";
  if (element == "embed") return "embed";
  return "media file";
}

std::string FindingRowText(const Finding& finding, std::string_view document_root) {
  std::string_view page = finding.page;
  const std::string root = JoinPath(document_root, "");
  if (page.starts_with(root)) page.remove_prefix(root.size());
  std::string text = std::string(page) + ":" + std::to_string(finding.line) + ":" +
                     std::to_string(finding.column) + ": " + finding.message;
  // Always a second line, so that every row of a list is as high as the others.
  const std::optional<LinkSource>& source = finding.source;
  if (!source) return text + "\n    no source line known";
  if (source->file == finding.page) return text + "\n    written in the page itself";
  return text + "\n    written at " + FileNameOfPath(source->file) + ":" +
         std::to_string(source->line) + SourceDetail(*source, true);
}

EditPlace FindingSourcePlace(const Finding& finding) {
  if (finding.source) return EditPlace{finding.source->file, finding.source->line};
  return EditPlace{finding.page, finding.line};
}

std::string FindingText(const Finding& finding) {
  std::string text = finding.page + ":" + std::to_string(finding.line) + ":" +
                     std::to_string(finding.column) + ": " + finding.message + "\n";
  const std::optional<LinkSource>& source = finding.source;
  if (!source || source->file == finding.page) return text;
  return text + source->file + ":" + std::to_string(source->line) + ": note: written here" +
         SourceDetail(*source, false) + "\n";
}

std::string FindingJson(const Finding& finding) {
  std::string json = "{\"severity\":";
  json += finding.severity == Severity::kError ? "\"error\"" : "\"warning\"";
  json += ",\"file\":" + JsonString(finding.page);
  json += ",\"line\":" + std::to_string(finding.line);
  json += ",\"column\":" + std::to_string(finding.column);
  json += ",\"url\":" + JsonString(finding.url);
  json += ",\"message\":" + JsonString(finding.message);
  json += ",\"source\":";
  if (!finding.source) return json + "null}";
  const LinkSource& source = *finding.source;
  json += "{\"file\":" + JsonString(source.file) + ",\"line\":" + std::to_string(source.line);
  if (!source.value_of.empty()) json += ",\"value_of\":" + JsonString(source.value_of);
  if (!source.macro.empty()) {
    json += ",\"macro\":" + JsonString(source.macro);
    json += ",\"macro_file\":" + JsonString(source.macro_file);
    json += ",\"macro_line\":" + std::to_string(source.macro_line);
  }
  return json + "}}";
}

}  // namespace pentrak
