// The fast path of the page reader: an HTML tokenizer that follows the standard's states for
// tags, attributes, character references in attribute values, comments, text-only elements and
// script data, and keeps from the tree builder only what decides which tags count. Wherever the
// tree builder could drop, merge or reinterpret a tag that matters here (foreign content,
// select, framesets, templates, table parts and heads carrying ids, a second html or body tag
// with attributes) it gives up and the full parser reads the page. A test and a fuzz target hold
// it to the full parser's results.

#include <algorithm>
#include <array>
#include <cstring>

#include "check/page_scan.h"

namespace pentrak {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsAlpha(c) || IsDigit(c); }
bool IsHex(char c) { return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Whether text at pos begins with word (lowercase), ignoring the case of ASCII letters.
bool StartsWithLower(std::string_view text, std::size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (Lower(text[pos + i]) != word[i]) return false;
  }
  return true;
}

// Names are kept lowercase up to this length; no name that matters here is longer.
constexpr std::size_t kNameRoom = 12;

struct Name {
  std::array<char, kNameRoom> chars{};
  std::size_t length = 0;  // may exceed kNameRoom: only the first kNameRoom are kept

  void Add(char c) {
    if (length < kNameRoom) chars[length] = Lower(c);
    ++length;
  }
  std::string_view View() const {
    return length <= kNameRoom ? std::string_view(chars.data(), length) : std::string_view();
  }
  bool Is(std::string_view word) const { return length == word.size() && View() == word; }
};

struct Attribute {
  Name name;
  std::size_t name_start = 0;
  std::size_t value_begin = kNone;  // first character of the value, after any quote
  std::size_t value_end = kNone;
  bool quoted = false;
};

// The character references an attribute value may hold in plain pages; every other one sends
// the page to the full parser, which knows the whole table.
struct SimpleReference {
  std::string_view name;
  char value;
};
constexpr std::array<SimpleReference, 9> kSimpleReferences = {{{"amp", '&'},
                                                               {"lt", '<'},
                                                               {"gt", '>'},
                                                               {"quot", '"'},
                                                               {"apos", '\''},
                                                               {"AMP", '&'},
                                                               {"LT", '<'},
                                                               {"GT", '>'},
                                                               {"QUOT", '"'}}};

// The names a reference may carry without its ";" (the standard's legacy list); any other run of
// letters after "&" without ";" is plain text.
constexpr std::array<std::string_view, 106> kLegacyReferences = {
    "AElig",  "AMP",    "Aacute", "Acirc",  "Agrave", "Aring",  "Atilde", "Auml",   "COPY",
    "Ccedil", "ETH",    "Eacute", "Ecirc",  "Egrave", "Euml",   "GT",     "Iacute", "Icirc",
    "Igrave", "Iuml",   "LT",     "Ntilde", "Oacute", "Ocirc",  "Ograve", "Oslash", "Otilde",
    "Ouml",   "QUOT",   "REG",    "THORN",  "Uacute", "Ucirc",  "Ugrave", "Uuml",   "Yacute",
    "aacute", "acirc",  "acute",  "aelig",  "agrave", "amp",    "aring",  "atilde", "auml",
    "brvbar", "ccedil", "cedil",  "cent",   "copy",   "curren", "deg",    "divide", "eacute",
    "ecirc",  "egrave", "eth",    "euml",   "frac12", "frac14", "frac34", "gt",     "iacute",
    "icirc",  "iexcl",  "igrave", "iquest", "iuml",   "laquo",  "lt",     "macr",   "micro",
    "middot", "nbsp",   "not",    "ntilde", "oacute", "ocirc",  "ograve", "ordf",   "ordm",
    "oslash", "otilde", "ouml",   "para",   "plusmn", "pound",  "quot",   "raquo",  "reg",
    "sect",   "shy",    "sup1",   "sup2",   "sup3",   "szlig",  "thorn",  "times",  "uacute",
    "ucirc",  "ugrave", "uml",    "uuml",   "yacute", "yen",    "yuml"};

const SimpleReference* FindSimple(std::string_view name) {
  for (const SimpleReference& reference : kSimpleReferences) {
    if (reference.name == name) return &reference;
  }
  return nullptr;
}

bool IsLegacy(std::string_view name) {
  return std::find(kLegacyReferences.begin(), kLegacyReferences.end(), name) !=
         kLegacyReferences.end();
}

