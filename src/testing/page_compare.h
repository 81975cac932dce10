#pragma once

// For tests and fuzz targets: compares the fast page scanner's reading of a page with the full
// HTML parser's.

#include <string>
#include <string_view>

#include "check/page_scan.h"

namespace pentrak::testing {

// "" when both readings of a page agree; otherwise the first difference in words. The full parser
// turns bytes that are not valid UTF-8, and control characters, into U+FFFD while the scanner
// keeps bytes as they are, so values are compared with every run of such bytes (or of U+FFFD)
// seen as one mark; the parser's duplicates of re-created elements count once.
std::string PageDifference(const PageScan& fast, const PageScan& full);

}  // namespace pentrak::testing
