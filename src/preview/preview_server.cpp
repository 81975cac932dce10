#include "preview/preview_server.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>

#include "generation/generation_run.h"
#include "platform/error.h"
#include "platform/file_watcher.h"
#include "platform/open_beneath.h"
#include "platform/paths.h"
#include "preview/http_server.h"
#include "preview/live_reload.h"
#include "preview/read_record.h"
#include "preview/run_problems.h"
#include "preview/served_file.h"
#include "project/path_resolution.h"
#include "project/project_structure.h"
#include "settings/program_options.h"
#include "settings/project_file.h"
#include "shell/project_loading.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

// Saves closer together than this make one run (an editor's "save all", a checkout). Short,
// since it is most of the wait for a page: a save that comes later makes one more run, of only
// the documents it changed.
constexpr auto kQuietTime = std::chrono::milliseconds(5);
// Saves that never pause still get a run this often.
constexpr auto kLongestWait = std::chrono::milliseconds(500);
// How often an idle event stream sends a comment, so that a closed page frees its thread.
constexpr auto kKeepAliveEvery = std::chrono::seconds(10);
// A file is read and sent in blocks of this size.
constexpr std::size_t kSendBlock = 64 * 1024;

// Forwards to the front end's seam while keeping what the overlay shows. The "Comparing:"
// line of every document of a large project says nothing about a save, so it is not shown.
class RunRecorder : public UserInterface {
 public:
  explicit RunRecorder(UserInterface& inner) : inner_(inner) {}

  Answer ShowMessage(std::string_view title, std::string_view text, Icon icon,
                     Buttons buttons) override {
    messages.emplace_back(text);
    return inner_.ShowMessage(title, text, icon, buttons);
  }
  FourButtonAnswer AskFourButtons(std::string_view title, std::string_view text, FourButtons shown,
                                  FourButtonAnswer preset) override {
    return inner_.AskFourButtons(title, text, shown, preset);
  }
  void AddStatusLine(std::string_view text) override {
    if (text.rfind("Comparing:", 0) == 0) return;
    last_status.assign(text);
    inner_.AddStatusLine(text);
  }
  void ClearStatus() override { inner_.ClearStatus(); }
  bool ServiceEvents() override { return inner_.ServiceEvents(); }
  void Beep() override {}
  void ShowProgress(int done, int total) override { inner_.ShowProgress(done, total); }
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_path) override {
    return inner_.ChooseOpenFile(title, filter, initial_path);
  }
  std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_path) override {
    return inner_.ChooseSaveFile(title, filter, initial_path);
  }

  std::string last_status;
  std::vector<std::string> messages;

 private:
  UserInterface& inner_;
};

// The library's default lets a second server share a taken port; a taken port must fail so
// that the next one is tried.
void ReuseAddressOnly(socket_t sock) {
  int yes = 1;
  ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

// The URL paths (encoded, as pages know themselves) of the pages a run rewrote, from its
// generated-files list.
std::vector<std::string> RewrittenPages(const FileSystem& fs, const std::string& list,
                                        const std::string& root) {
  std::vector<std::string> pages;
  try {
    for (const std::string& document : fs.ReadLines(list)) {
      std::string page = PageUrlPath(document, root);
      if (!page.empty()) pages.push_back(EncodedUrlPath(page));
    }
  } catch (const Error&) {
    return {"*"};
  }
  return pages;
}

bool Contains(const std::vector<std::string>& paths, const std::string& path) {
  return !path.empty() && std::find(paths.begin(), paths.end(), path) != paths.end();
}

// The build a page's event stream says its page was served at; nothing when it says none.
std::optional<std::uint64_t> BuildOf(const httplib::Request& request) {
  const std::string text = request.get_param_value("build");
  std::uint64_t build = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), build);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return build;
}

// The path a file below one root would have below another, or "" when it is not below the
// first (or a root is missing).
std::string UnderOtherRoot(const std::string& file, std::string root, const std::string& other) {
  if (root.empty() || other.empty()) return "";
  if (root.back() != '/') root += '/';
  if (file.size() <= root.size() || file.compare(0, root.size(), root) != 0) return "";
  return JoinPath(other, file.substr(root.size()));
}

// The default drive goes in front of the paths a definition read gives.
std::string DriveOptions(const ProgramOptions& options) {
  return std::to_string(options.enable_default_drive) + options.default_drive;
}

}  // namespace