// Decodes a numeric reference whose digits start at pos (after "&#" or "&#x"); false when its
// character is not printable ASCII, which only the full parser maps.
bool DecodeNumber(std::string_view raw, std::size_t& pos, bool hex, std::string& out) {
  unsigned long code = 0;
  std::size_t digits = 0;
  while (pos < raw.size() && (hex ? IsHex(raw[pos]) : IsDigit(raw[pos]))) {
    if (++digits > 6) return false;
    char c = Lower(raw[pos++]);
    code = code * (hex ? 16 : 10) + static_cast<unsigned long>(IsDigit(c) ? c - '0' : c - 'a' + 10);
  }
  if (code < 0x20 || code > 0x7e) return false;
  out += static_cast<char>(code);
  if (pos < raw.size() && raw[pos] == ';') ++pos;
  return true;
}

// Decodes the character references of an attribute value and turns CR LF and CR into LF, as the
// input stream does; false when a reference needs the full table.
bool DecodeValue(std::string_view raw, std::string& out) {
  out.clear();
  std::size_t pos = 0;
  while (pos < raw.size()) {
    const char c = raw[pos];
    if (c == '\r') {
      out += '\n';
      pos += pos + 1 < raw.size() && raw[pos + 1] == '\n' ? 2 : 1;
      continue;
    }
    if (c != '&' || pos + 1 >= raw.size()) {
      out += c;
      ++pos;
      continue;
    }
    const char next = raw[pos + 1];
    if (next == '#') {
      std::size_t digits = pos + 2;
      bool hex = digits < raw.size() && (raw[digits] == 'x' || raw[digits] == 'X');
      if (hex) ++digits;
      if (digits >= raw.size() || !(hex ? IsHex(raw[digits]) : IsDigit(raw[digits]))) {
        out.append(raw.substr(pos, digits - pos));
        pos = digits;
        continue;
      }
      pos = digits;
      if (!DecodeNumber(raw, pos, hex, out)) return false;
      continue;
    }
    if (!IsAlnum(next)) {
      out += c;
      ++pos;
      continue;
    }
    std::size_t end = pos + 1;
    while (end < raw.size() && IsAlnum(raw[end])) ++end;
    const std::string_view name = raw.substr(pos + 1, end - pos - 1);
    const bool semicolon = end < raw.size() && raw[end] == ';';
    const SimpleReference* simple = FindSimple(name);
    if (semicolon) {
      if (simple == nullptr) return false;
      out += simple->value;
      pos = end + 1;
      continue;
    }
    // Without ";" only a legacy name not followed by "=" is a reference in an attribute.
    if (IsLegacy(name) && !(end < raw.size() && raw[end] == '=')) {
      if (simple == nullptr) return false;
      out += simple->value;
    } else {
      out.append(raw.substr(pos, end - pos));
    }
    pos = end;
  }
  return true;
}

enum class TextMode { kData, kRcdata, kRawtext, kScript, kPlaintext };

class Scanner {
 public:
  Scanner(std::string_view text, PageScan& out) : text_(text), out_(out) {}

  bool Run();

 private:
  bool TagOpen();
  void MarkupDeclaration();
  void SkipComment();
  void SkipTo(char c);
  std::size_t ReadTagName(std::size_t pos, Name& name) const;
  bool ReadAttributes(std::size_t pos);
  bool StartTag();
  bool EndTag();
  bool Emit();
  bool Record(std::string_view element);
  bool AddUrl(const Attribute& attribute, UrlAttribute kind, const char* element);
  bool Decoded(const Attribute& attribute);
  std::size_t AfterRawText(std::string_view name) const;
  std::size_t AfterScript() const;
  std::size_t MatchEndTag(std::size_t pos, std::string_view name) const;
  bool EndRawText(std::size_t name_end);

  std::string_view text_;
  PageScan& out_;
  std::size_t pos_ = 0;
  // The tag being read.
  Name name_;
  bool end_tag_ = false;
  std::vector<Attribute> attributes_;
  std::size_t attribute_count_ = 0;
  TextMode mode_ = TextMode::kData;
  Name raw_text_name_;  // the element whose end ends raw text
  bool form_open_ = false;
  bool html_seen_ = false;
  bool body_seen_ = false;
  std::string decoded_;
};

