#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

// Where pages listen for the preview's events.
inline constexpr std::string_view kPreviewEventsPath = "/__preview/events";

// The page with the script put before its last "</body>" (in any case), or at the end when it
// has none; every other byte stays as it was.
std::string WithReloadScript(std::string_view page, std::string_view script);

// The script put in a page served from the given start of the preview (its instance) at the
// given build, for the page at the given URL path (encoded): it listens for the preview's events
// from that build on, reloads the page when a run rewrote it or another start of the preview
// serves it now, shows the last run's problems over it, and opens its stream again (from the
// last build it was told of) when the stream breaks.
std::string ReloadScript(std::string_view instance, std::uint64_t build, std::string_view page);

// Where WithReloadScript puts the script in a page of size bytes that is read in blocks from the
// end (read_at copies up to count bytes from offset into data and returns how many), so that a
// page of any size is never held whole.
std::uint64_t ReloadScriptOffset(
    std::uint64_t size,
    const std::function<std::size_t(std::uint64_t offset, char* data, std::size_t count)>& read_at,
    std::size_t block = 64 * 1024);

// One server-sent event: its name and one "data:" line per line ("-" when there are none, since
// an event without data is never delivered). A CR inside a line would end it early and becomes a
// blank.
std::string EventText(std::string_view name, const std::vector<std::string>& lines);

// The path part of the page URL of a generated document, or "" when it is not below root.
std::string PageUrlPath(const std::string& document, const std::string& root);

}  // namespace pentrak
