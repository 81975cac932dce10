#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "check/link_check.h"
#include "preview/http_limits.h"
#include "preview/page_channel.h"
#include "project/definition.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace pentrak {

class FileWatcher;
class HttpServer;
class ReadRecord;
struct Workbench;

// Where the preview listens, and what its clients may take.
struct PreviewOptions {
  std::string bind = "127.0.0.1";
  int port = 1313;      // 0: any free port
  int more_ports = 20;  // when the port is taken, the next ones tried
  HttpLimits limits;
  // Open pages served at once (each holds a connection for its event stream); fewer than the
  // connections, so that the others always have some.
  std::size_t most_event_streams = 128;
};

// Serves the current project's document root over HTTP and regenerates on every save: the
// serving runs on the HTTP library's threads, everything else (watching, generation, the
// workbench) on the thread that calls Start, Step and Stop. A front end starts it, calls Step
// in its loop (or from a timer, with a zero timeout) and stops it. Its runs keep their own copy
// of the definition, read again only when the definition or project file changes, and a record
// of what each document read, from which they regenerate exactly what a save changed.
class PreviewServer {
 public:
  explicit PreviewServer(Workbench& workbench);
  ~PreviewServer();
  PreviewServer(const PreviewServer&) = delete;
  PreviewServer& operator=(const PreviewServer&) = delete;

  // Binds the port (the next free one when it is taken), generates every document (leaving those
  // that come out the same untouched) to learn what each reads, starts watching the project's
  // sources and serving. Returns "" or why it could not listen.
  std::string Start(const PreviewOptions& options);

  // Waits up to timeout for saved sources. Once the saves have paused (several quick saves
  // make one run) and one of them changed what its file holds, regenerates the documents that
  // read a changed file (all of them after a change to the project file) and those whose entry
  // in a changed definition is new or different; then tells open pages. While another run is in
  // progress (a window's Step called from its event servicing) the saves wait; saves made during
  // a run make the next one. True when a run took place.
  bool Step(std::chrono::milliseconds timeout);

  // Called with true before Step regenerates and with false after, so that a window can treat
  // the run as its own (commands disabled, Stop enabled) while it services events.
  void OnRun(std::function<void(bool running)> hook) { run_hook_ = std::move(hook); }

  // Stops serving and watching; open event streams end. Safe to call more than once.
  void Stop();

  bool running() const { return server_ != nullptr; }
  int port() const { return port_; }
  // The home page: "http://ADDRESS:PORT/".
  std::string Url() const;

 private:
  void Route(std::size_t most_event_streams);
  void ServeEvents(const httplib::Request& request, httplib::Response& response,
                   std::size_t most_event_streams);
  void ServeFile(const httplib::Request& request, httplib::Response& response);
  std::string Bind(const PreviewOptions& options);
  void NoteChanges(const std::vector<std::string>& paths);
  void Regenerate(const std::vector<std::string>& saved);
  void RunAndPublish();
  bool DefinitionCurrent() const;
  void PublishProjectFileProblem(const std::string& message);
  void WatchSources(bool keep_previous);
  std::string DefinitionFilePath() const;
  std::string ProjectMacroFilePath() const;

  Workbench& workbench_;
  std::unique_ptr<PageChannel> channel_;  // made anew for every start
  std::unique_ptr<HttpServer> server_;
  std::thread serving_;
  std::unique_ptr<FileWatcher> watcher_;
  std::unique_ptr<ReadRecord> record_;  // made anew for every start
  ProjectDefinition definition_;        // as the runs read it, paths resolved
  bool definition_current_ = false;     // definition_ is complete and nothing changed it since
  std::string read_with_drive_;         // the default-drive options it was read with
  std::set<std::string> watched_;
  std::vector<std::string> changed_;  // saves not yet regenerated
  std::chrono::steady_clock::time_point first_change_{};
  std::chrono::steady_clock::time_point last_change_{};
  std::string host_;
  int port_ = 0;
  std::atomic<std::size_t> open_streams_{0};
  std::function<void(bool)> run_hook_;
  LinkWatch links_;  // the site's links, read again page by page as runs write them
};

}  // namespace pentrak
