#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

// Where pages listen for the preview's events.
inline constexpr std::string_view kPreviewEventsPath = "/__preview/events";

// The page with the reload script put before its last "</body>" (in any case), or at the end
// when it has none; every other byte stays as it was.
std::string WithReloadScript(std::string_view page);

// One server-sent event: its name and one "data:" line per line ("-" when there are none, since
// an event without data is never delivered). A CR inside a line would end it early and becomes a
// blank.
std::string EventText(std::string_view name, const std::vector<std::string>& lines);

// The path part of the page URL of a generated document, or "" when it is not below root.
std::string PageUrlPath(const std::string& document, const std::string& root);

}  // namespace pentrak
