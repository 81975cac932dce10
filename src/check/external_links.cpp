#include "check/external_links.h"

#include <httplib.h>

#include <algorithm>
#include <condition_variable>
#include <ctime>
#include <deque>
#include <iomanip>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/http_status.h"
#include "platform/text_lines.h"

namespace pentrak {

namespace {

using Steady = std::chrono::steady_clock;

std::string StatusText(int status) {
  std::string text = std::to_string(status);
  const char* phrase = HttpReasonPhrase(status);
  return *phrase == '\0' ? "status " + text : text + " " + phrase;
}

std::string FailureText(httplib::Error error) {
  switch (error) {
    case httplib::Error::Connection:
      return "could not connect";
    case httplib::Error::ConnectionTimeout:
      return "timed out while connecting";
    case httplib::Error::Read:
      return "no answer in time";
    case httplib::Error::ExceedRedirectCount:
      return "too many redirects";
    case httplib::Error::SSLConnection:
      return "the secure connection failed";
    case httplib::Error::SSLLoadingCerts:
      return "the trusted certificates could not be loaded";
    case httplib::Error::SSLServerVerification:
      return "the server's certificate is not trusted";
    default:
      return "the request failed (" + httplib::to_string(error) + ")";
  }
}

// "https://host:port" and the rest ("/path?query") of an absolute URL.
std::pair<std::string, std::string> SplitOrigin(const std::string& url) {
  const std::size_t authority = url.find("://");
  const std::size_t path =
      authority == std::string::npos ? std::string::npos : url.find('/', authority + 3);
  if (path == std::string::npos) return {url, "/"};
  return {url.substr(0, path), url.substr(path)};
}

struct Reply {
  int status = 0;  // 0: no answer, error says why
  httplib::Error error = httplib::Error::Success;
  std::string retry_after;
};

Reply Ask(const std::string& url, const ExternalCheckOptions& options, bool head) {
  const auto [origin, path] = SplitOrigin(url);
  httplib::Client client(origin);
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(options.timeout);
  const auto micros =
      std::chrono::duration_cast<std::chrono::microseconds>(options.timeout - seconds);
  client.set_connection_timeout(seconds.count(), micros.count());
  client.set_read_timeout(seconds.count(), micros.count());
  client.set_write_timeout(seconds.count(), micros.count());
  client.set_follow_location(true);
  client.set_keep_alive(false);
  Reply reply;
  auto keep = [&reply](const httplib::Response& response) {
    reply.status = response.status;
    reply.retry_after = response.get_header_value("Retry-After");
    // A redirect is followed; past it the body is not wanted.
    return response.status >= 300 && response.status < 400;
  };
  httplib::Result result =
      head ? client.Head(path)
           : client.Get(path, keep, [](const char*, std::size_t) { return false; });
  if (result) {
    reply.status = result->status;
    reply.retry_after = result->get_header_value("Retry-After");
  } else if (reply.status == 0 || (reply.status >= 300 && reply.status < 400)) {
    reply.status = 0;
    reply.error = result.error();
  }
  return reply;
}

struct Job {
  std::string url;
  int attempt = 1;
};

// Hands out the URLs to the workers, at most per_host at a time for one host, and holds a host
// back while its server asked to wait.
class Asker {
 public:
  Asker(const std::vector<std::string>& urls, const ExternalCheckOptions& options,
        std::map<std::string, ExternalAnswer>& answers)
      : options_(options), answers_(answers), pending_(urls.size()) {
    for (const std::string& url : urls) queue_.push_back(Job{url});
  }

  void Run() {
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(options_.workers, 1)), pending_);
    std::vector<std::jthread> workers;
    for (std::size_t i = 0; i < count; ++i) workers.emplace_back([this] { Work(); });
  }

 private:
  struct Host {
    int busy = 0;
    Steady::time_point not_before{};
  };

  void Work() {
    Job job;
    while (Next(job)) Finish(job, Answer(job));
  }

