#include "check/findings.h"

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

std::string FindingText(const Finding& finding) {
  std::string text = finding.page + ":" + std::to_string(finding.line) + ":" +
                     std::to_string(finding.column) + ": " + finding.message + "\n";
  const std::optional<LinkSource>& source = finding.source;
  if (!source || source->file == finding.page) return text;
  text += source->file + ":" + std::to_string(source->line) + ": note: written here";
  if (!source->value_of.empty()) text += ", in the value of " + source->value_of;
  if (!source->macro.empty()) {
    text += ", through " + source->macro + " (" + source->macro_file + ":" +
            std::to_string(source->macro_line) + ")";
  }
  return text + "\n";
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
