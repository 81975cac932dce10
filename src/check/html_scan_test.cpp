#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "check/page_scan.h"
#include "testing/page_compare.h"

namespace pentrak {
namespace {

std::vector<std::string> Values(const PageScan& scan) {
  std::vector<std::string> values;
  for (const PageUrl& url : scan.urls) values.push_back(url.value);
  return values;
}

std::set<std::string> Anchors(const PageScan& scan) {
  return std::set<std::string>(scan.anchors.begin(), scan.anchors.end());
}

// Pages the scanner reads itself: what it finds, and that the full parser finds the same.
TEST(HtmlScanTest, FindsUrlsAndAnchorsWhereBrowsersDo) {
  struct Case {
    const char* what;
    std::string html;
    std::vector<std::string> urls;
    std::set<std::string> anchors;
    std::optional<std::string> base;
  };
  const Case cases[] = {
      {"quoted, unquoted, upper case",
       "<A HREF='a.html' NAME=top><img src=i.png id=\"x\">",
       {"a.html", "i.png"},
       {"top", "x"},
       std::nullopt},
      {"a comment is no link", "<!-- <a href=c.html> --><a href=d.html>", {"d.html"}, {}, {}},
      {"comments end early or at --!>",
       "<!--><a href=a><!---><a href=b><!-- --!><a href=c>",
       {"a", "b", "c"},
       {},
       {}},
      {"script text is no link",
       "<script>var a='<a href=\"s.html\">';</script><img src=i.png>",
       {"i.png"},
       {},
       {}},
      {"a script inside a script comment does not end it",
       "<script><!--<script></script><a href=x></script><a href=y>",
       {"y"},
       {},
       {}},
      {"text elements hold no tags",
       "<textarea><a href=t></textarea><title><a href=u></title x='>'><style><a href=v></style>"
       "<a href=w>",
       {"w"},
       {},
       {}},
      {"escaped text is no link", "<p>&lt;a href=\"e.html\"&gt;</p>", {}, {}, {}},
      {"references in values",
       "<a href=\"q?a=1&amp;b=2&c=3&copy=4&#65;&#x42;\">",
       {"q?a=1&b=2&c=3&copy=4AB"},
       {},
       {}},
      {"the first of two equal attributes", "<a href=x href=y id=i id=j>", {"x"}, {"i"}, {}},
      {"srcset and poster",
       "<img src=a.png srcset=\"b.png 2x\"><video poster=p.jpg src=v.mp4>",
       {"a.png", "b.png 2x", "p.jpg", "v.mp4"},
       {},
       {}},
      {"the first base", "<base href=\"/sub/\"><base href=\"/other/\">", {}, {}, "/sub/"},
      {"a form inside a form is dropped",
       "<form id=f1><form id=f2></form><form id=f3>",
       {},
       {"f1", "f3"},
       {}},
      {"a tag the page ends inside is dropped", "<a href=x><a href=\"unterminated", {"x"}, {}, {}},
      {"line ends in values", "<div id=\"a\r\nb\">", {}, {"a\nb"}, {}},
      {"bogus comments and doctype",
       "<!DOCTYPE html><?x <a href=n>?><!x <a href=m>><a href=k>",
       {"k"},
       {},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PageScan fast;
    ASSERT_TRUE(ScanHtml(c.html, fast));
    EXPECT_EQ(Values(fast), c.urls);
    EXPECT_EQ(Anchors(fast), c.anchors);
    EXPECT_EQ(fast.base, c.base);
    EXPECT_EQ(testing::PageDifference(fast, ParseHtml(c.html)), "");
  }
}

TEST(HtmlScanTest, PlacesEachUrlAtItsValue) {
  // Offsets are counted by hand: at the quote of a quoted value, at the first character of an
  // unquoted one, at the name of an attribute without a value.
  PageScan scan;
  ASSERT_TRUE(ScanHtml("<!-- x --><a href=\"a.html\"> <img src=b.png> <a href>", scan));
  ASSERT_EQ(scan.urls.size(), 3u);
  EXPECT_EQ(scan.urls[0].offset, 18u);
  EXPECT_TRUE(scan.urls[0].quoted);
  EXPECT_EQ(scan.urls[1].offset, 37u);
  EXPECT_FALSE(scan.urls[1].quoted);
  EXPECT_EQ(scan.urls[2].offset, 47u);
  EXPECT_EQ(scan.urls[2].value, "");
  PageScan decoded;
  ASSERT_TRUE(ScanHtml("<a href=\"a&amp;b\"><a href=\"ab\">", decoded));
  EXPECT_FALSE(decoded.urls[0].verbatim);
  EXPECT_TRUE(decoded.urls[1].verbatim);
}

// What only a tree builder decides goes to the full parser, whose reading ReadPage returns.
TEST(HtmlScanTest, HandsTreeBuilderCasesToTheFullParser) {
  struct Case {
    std::string html;
    std::vector<std::string> urls;
    std::set<std::string> anchors;
  };
  const Case cases[] = {
      {"<svg><a href=x id=s></a></svg><a href=y>", {"y"}, {"s"}},
      {"<select><a href=x></a></select><a href=y>", {"y"}, {}},
      {"<td id=c><a href=y>", {"y"}, {}},
      {"<a href=\"&eacute;.html\">", {"\xc3\xa9.html"}, {}},
      {std::string("<a href='a\0b'>", 14),
       {"a\xef\xbf\xbd"
        "b"},
       {}},
      {"<frameset><a href=x></frameset>", {}, {}},
      {"<template><a href=x></template>", {"x"}, {}},
      {"<body id=a><body id=b class=c>", {}, {"a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html.c_str());
    PageScan fast;
    EXPECT_FALSE(ScanHtml(c.html, fast));
    PageScan page = ReadPage(c.html);
    EXPECT_EQ(Values(page), c.urls);
    EXPECT_EQ(Anchors(page), c.anchors);
  }
}

}  // namespace
}  // namespace pentrak
