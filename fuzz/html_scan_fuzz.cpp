// Reads the input as a page with the fast scanner and, where the scanner does not hand the page
// on, with the full HTML parser too: both must find the same URLs, anchors and base.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "check/page_scan.h"
#include "testing/page_compare.h"

using namespace pentrak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view html(reinterpret_cast<const char*>(data), size);
  PageScan fast;
  if (!ScanHtml(html, fast)) return 0;
  const std::string difference = testing::PageDifference(fast, ParseHtml(html));
  if (!difference.empty()) {
    std::fprintf(stderr, "%s\n", difference.c_str());
    std::abort();
  }
  return 0;
}