bool Scanner::Run() {
  if (std::memchr(text_.data(), 0, text_.size()) != nullptr) return false;
  while (pos_ < text_.size()) {
    switch (mode_) {
      case TextMode::kPlaintext:
        return true;
      case TextMode::kRcdata:
      case TextMode::kRawtext: {
        std::size_t name_end = AfterRawText(raw_text_name_.View());
        if (name_end == kNone) return true;
        if (!EndRawText(name_end)) return false;
        break;
      }
      case TextMode::kScript: {
        std::size_t name_end = AfterScript();
        if (name_end == kNone) return true;
        if (!EndRawText(name_end)) return false;
        break;
      }
      case TextMode::kData: {
        const void* found = std::memchr(text_.data() + pos_, '<', text_.size() - pos_);
        if (found == nullptr) return true;
        pos_ = static_cast<std::size_t>(static_cast<const char*>(found) - text_.data()) + 1;
        if (!TagOpen()) return false;
        break;
      }
    }
  }
  return true;
}

// pos_ is just past a "<" in data.
bool Scanner::TagOpen() {
  if (pos_ >= text_.size()) return true;
  const char c = text_[pos_];
  if (c == '!') {
    MarkupDeclaration();
    return true;
  }
  if (c == '?') {
    SkipTo('>');
    return true;
  }
  if (IsAlpha(c)) return StartTag();
  if (c != '/') return true;
  if (pos_ + 1 >= text_.size()) return true;
  const char after = text_[pos_ + 1];
  if (after == '>') {
    pos_ += 2;
    return true;
  }
  if (!IsAlpha(after)) {
    ++pos_;
    SkipTo('>');
    return true;
  }
  ++pos_;
  return EndTag();
}

// Leaves pos_ past the next c, or at the end.
void Scanner::SkipTo(char c) {
  const void* found = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
  pos_ = found == nullptr
             ? text_.size()
             : static_cast<std::size_t>(static_cast<const char*>(found) - text_.data()) + 1;
}

// pos_ is at the "!" of "<!": a comment, a doctype or a bogus comment, all of which end at a
// ">" but the comment.
void Scanner::MarkupDeclaration() {
  if (text_.substr(pos_ + 1, 2) == "--") {
    pos_ += 3;
    SkipComment();
    return;
  }
  SkipTo('>');
}

// pos_ is past "<!--". A comment ends at "-->" or "--!>", or at once with ">" or "->".
void Scanner::SkipComment() {
  enum class State { kStart, kStartDash, kComment, kEndDash, kEnd, kEndBang };
  State state = State::kStart;
  while (pos_ < text_.size()) {
    const char c = text_[pos_];
    switch (state) {
      case State::kStart:
        if (c == '>') {
          ++pos_;
          return;
        }
        state = c == '-' ? State::kStartDash : State::kComment;
        if (c == '-') ++pos_;
        break;
      case State::kStartDash:
        if (c == '>') {
          ++pos_;
          return;
        }
        state = c == '-' ? State::kEnd : State::kComment;
        if (c == '-') ++pos_;
        break;
      case State::kComment: {
        const void* dash = std::memchr(text_.data() + pos_, '-', text_.size() - pos_);
        if (dash == nullptr) {
          pos_ = text_.size();
          return;
        }
        pos_ = static_cast<std::size_t>(static_cast<const char*>(dash) - text_.data()) + 1;
        state = State::kEndDash;
        break;
      }
      case State::kEndDash:
        state = c == '-' ? State::kEnd : State::kComment;
        if (c == '-') ++pos_;
        break;
      case State::kEnd:
        ++pos_;
        if (c == '>') return;
        state = c == '!' ? State::kEndBang : c == '-' ? State::kEnd : State::kComment;
        break;
      case State::kEndBang:
        ++pos_;
        if (c == '>') return;
        state = c == '-' ? State::kEndDash : State::kComment;
        break;
    }
  }
}

// Reads a tag name from pos; returns where it ends.
std::size_t Scanner::ReadTagName(std::size_t pos, Name& name) const {
  name = Name{};
  while (pos < text_.size()) {
    const char c = text_[pos];
    if (IsSpace(c) || c == '/' || c == '>') break;
    name.Add(c);
    ++pos;
  }
  return pos;
}