PreviewServer::PreviewServer(Workbench& workbench) : workbench_(workbench) {}

PreviewServer::~PreviewServer() { Stop(); }

std::string PreviewServer::Start(const PreviewOptions& options) {
  Stop();
  channel_ = std::make_unique<PageChannel>();
  server_ = std::make_unique<HttpServer>(options.limits, options.bind);
  std::string failure = Bind(options);
  if (!failure.empty()) {
    server_.reset();
    return failure;
  }
  server_->WidenBacklog();
  Route(options.most_event_streams);
  watcher_ = MakeFileWatcher();
  watched_.clear();
  changed_.clear();
  record_ = std::make_unique<ReadRecord>(workbench_.fs, workbench_.project);
  definition_current_ = false;
  // First looks, before the run reads them.
  record_->LookAgain(workbench_.project.project_file_path);
  record_->LookAgain(DefinitionFilePath());
  RunAndPublish();
  serving_ = std::thread([server = server_.get()] { server->listen_after_bind(); });
  return "";
}

std::string PreviewServer::Bind(const PreviewOptions& options) {
  server_->set_socket_options(ReuseAddressOnly);
  host_ = options.bind;
  if (options.port == 0) {
    port_ = server_->bind_to_any_port(host_);
    if (port_ > 0) return "";
    return "Could not listen on " + host_ + ".";
  }
  int last = std::min(options.port + std::max(options.more_ports, 0), 65535);
  for (int port = options.port; port <= last; ++port) {
    if (server_->bind_to_port(host_, port)) {
      port_ = port;
      return "";
    }
  }
  std::string ports = options.port == last
                          ? "port " + std::to_string(last)
                          : "ports " + std::to_string(options.port) + " to " + std::to_string(last);
  return "Could not listen on " + host_ + " at " + ports + ".";
}

void PreviewServer::Route(std::size_t most_event_streams) {
  server_->Get(
      std::string(kPreviewEventsPath),
      [this, most_event_streams](const httplib::Request& request, httplib::Response& response) {
        ServeEvents(request, response, most_event_streams);
      });
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    ServeFile(request, response);
  });
}

void PreviewServer::ServeEvents(const httplib::Request& request, httplib::Response& response,
                                std::size_t most_event_streams) {
  // Each open page holds a connection for as long as its stream lasts; past the bound a page
  // goes without reloading rather than take the connections that serve files.
  if (open_streams_.fetch_add(1) >= most_event_streams) {
    open_streams_.fetch_sub(1);
    return SendStatus(response, 503);
  }
  // Counts the stream as open until the library lets go of the provider that holds it.
  std::shared_ptr<std::atomic<std::size_t>> open(
      &open_streams_, [](std::atomic<std::size_t>* count) { count->fetch_sub(1); });
  response.set_header("Cache-Control", "no-store");
  auto stream = std::make_shared<EventStream>(channel_->Open(
      request.get_param_value("instance"), BuildOf(request), request.get_param_value("page")));
  response.set_chunked_content_provider(
      "text/event-stream", [this, stream, open](std::size_t, httplib::DataSink& sink) {
        std::string events = channel_->Next(*stream, kKeepAliveEvery);
        if (channel_->closed()) {
          sink.done();
          return true;
        }
        if (events.empty()) events = ": still here\n\n";
        return sink.write(events.data(), events.size());
      });
}

void PreviewServer::ServeFile(const httplib::Request& request, httplib::Response& response) {
  // Taken before the file is opened: a run that rewrites it after this makes a newer build, and
  // the page learns of that run when its stream opens.
  const std::uint64_t build = channel_->Build();
  const std::string root = channel_->Root();
  ServedFile served = FindServedFile(root, request.path);
  if (served.status == 301) {
    response.set_redirect(EncodedUrlPath(served.location), 301);
    return;
  }
  if (served.status != 200) return SendStatus(response, served.status);
  std::uint64_t insert_at = served.size;
  std::string script;
  if (IsHtml(served.path)) {
    try {
      insert_at =
          ReloadScriptOffset(served.size, [&](std::uint64_t offset, char* data, std::size_t count) {
            return ReadAt(served.file, offset, data, count);
          });
    } catch (const Error&) {
      return SendStatus(response, 500);
    }
    script =
        ReloadScript(channel_->instance(), build, EncodedUrlPath(PageUrlPath(served.path, root)));
  }
  std::string type = ContentTypeOf(served.path);
  auto body = std::make_shared<ServedBody>(std::move(served.file), served.size, insert_at,
                                           std::move(script));
  response.set_header("Cache-Control", "no-store");
  if (body->size() == 0) return response.set_content("", type);
  response.set_content_provider(
      body->size(), type, [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        std::vector<char> block(std::min(length, kSendBlock));
        std::size_t n = 0;
        try {
          n = body->Read(offset, block.data(), block.size());
        } catch (const Error&) {
          return false;  // the answer ends early and the client sees it cut short
        }
        return n > 0 && sink.write(block.data(), n);
      });
}

