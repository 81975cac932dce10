#include "check/link_target.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace pentrak {
namespace {

TEST(LinkTargetTest, ResolvesUrlsAsBrowsersAndWebServersDo) {
  struct Case {
    const char* url;
    const char* page;
    std::optional<std::string> base;
    LinkKind kind;
    const char* path_or_url;
    std::optional<std::string> fragment;
  };
  const auto kIn = LinkKind::kInternal;
  const auto kOut = LinkKind::kExternal;
  const auto kNone = LinkKind::kIgnored;
  const Case cases[] = {
      {"b.html", "docs/a.html", {}, kIn, "docs/b.html", {}},
      {"/b.html", "docs/a.html", {}, kIn, "b.html", {}},
      {"../img/x.png", "docs/deep/a.html", {}, kIn, "docs/img/x.png", {}},
      {"../../../x.png", "docs/a.html", {}, kIn, "x.png", {}},
      {"./", "docs/a.html", {}, kIn, "docs/", {}},
      {"..", "docs/a.html", {}, kIn, "", {}},
      {"my%20page.html?x=1#Top", "a.html", {}, kIn, "my page.html", "Top"},
      {"#section", "docs/a.html", {}, kIn, "docs/a.html", "section"},
      {"?q=1", "docs/a.html", {}, kIn, "docs/a.html", {}},
      {"", "docs/a.html", {}, kIn, "docs/a.html", {}},
      {" \n docs\\b.html\t ", "a.html", {}, kIn, "docs/b.html", {}},
      {"%2e%2E/x.html", "docs/a.html", {}, kIn, "x.html", {}},
      {"100%.html", "a.html", {}, kIn, "100%.html", {}},
      {"b.html", "docs/a.html", "/other/", kIn, "other/b.html", {}},
      {"b.html",
       "docs/a.html",
       "https://example.org/site/",
       kOut,
       "https://example.org/site/b.html",
       {}},
      {"HTTPS://Example.ORG/A?b=C#frag", "a.html", {}, kOut, "https://example.org/A?b=C", "frag"},
      {"//cdn.example.org/x.js", "a.html", {}, kOut, "https://cdn.example.org/x.js", {}},
      {"https://example.org", "a.html", {}, kOut, "https://example.org/", {}},
      {"mailto:me@example.org", "a.html", {}, kNone, "", {}},
      {"JavaScript:void(0)", "a.html", {}, kNone, "", {}},
      {"data:image/png;base64,AAA", "a.html", {}, kNone, "", {}},
      {"tel:+123", "a.html", {}, kNone, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    const LinkTarget target = ResolveLink(c.url, c.page, c.base);
    EXPECT_EQ(target.kind, c.kind);
    EXPECT_EQ(c.kind == kOut ? target.url : target.path, c.path_or_url);
    if (c.kind != kNone) {
      EXPECT_EQ(target.fragment, c.fragment);
    }
  }
}

TEST(LinkTargetTest, ReadsSrcsetCandidates) {
  struct Case {
    const char* srcset;
    std::vector<std::pair<std::size_t, std::string>> entries;
  };
  const Case cases[] = {
      {"a.png 1x, b.png 2x", {{0, "a.png"}, {10, "b.png"}}},
      {"  a.png,b.png, c.png,", {{2, "a.png,b.png"}, {15, "c.png"}}},
      {"a.png 100w,\n b.png 200w", {{0, "a.png"}, {13, "b.png"}}},
      {"a.png (foo, bar) 1x, b.png", {{0, "a.png"}, {21, "b.png"}}},
      {"data:image/png;base64,AA== 1x", {{0, "data:image/png;base64,AA=="}}},
      {" , ,", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.srcset);
    std::vector<std::pair<std::size_t, std::string>> entries;
    for (const SrcsetEntry& entry : SrcsetUrls(c.srcset)) {
      entries.emplace_back(entry.offset, std::string(entry.url));
    }
    EXPECT_EQ(entries, c.entries);
  }
}

TEST(LinkTargetTest, DecodesOnlyWholePercentEscapes) {
  EXPECT_EQ(PercentDecoded("a%20b%2Fc%zz%4"), "a b/c%zz%4");
  EXPECT_EQ(PercentDecoded("%C3%A9"), "\xc3\xa9");
}

}  // namespace
}  // namespace pentrak