// Reads attributes from pos up to and past the ">" that ends the tag. False when the text ends
// first: such a tag is dropped.
bool Scanner::ReadAttributes(std::size_t pos) {
  attribute_count_ = 0;
  const std::size_t size = text_.size();
  for (;;) {
    while (pos < size && IsSpace(text_[pos])) ++pos;
    if (pos >= size) return false;
    char c = text_[pos];
    if (c == '>') {
      pos_ = pos + 1;
      return true;
    }
    if (c == '/') {
      ++pos;
      if (pos >= size) return false;
      if (text_[pos] == '>') {
        pos_ = pos + 1;
        return true;
      }
      continue;
    }
    if (attribute_count_ == attributes_.size()) attributes_.emplace_back();
    Attribute& attribute = attributes_[attribute_count_++];
    attribute = Attribute{};
    attribute.name_start = pos;
    // A "=" that starts a name belongs to it.
    attribute.name.Add(c);
    ++pos;
    while (pos < size) {
      c = text_[pos];
      if (IsSpace(c) || c == '/' || c == '>' || c == '=') break;
      attribute.name.Add(c);
      ++pos;
    }
    while (pos < size && IsSpace(text_[pos])) ++pos;
    if (pos >= size) return false;
    if (text_[pos] != '=') continue;
    ++pos;
    while (pos < size && IsSpace(text_[pos])) ++pos;
    if (pos >= size) return false;
    c = text_[pos];
    if (c == '>') {
      pos_ = pos + 1;
      return true;
    }
    if (c == '"' || c == '\'') {
      const void* close = std::memchr(text_.data() + pos + 1, c, size - pos - 1);
      if (close == nullptr) return false;
      attribute.quoted = true;
      attribute.value_begin = pos + 1;
      attribute.value_end =
          static_cast<std::size_t>(static_cast<const char*>(close) - text_.data());
      pos = attribute.value_end + 1;
      continue;
    }
    attribute.value_begin = pos;
    while (pos < size && !IsSpace(text_[pos]) && text_[pos] != '>') ++pos;
    if (pos >= size) return false;
    attribute.value_end = pos;
  }
}

// pos_ is at the first letter of a start tag's name.
bool Scanner::StartTag() {
  end_tag_ = false;
  std::size_t pos = ReadTagName(pos_, name_);
  if (!ReadAttributes(pos)) {
    pos_ = text_.size();
    return true;
  }
  return Emit();
}

// pos_ is at the first letter of an end tag's name.
bool Scanner::EndTag() {
  end_tag_ = true;
  std::size_t pos = ReadTagName(pos_, name_);
  if (!ReadAttributes(pos)) {
    pos_ = text_.size();
    return true;
  }
  return Emit();
}

// Where the end tag of the raw text element starts its attributes, or kNone when the text ends
// first. pos_ is in the element's text.
std::size_t Scanner::AfterRawText(std::string_view name) const {
  std::size_t pos = pos_;
  for (;;) {
    const void* found = std::memchr(text_.data() + pos, '<', text_.size() - pos);
    if (found == nullptr) return kNone;
    pos = static_cast<std::size_t>(static_cast<const char*>(found) - text_.data()) + 1;
    if (pos < text_.size() && text_[pos] == '/') {
      std::size_t end = MatchEndTag(pos + 1, name);
      if (end != kNone) return end;
    }
  }
}

// pos is just past "</": returns where the name ends when it is name followed by a space, "/" or
// ">", else kNone.
std::size_t Scanner::MatchEndTag(std::size_t pos, std::string_view name) const {
  std::size_t end = pos;
  while (end < text_.size() && IsAlpha(text_[end])) ++end;
  if (end >= text_.size() || end - pos != name.size() || !StartsWithLower(text_, pos, name)) {
    return kNone;
  }
  const char c = text_[end];
  return IsSpace(c) || c == '/' || c == '>' ? end : kNone;
}

