#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pentrak {

class FileSystem;

// What the web said about an external URL.
struct ExternalAnswer {
  bool checked = false;  // false: no answer came (the finding is a warning, not a broken link)
  bool broken = false;
  std::string problem;    // for a broken or unchecked URL: "404 Not Found", "timed out", ...
  std::int64_t time = 0;  // when the answer came, in seconds since the epoch

  friend bool operator==(const ExternalAnswer&, const ExternalAnswer&) = default;
};

// How external URLs are asked about.
struct ExternalCheckOptions {
  int per_host = 2;  // requests at a time to one host
  int workers = 8;   // requests at a time in all
  std::chrono::milliseconds timeout{10000};
  int attempts = 3;  // for a server that answers 429 or 503: the first request and two more
  std::chrono::seconds longest_wait{120};  // a Retry-After beyond this is not waited for
  std::chrono::seconds cache_life{86400};  // 0: nothing is kept
  std::string cache_file;                  // "": no cache
  std::int64_t now = 0;                    // seconds since the epoch, for the cache
};

// Asks about every URL (absolute, without fragments): a HEAD request, a GET where HEAD is not
// allowed, redirects followed, a Retry-After waited for. Answers younger than the cache's life
// are taken from the cache file, and the new definite answers (the URL works or is broken) are
// written to it; a cache file that cannot be read or written is passed by.
std::map<std::string, ExternalAnswer> CheckExternalUrls(const FileSystem& fs,
                                                        const std::vector<std::string>& urls,
                                                        const ExternalCheckOptions& options);

// The cache file's text for these answers, and the answers of such a text that are younger than
// life at now; lines that do not read as answers are left out.
std::string CacheText(const std::map<std::string, ExternalAnswer>& answers);
std::map<std::string, ExternalAnswer> ReadCacheText(const std::string& text, std::int64_t now,
                                                    std::chrono::seconds life);

// How long a Retry-After value asks to wait: seconds, or an HTTP date against now; nothing when
// it reads as neither.
std::optional<std::chrono::seconds> RetryAfter(const std::string& value, std::int64_t now);

}  // namespace pentrak