  bool Next(Job& job) {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (pending_ == 0) return false;
      const Steady::time_point now = Steady::now();
      Steady::time_point earliest = Steady::time_point::max();
      for (auto it = queue_.begin(); it != queue_.end(); ++it) {
        Host& host = hosts_[SplitOrigin(it->url).first];
        if (host.busy >= options_.per_host) continue;
        if (host.not_before > now) {
          earliest = std::min(earliest, host.not_before);
          continue;
        }
        ++host.busy;
        job = std::move(*it);
        queue_.erase(it);
        return true;
      }
      if (earliest == Steady::time_point::max()) {
        changed_.wait(lock);
      } else {
        changed_.wait_until(lock, earliest);
      }
    }
  }

  // The answer for the URL, or nothing when it is to be asked again after a wait.
  std::optional<ExternalAnswer> Answer(const Job& job) {
    Reply reply = Ask(job.url, options_, true);
    const bool busy = reply.status == 429 || reply.status == 503;
    // Some servers refuse HEAD, or answer it wrongly: a failure is confirmed with GET.
    if (reply.status >= 400 && !busy) reply = Ask(job.url, options_, false);
    ExternalAnswer answer;
    answer.time = options_.now;
    if (reply.status == 0) {
      answer.problem = FailureText(reply.error);
      answer.checked = reply.error == httplib::Error::ExceedRedirectCount;
      answer.broken = answer.checked;
      return answer;
    }
    if (reply.status == 429 || reply.status == 503) {
      std::optional<std::chrono::seconds> wait = RetryAfter(reply.retry_after, options_.now);
      const std::chrono::seconds delay = wait.value_or(std::chrono::seconds(job.attempt));
      if (delay > options_.longest_wait) {
        answer.problem = StatusText(reply.status) + ", and the server asks to wait " +
                         Plural(delay.count(), "second");
        return answer;
      }
      if (job.attempt < options_.attempts) {
        std::lock_guard lock(mutex_);
        Host& host = hosts_[SplitOrigin(job.url).first];
        host.not_before = std::max(host.not_before, Steady::now() + delay);
        return std::nullopt;
      }
      answer.problem = StatusText(reply.status);
      return answer;
    }
    answer.checked = true;
    answer.broken = reply.status >= 400;
    if (answer.broken) answer.problem = StatusText(reply.status);
    return answer;
  }

  void Finish(Job& job, std::optional<ExternalAnswer> answer) {
    std::lock_guard lock(mutex_);
    --hosts_[SplitOrigin(job.url).first].busy;
    if (answer) {
      answers_[job.url] = std::move(*answer);
      --pending_;
    } else {
      ++job.attempt;
      queue_.push_back(std::move(job));
    }
    changed_.notify_all();
  }

  const ExternalCheckOptions& options_;
  std::map<std::string, ExternalAnswer>& answers_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> queue_;
  std::map<std::string, Host> hosts_;
  std::size_t pending_;
};

}  // namespace

std::optional<std::chrono::seconds> RetryAfter(const std::string& value, std::int64_t now) {
  const std::string_view text = TrimBlanks(value);
  if (text.empty()) return std::nullopt;
  if (std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    if (text.size() > 9) return std::chrono::seconds(999999999);
    return std::chrono::seconds(std::stoll(std::string(text)));
  }
  // An HTTP date: "Sun, 06 Nov 1994 08:49:37 GMT".
  std::tm tm{};
  std::istringstream in{std::string(text)};
  in.imbue(std::locale::classic());
  in >> std::get_time(&tm, "%a, %d %b %Y %H:%M:%S");
  if (in.fail()) return std::nullopt;
  const std::int64_t when = timegm(&tm);
  return std::chrono::seconds(std::max<std::int64_t>(when - now, 0));
}

std::string CacheText(const std::map<std::string, ExternalAnswer>& answers) {
  std::string text;
  for (const auto& [url, answer] : answers) {
    if (!answer.checked) continue;
    text += std::to_string(answer.time) + "\t" + (answer.broken ? "broken" : "ok") + "\t" +
            answer.problem + "\t" + url + "\r\n";
  }
  return text;
}

std::map<std::string, ExternalAnswer> ReadCacheText(const std::string& text, std::int64_t now,
                                                    std::chrono::seconds life) {
  std::map<std::string, ExternalAnswer> answers;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0; fields.size() < 3;) {
      const std::size_t tab = line.find('\t', start);
      if (tab == std::string_view::npos) break;
      fields.push_back(line.substr(start, tab - start));
      start = tab + 1;
      if (fields.size() == 3) fields.push_back(line.substr(start));
    }
    if (fields.size() != 4 || fields[3].empty() || fields[0].empty() || fields[0].size() > 18 ||
        !std::all_of(fields[0].begin(), fields[0].end(),
                     [](char c) { return c >= '0' && c <= '9'; }) ||
        (fields[1] != "ok" && fields[1] != "broken")) {
      continue;
    }
    ExternalAnswer answer;
    answer.time = std::stoll(std::string(fields[0]));
    if (answer.time > now || now - answer.time >= life.count()) continue;
    answer.checked = true;
    answer.broken = fields[1] == "broken";
    answer.problem = std::string(fields[2]);
    answers[std::string(fields[3])] = std::move(answer);
  }
  return answers;
}

std::map<std::string, ExternalAnswer> CheckExternalUrls(const FileSystem& fs,
                                                        const std::vector<std::string>& urls,
                                                        const ExternalCheckOptions& options) {
  std::map<std::string, ExternalAnswer> cached;
  if (!options.cache_file.empty() && options.cache_life.count() > 0) {
    try {
      if (std::optional<std::string> text = fs.ReadFileIfPresent(options.cache_file)) {
        cached = ReadCacheText(*text, options.now, options.cache_life);
      }
    } catch (const Error&) {
      // An unreadable cache only costs the requests it would have saved.
    }
  }
  std::map<std::string, ExternalAnswer> answers;
  std::vector<std::string> asked;
  for (const std::string& url : urls) {
    auto hit = cached.find(url);
    if (hit != cached.end()) {
      answers[url] = hit->second;
    } else {
      asked.push_back(url);
    }
  }
  if (asked.empty()) return answers;
  std::map<std::string, ExternalAnswer> fresh;
  Asker(asked, options, fresh).Run();
  answers.insert(fresh.begin(), fresh.end());
  if (options.cache_file.empty() || options.cache_life.count() <= 0) return answers;
  for (const auto& [url, answer] : fresh) cached[url] = answer;
  try {
    fs.WriteFile(options.cache_file, CacheText(cached));
  } catch (const Error&) {
    // The next check asks again.
  }
  return answers;
}

}  // namespace pentrak