// Script data with its escaped and double escaped states: finds the "</script" that ends it and
// returns where its name ends, or kNone.
std::size_t Scanner::AfterScript() const {
  enum class State {
    kData,
    kEscaped,
    kEscapedDash,
    kEscapedDashDash,
    kDouble,
    kDoubleDash,
    kDoubleDashDash
  };
  State state = State::kData;
  std::size_t pos = pos_;
  const std::size_t size = text_.size();
  auto letters_from = [&](std::size_t from) {
    std::size_t end = from;
    while (end < size && IsAlpha(text_[end])) ++end;
    return end;
  };
  auto names_script = [&](std::size_t from, std::size_t end) {
    return end - from == 6 && StartsWithLower(text_, from, "script");
  };
  while (pos < size) {
    if (state == State::kData) {
      const void* found = std::memchr(text_.data() + pos, '<', size - pos);
      if (found == nullptr) return kNone;
      pos = static_cast<std::size_t>(static_cast<const char*>(found) - text_.data()) + 1;
      if (pos >= size) return kNone;
      if (text_[pos] == '/') {
        std::size_t end = MatchEndTag(pos + 1, "script");
        if (end != kNone) return end;
        pos = letters_from(pos + 1);
      } else if (text_.substr(pos, 3) == "!--") {
        pos += 3;
        state = State::kEscapedDashDash;
      } else if (text_.substr(pos, 2) == "!-") {
        pos += 2;
      } else if (text_[pos] == '!') {
        pos += 1;
      }
      continue;
    }
    const char c = text_[pos];
    const bool is_double =
        state == State::kDouble || state == State::kDoubleDash || state == State::kDoubleDashDash;
    if (c == '-') {
      ++pos;
      if (state == State::kEscaped || state == State::kDouble) {
        state = is_double ? State::kDoubleDash : State::kEscapedDash;
      } else {
        state = is_double ? State::kDoubleDashDash : State::kEscapedDashDash;
      }
      continue;
    }
    if (c == '>' && (state == State::kEscapedDashDash || state == State::kDoubleDashDash)) {
      ++pos;
      state = State::kData;
      continue;
    }
    if (c != '<') {
      ++pos;
      state = is_double ? State::kDouble : State::kEscaped;
      continue;
    }
    ++pos;
    if (!is_double) {
      state = State::kEscaped;
      if (pos < size && text_[pos] == '/') {
        std::size_t end = MatchEndTag(pos + 1, "script");
        if (end != kNone) return end;
        pos = letters_from(pos + 1);
        continue;
      }
      if (pos < size && IsAlpha(text_[pos])) {
        std::size_t end = letters_from(pos);
        if (end < size && (IsSpace(text_[end]) || text_[end] == '/' || text_[end] == '>')) {
          if (names_script(pos, end)) state = State::kDouble;
          pos = end + 1;
        } else {
          pos = end;
        }
      }
      continue;
    }
    state = State::kDouble;
    if (pos < size && text_[pos] == '/') {
      std::size_t end = letters_from(pos + 1);
      if (end < size && (IsSpace(text_[end]) || text_[end] == '/' || text_[end] == '>')) {
        if (names_script(pos + 1, end)) state = State::kEscaped;
        pos = end + 1;
      } else {
        pos = end;
      }
    }
  }
  return kNone;
}

// Reads the end tag that ends raw text from the end of its name; the page goes on as data.
bool Scanner::EndRawText(std::size_t name_end) {
  mode_ = TextMode::kData;
  end_tag_ = true;
  name_ = raw_text_name_;
  if (!ReadAttributes(name_end)) {
    pos_ = text_.size();
    return true;
  }
  return Emit();
}

bool IsOneOf(const Name& name, std::initializer_list<std::string_view> words) {
  for (std::string_view word : words) {
    if (name.Is(word)) return true;
  }
  return false;
}

bool Scanner::Emit() {
  if (end_tag_) {
    if (name_.Is("form")) form_open_ = false;
    return true;
  }
  // Where the tree builder decides in ways only the full parser follows.
  if (IsOneOf(name_,
              {"svg", "math", "select", "frameset", "frame", "template", "image", "isindex"})) {
    return false;
  }
  bool has_id = false;
  for (std::size_t i = 0; i < attribute_count_; ++i) has_id |= attributes_[i].name.Is("id");
  if (has_id && IsOneOf(name_, {"caption", "col", "colgroup", "tbody", "td", "tfoot", "th", "thead",
                                "tr", "head"})) {
    return false;
  }
  if (name_.Is("html") || name_.Is("body")) {
    bool& seen = name_.Is("html") ? html_seen_ : body_seen_;
    if (seen && attribute_count_ > 0) return false;
    seen = true;
  }
  if (name_.Is("form")) {
    // A form inside a form is dropped, ids and all.
    if (form_open_) return true;
    form_open_ = true;
  }
  if (!Record(name_.View())) return false;
  if (IsOneOf(name_, {"title", "textarea"})) {
    mode_ = TextMode::kRcdata;
  } else if (IsOneOf(name_, {"style", "xmp", "iframe", "noembed", "noframes"})) {
    mode_ = TextMode::kRawtext;
  } else if (name_.Is("script")) {
    mode_ = TextMode::kScript;
  } else if (name_.Is("plaintext")) {
    mode_ = TextMode::kPlaintext;
  }
  raw_text_name_ = name_;
  return true;
}