void PreviewServer::Stop() {
  if (!server_) return;
  channel_->Close();
  server_->stop();
  if (serving_.joinable()) serving_.join();
  server_.reset();
  watcher_.reset();
}

std::string PreviewServer::Url() const {
  std::string host = host_;
  if (host == "0.0.0.0" || host.empty()) host = "127.0.0.1";
  if (host == "::") host = "::1";
  if (host.find(':') != std::string::npos) host = "[" + host + "]";
  return "http://" + host + ":" + std::to_string(port_) + "/";
}

bool PreviewServer::Step(std::chrono::milliseconds timeout) {
  if (!watcher_) return false;
  using Steady = std::chrono::steady_clock;
  std::chrono::milliseconds wait = timeout;
  if (!changed_.empty()) {
    // Rounded up, so that the wait ends past the quiet time rather than spinning before it.
    auto until_quiet =
        std::chrono::ceil<std::chrono::milliseconds>(last_change_ + kQuietTime - Steady::now());
    wait = std::clamp(until_quiet, std::chrono::milliseconds(0), timeout);
  }
  NoteChanges(watcher_->Poll(wait));
  Steady::time_point now = Steady::now();
  // A run the window started is servicing events; this one waits for it to end.
  if (changed_.empty() || workbench_.generation.generating) return false;
  if (now - last_change_ < kQuietTime && now - first_change_ < kLongestWait) return false;
  std::vector<std::string> saved = std::move(changed_);
  changed_.clear();
  // A save that left its file's bytes as they were is no reason to run.
  std::vector<std::string> changed;
  for (const std::string& path : saved) {
    if (record_->LookAgain(path)) changed.push_back(path);
  }
  if (changed.empty()) return false;
  if (run_hook_) run_hook_(true);
  Regenerate(changed);
  if (run_hook_) run_hook_(false);
  return true;
}

void PreviewServer::NoteChanges(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  auto now = std::chrono::steady_clock::now();
  if (changed_.empty()) first_change_ = now;
  last_change_ = now;
  for (const std::string& path : paths) {
    if (!Contains(changed_, path)) changed_.push_back(path);
  }
}

void PreviewServer::Regenerate(const std::vector<std::string>& changed) {
  const std::string project_file = workbench_.project.project_file_path;
  if (Contains(changed, DefinitionFilePath())) definition_current_ = false;
  if (Contains(changed, project_file)) {
    // Read first on the side, so that a broken file leaves the project as it was.
    try {
      ProjectSettings check;
      ReadProjectSettings(workbench_.fs, project_file, check);
    } catch (const Error& error) {
      ReportError(workbench_.ui, error);
      PublishProjectFileProblem(ErrorReportText(error));
      return;
    }
    if (!LoadProjectSettings(workbench_, project_file)) return;
    // Every setting may change every document: tags, limits, roots.
    record_->ForgetDocuments();
    definition_current_ = false;
  }
  RunAndPublish();
}

void PreviewServer::PublishProjectFileProblem(const std::string& message) {
  channel_->Publish(ProblemLines("The project file could not be read.", {message}, {}), {});
  WatchSources(true);
}

bool PreviewServer::DefinitionCurrent() const {
  // A source missing under the content root is taken from the default content root: a file
  // made or removed may change what the definition's names lead to.
  return definition_current_ && workbench_.project.default_content_root.empty() &&
         read_with_drive_ == DriveOptions(workbench_.options);
}

