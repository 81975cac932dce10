// The full HTML parser's reading of a page, for the pages the fast scanner leaves to it.

#include <gumbo.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "check/page_scan.h"

namespace pentrak {

namespace {

struct OutputDeleter {
  void operator()(GumboOutput* output) const {
    gumbo_destroy_output(&kGumboDefaultOptions, output);
  }
};

class TreeReader {
 public:
  TreeReader(std::string_view html, PageScan& out) : html_(html), out_(out) {}

  // Walks the tree without recursion: nesting is as deep as the page makes it.
  void Walk(const GumboNode* root) {
    std::vector<const GumboNode*> stack{root};
    while (!stack.empty()) {
      const GumboNode* node = stack.back();
      stack.pop_back();
      if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE) continue;
      const GumboElement& element = node->v.element;
      Element(element);
      for (unsigned i = element.children.length; i > 0; --i) {
        stack.push_back(static_cast<const GumboNode*>(element.children.data[i - 1]));
      }
    }
  }

  void Finish() {
    // Elements the parser re-creates (formatting elements reopened after a misnested end tag)
    // repeat their attributes; each counts once, in the order of the page.
    auto by_place = [](const PageUrl& a, const PageUrl& b) {
      return a.offset != b.offset ? a.offset < b.offset : a.attribute < b.attribute;
    };
    std::stable_sort(out_.urls.begin(), out_.urls.end(), by_place);
    out_.urls.erase(std::unique(out_.urls.begin(), out_.urls.end(),
                                [](const PageUrl& a, const PageUrl& b) {
                                  return a.offset == b.offset && a.attribute == b.attribute;
                                }),
                    out_.urls.end());
    if (!bases_.empty()) out_.base = std::min_element(bases_.begin(), bases_.end())->second;
  }

 private:
  void Element(const GumboElement& element) {
    const bool html = element.tag_namespace == GUMBO_NAMESPACE_HTML;
    const std::string_view name = element.tag == GUMBO_TAG_UNKNOWN
                                      ? std::string_view()
                                      : gumbo_normalized_tagname(element.tag);
    for (unsigned i = 0; i < element.attributes.length; ++i) {
      const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
      const std::string_view attribute_name = attribute->name;
      if (attribute_name == "id" || (html && name == "a" && attribute_name == "name")) {
        out_.anchors.emplace_back(attribute->value);
        continue;
      }
      if (!html) continue;
      if (name == "base" && attribute_name == "href") {
        bases_.emplace_back(Offset(*attribute), attribute->value);
        continue;
      }
      UrlAttribute kind;
      if (const char* static_name = UrlElementName(name, attribute_name, kind)) {
        AddUrl(*attribute, kind, static_name);
      }
    }
  }

  // Where the value starts (its quote when quoted), found from the end of the name: the parser's
  // own value position skips a character reference at the start of an unquoted value. An
  // attribute without a value ("href" or "href=" before the tag's end) is placed at its name.
  std::size_t Offset(const GumboAttribute& attribute) const {
    const auto name = static_cast<std::size_t>(attribute.original_name.data - html_.data());
    std::size_t pos = name + attribute.original_name.length;
    auto skip_spaces = [&] {
      while (pos < html_.size() && std::strchr(" \t\n\f\r", html_[pos]) != nullptr) ++pos;
    };
    skip_spaces();
    if (pos >= html_.size() || html_[pos] != '=') return name;
    ++pos;
    skip_spaces();
    return pos < html_.size() && html_[pos] != '>' ? pos : name;
  }

  void AddUrl(const GumboAttribute& attribute, UrlAttribute kind, const char* element) {
    PageUrl url;
    url.value = attribute.value;
    url.attribute = kind;
    url.element = element;
    url.offset = Offset(attribute);
    const auto name = static_cast<std::size_t>(attribute.original_name.data - html_.data());
    url.quoted = url.offset != name && (html_[url.offset] == '"' || html_[url.offset] == '\'');
    const std::size_t begin = url.offset + (url.quoted ? 1 : 0);
    std::size_t end = begin;
    if (url.quoted) {
      end = html_.find(html_[url.offset], begin);
    } else if (url.offset != name) {
      while (end < html_.size() && std::strchr(" \t\n\f\r>", html_[end]) == nullptr) ++end;
    }
    url.verbatim = html_.substr(begin, end - begin) == url.value;
    out_.urls.push_back(std::move(url));
  }

  std::string_view html_;
  PageScan& out_;
  std::vector<std::pair<std::size_t, std::string>> bases_;
};

}  // namespace

PageScan ParseHtml(std::string_view html) {
  PageScan scan;
  std::unique_ptr<GumboOutput, OutputDeleter> output(
      gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size()));
  if (!output) return scan;
  TreeReader reader(html, scan);
  reader.Walk(output->root);
  reader.Finish();
  return scan;
}

}  // namespace pentrak