bool Scanner::Decoded(const Attribute& attribute) {
  if (attribute.value_begin == kNone) {
    decoded_.clear();
    return true;
  }
  return DecodeValue(
      text_.substr(attribute.value_begin, attribute.value_end - attribute.value_begin), decoded_);
}

// Keeps the element's anchors and URLs, the first of each attribute name only.
bool Scanner::Record(std::string_view element) {
  const bool is_a = element == "a";
  for (std::size_t i = 0; i < attribute_count_; ++i) {
    const Attribute& attribute = attributes_[i];
    const std::string_view name = attribute.name.View();
    if (name.empty()) continue;
    bool duplicate = false;
    for (std::size_t j = 0; j < i && !duplicate; ++j) {
      duplicate =
          attributes_[j].name.length == attribute.name.length && attributes_[j].name.View() == name;
    }
    if (duplicate) continue;
    if (name == "id" || (is_a && name == "name")) {
      if (!Decoded(attribute)) return false;
      out_.anchors.push_back(decoded_);
      continue;
    }
    if (element == "base" && name == "href") {
      if (!Decoded(attribute)) return false;
      if (!out_.base) out_.base = decoded_;
      continue;
    }
    UrlAttribute kind;
    if (const char* static_name = UrlElementName(element, name, kind)) {
      if (!AddUrl(attribute, kind, static_name)) return false;
    }
  }
  return true;
}

bool Scanner::AddUrl(const Attribute& attribute, UrlAttribute kind, const char* element) {
  if (!Decoded(attribute)) return false;
  PageUrl url;
  url.value = decoded_;
  url.attribute = kind;
  url.element = element;
  url.quoted = attribute.quoted;
  if (attribute.value_begin == kNone) {
    // As the full parser places a value that is not there: at the attribute's name.
    url.offset = attribute.name_start;
  } else {
    url.offset = attribute.value_begin - (attribute.quoted ? 1 : 0);
    url.verbatim = url.value.size() == attribute.value_end - attribute.value_begin &&
                   text_.compare(attribute.value_begin, url.value.size(), url.value) == 0;
  }
  out_.urls.push_back(std::move(url));
  return true;
}

}  // namespace

const char* UrlElementName(std::string_view element, std::string_view attribute,
                           UrlAttribute& kind) {
  struct Pair {
    const char* element;
    std::string_view attribute;
    UrlAttribute kind;
  };
  static constexpr std::array<Pair, 15> kPairs = {{
      {"a", "href", UrlAttribute::kHref},
      {"area", "href", UrlAttribute::kHref},
      {"link", "href", UrlAttribute::kHref},
      {"img", "src", UrlAttribute::kSrc},
      {"img", "srcset", UrlAttribute::kSrcset},
      {"source", "src", UrlAttribute::kSrc},
      {"source", "srcset", UrlAttribute::kSrcset},
      {"script", "src", UrlAttribute::kSrc},
      {"iframe", "src", UrlAttribute::kSrc},
      {"embed", "src", UrlAttribute::kSrc},
      {"audio", "src", UrlAttribute::kSrc},
      {"video", "src", UrlAttribute::kSrc},
      {"video", "poster", UrlAttribute::kPoster},
      {"track", "src", UrlAttribute::kSrc},
      {"input", "src", UrlAttribute::kSrc},
  }};
  for (const Pair& pair : kPairs) {
    if (pair.attribute == attribute && element == pair.element) {
      kind = pair.kind;
      return pair.element;
    }
  }
  return nullptr;
}

bool ScanHtml(std::string_view html, PageScan& out) {
  out = PageScan{};
  Scanner scanner(html, out);
  return scanner.Run();
}

PageScan ReadPage(std::string_view html) {
  PageScan scan;
  if (ScanHtml(html, scan)) return scan;
  return ParseHtml(html);
}

}  // namespace pentrak