void PreviewServer::RunAndPublish() {
  RunRecorder recorder(workbench_.ui);
  const bool reuse = DefinitionCurrent();
  if (!reuse) {
    SizeDefinitionTables(definition_);
    record_->ReadingDefinition(ProjectMacroFilePath());
    read_with_drive_ = DriveOptions(workbench_.options);
  }
  GenerationContext context{recorder,
                            workbench_.fs,
                            workbench_.clock,
                            workbench_.options,
                            workbench_.display,
                            workbench_.project,
                            definition_,
                            workbench_.macros,
                            workbench_.work_files,
                            workbench_.generation,
                            {},
                            false,
                            record_.get(),
                            reuse};
  const std::uint64_t choices = record_->choices();
  GenerationRun run = RunGeneration(context, kScopeProject);
  // The record chooses once the definition is read whole; a run that halted before that
  // leaves it to be read again.
  definition_current_ = record_->choices() > choices;

  const std::string root = workbench_.project.document_root;
  channel_->SetRoot(NativePath(root));
  std::vector<std::string> problems;
  if (run.end == RunEnd::kHalted || run.errors + run.missing_files + run.warnings > 0) {
    std::vector<std::string> log;
    try {
      log = workbench_.fs.ReadLines(workbench_.work_files.log_file);
    } catch (const Error&) {
      // Logging may be off; the summary and the messages remain.
    }
    // The error report of a vanished source names only the system error; say which it is.
    if (run.end == RunEnd::kHalted) {
      for (const std::string& source : record_->FilesRead()) {
        if (workbench_.fs.FileExists(source)) continue;
        recorder.messages.push_back("Missing source file: " + source);
        workbench_.ui.AddStatusLine(recorder.messages.back());
      }
    }
    problems = ProblemLines(recorder.last_status, recorder.messages, log);
  }
  std::vector<std::string> rewritten;
  std::vector<std::string> written;
  if (run.generated > 0) {
    rewritten = RewrittenPages(workbench_.fs, workbench_.work_files.generated_files_list, root);
    try {
      written = workbench_.fs.ReadLines(workbench_.work_files.generated_files_list);
    } catch (const Error&) {
      // Without the list no page is looked at again; the pages reload all the same.
    }
  }
  // The pages just written, and those that link to them, checked for broken links.
  std::vector<std::string> broken =
      LinkProblemLines(links_.CheckWritten(LinkCheckContextOf(workbench_), written));
  problems.insert(problems.end(), broken.begin(), broken.end());
  channel_->Publish(std::move(problems), std::move(rewritten));
  if (!reuse) WatchSources(run.end == RunEnd::kHalted);
}

void PreviewServer::WatchSources(bool keep_previous) {
  std::set<std::string> sources;
  if (keep_previous) sources = watched_;
  auto add = [&](const std::string& path) {
    if (!path.empty()) sources.insert(path);
  };
  add(workbench_.project.project_file_path);
  add(DefinitionFilePath());
  add(ProjectMacroFilePath());
  const std::string fallback = NativePath(workbench_.project.default_content_root);
  const std::string primary = NativePath(workbench_.project.content_root);
  for (const std::string& file : record_->FilesRead()) {
    add(file);
    // A file taken from the default content root gives way to one made under the content root.
    std::string shadow = UnderOtherRoot(file, fallback, primary);
    add(shadow);
  }
  if (sources == watched_) return;
  std::vector<std::string> added;
  std::set_difference(sources.begin(), sources.end(), watched_.begin(), watched_.end(),
                      std::back_inserter(added));
  watched_ = std::move(sources);
  watcher_->Watch(std::vector<std::string>(watched_.begin(), watched_.end()));
  // A file first looked at before its watch began may have changed in between unseen.
  std::vector<std::string> missed;
  for (const std::string& path : added) {
    bool known = record_->Knows(path);
    if (record_->LookAgain(path) && known) missed.push_back(path);
  }
  NoteChanges(missed);
}

std::string PreviewServer::DefinitionFilePath() const {
  PathContext paths{workbench_.fs, workbench_.project, workbench_.options};
  return ResolveProjectPath(paths, workbench_.project.definition_file, true, false);
}

std::string PreviewServer::ProjectMacroFilePath() const {
  if (workbench_.project.project_macro_file.empty()) return "";
  PathContext paths{workbench_.fs, workbench_.project, workbench_.options};
  return ResolveProjectPath(paths, workbench_.project.project_macro_file, true, false);
}

}  // namespace pentrak
