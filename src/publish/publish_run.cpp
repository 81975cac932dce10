#include "publish/publish_run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "check/link_check.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "platform/user_interface.h"
#include "publish/content_hash.h"
#include "publish/folder_destination.h"
#include "publish/manifest.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

using SteadyClock = std::chrono::steady_clock;

// How often the transfer reports progress and takes in a Stop.
constexpr auto kTick = std::chrono::milliseconds(50);
// How often the manifest is saved during a transfer, so that a killed publish loses little.
constexpr auto kManifestSaveInterval = std::chrono::seconds(2);
// Local files hashed between two looks at the Stop button.
constexpr std::size_t kFilesPerServicing = 64;

constexpr char kTab = '\t';

// A folder path in the form paths are compared in: native separators, ending with one.
std::string FolderKey(const std::string& path) {
  std::string key = NativePath(AbsolutePath(path));
  if (key.empty() || key.back() != '/') key += '/';
  return key;
}

// The folders of a path below a root ("a/b/c.html" gives "a/b" and "a").
std::vector<std::string> FoldersOf(const std::string& path) {
  std::vector<std::string> folders;
  for (std::size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0;
       slash = path.rfind('/', slash - 1)) {
    folders.push_back(path.substr(0, slash));
  }
  return folders;
}

// What the worker threads tell the thread that runs the publish.
struct TransferEvent {
  enum Kind { kBegun, kDone, kAbandoned, kFailed } kind;
  std::size_t item = 0;  // index into the files to send
  std::string failure;
};

// The state the worker threads share with the publishing thread.
struct TransferState {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<TransferEvent> events;  // guarded by mutex
  int running = 0;                    // guarded by mutex
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::atomic<std::uint64_t> bytes{0};

  void Post(TransferEvent event) {
    {
      std::lock_guard lock(mutex);
      events.push_back(std::move(event));
    }
    changed.notify_one();
  }
};

class PublishRunner {
 public:
  PublishRunner(PublishContext& context, const PublishRequest& request)
      : c_(context),
        request_(request),
        text_(DestinationText(request.destination)),
        manifest_path_(ManifestPath(context.work_folder, text_)),
        root_(FolderKey(context.document_root)) {
    outcome_.dry_run = request.dry_run;
  }

  PublishOutcome Run();

 private:
  void CheckFolders() const;
  bool CheckLinks();
  bool ListLocalFiles();
  void Plan();
  bool Compare();
  void DryRun();
  void ChooseRemovals();
  void Transfer();
  void Worker(std::size_t number, TransferState& state);
  void Handle(const TransferEvent& event, PublishProgress& progress);
  void RemoveStale();
  void SaveManifest();
  Destination& Open();

  void Status(const std::string& text) { c_.ui.AddStatusLine(text); }
  void Log(std::string_view text) {
    if (!request_.dry_run) WriteLog(c_.log, text);
  }
  void LogDetail(std::string_view text) { Log(std::string(kLogIndent) + std::string(text)); }
  std::string RunLine(std::string_view label) const;
  void Begin();
  void End();
  [[noreturn]] void Fail(const std::string& reason) const { throw PublishFailure(text_, reason); }

  PublishContext& c_;
  const PublishRequest& request_;
  std::string text_;
  std::string manifest_path_;
  std::string root_;  // the document root as files below it are found: absolute, ending in "/"
  std::vector<LocalFile> local_;
  std::optional<Manifest> manifest_;
  PublishPlan plan_;
  std::vector<std::string> removals_;
  std::unique_ptr<Destination> destination_;
  PublishOutcome outcome_;
  bool planned_ = false;
  SteadyClock::time_point last_save_{};
};

std::string PublishRunner::RunLine(std::string_view label) const {
  std::string line(label);
  line += kTab;
  line += c_.project_name;
  line += kTab;
  line += kTab;
  line += Clock::GeneralText(c_.clock.Now());
  return line;
}

Destination& PublishRunner::Open() {
  if (!destination_) destination_ = c_.open_destination(request_);
  return *destination_;
}

// A destination inside the document root would be published into itself; a document root inside
// the destination would have its own folder counted among the files to remove.
void PublishRunner::CheckFolders() const {
  if (!c_.fs.FolderExists(c_.document_root)) {
    Fail("the document root " + c_.document_root + " does not exist; generate the site first.");
  }
  if (request_.destination.method != kPublishToFolder) return;
  const std::string& root = root_;
  const std::string target = FolderKey(request_.destination.folder);
  if (target.starts_with(root) || root.starts_with(target)) {
    Fail("the folder and the document root " + c_.document_root + " lie inside one another.");
  }
}

// A site with a broken internal link is refused, published or asked about, as the request says;
// false when the user chose not to publish it.
bool PublishRunner::CheckLinks() {
  if (request_.broken_links == BrokenLinks::kPublish) return true;
  bool broken = false;
  try {
    broken = HasBrokenInternalLinks(c_.fs, c_.document_root);
  } catch (const Error& error) {
    Fail("the document root " + c_.document_root + " cannot be read: " + error.description() + ".");
  }
  if (!broken) return true;
  const std::string found = "the site has broken internal links (missing pages, images or anchors)";
  if (request_.broken_links == BrokenLinks::kRefuse) Fail(found + request_.broken_links_advice);
  FlushWorkFiles(c_.log);
  const std::string question = "Before publishing to " + text_ + ": " + found +
                               ". Check Links in the Tools menu lists them.\rPublish anyway?";
  return c_.ui.ShowMessage("Publish", question, Icon::kQuestion, Buttons::kYesNo) == Answer::kYes;
}

bool PublishRunner::ListLocalFiles() {
  const std::string& root = root_;
  const std::string work = FolderKey(c_.work_folder);
  // The work folder may lie inside the document root; its files are not the site's.
  const std::string work_below = work.starts_with(root) ? work.substr(root.size()) : std::string();
  std::vector<std::string> paths;
  try {
    paths = c_.fs.FilesBelow(root);
  } catch (const Error& error) {
    Fail("the document root " + c_.document_root + " cannot be read: " + error.description() + ".");
  }
  for (std::string& path : paths) {
    if (IsTemporaryName(FileNameOfPath(path))) continue;
    if (!work_below.empty() && path.starts_with(work_below)) continue;
    if (local_.size() % kFilesPerServicing == 0 && c_.ui.ServiceEvents()) return false;
    LocalFile file{std::move(path), 0, {}};
    try {
      file.hash = FileContentHash(c_.fs, root + file.path, file.size);
    } catch (const Error& error) {
      Fail("could not read " + root + file.path + ": " + error.description() + ".");
    }
    local_.push_back(std::move(file));
  }
  outcome_.files = static_cast<int>(local_.size());
  return true;
}

void PublishRunner::Plan() {
  manifest_ = ReadManifest(c_.fs, manifest_path_, text_);
  const bool listing = request_.verify || !manifest_;
  std::vector<RemoteFile> files;
  if (listing) files = Open().ListFiles();
  plan_ = PlanPublish(local_, manifest_ ? &*manifest_ : nullptr, listing ? &files : nullptr);
  planned_ = true;
}

bool PublishRunner::Compare() {
  for (std::size_t index : plan_.compare) {
    if (c_.ui.ServiceEvents()) return false;
    SettleComparison(plan_, local_, index, Open().HashFile(local_[index].path));
  }
  plan_.compare.clear();
  // The transfer goes in the order of the site's files, whatever found them to differ.
  std::sort(plan_.send.begin(), plan_.send.end());
  return true;
}

void PublishRunner::ChooseRemovals() {
  const std::vector<std::string>& stale = plan_.stale;
  // A dry run lists what removing would take, and asks nothing.
  bool remove = request_.stale == StaleFiles::kRemove ||
                (request_.dry_run && request_.stale == StaleFiles::kAsk);
  if (request_.stale == StaleFiles::kAsk && !request_.dry_run && !stale.empty()) {
    FlushWorkFiles(c_.log);
    std::string question = Plural(static_cast<long long>(stale.size()), "file") + " at " + text_ +
                           (stale.size() == 1 ? " is" : " are") + " no longer generated. Remove " +
                           (stale.size() == 1 ? "it" : "them") + " once the new files are sent?";
    remove =
        c_.ui.ShowMessage("Publish", question, Icon::kQuestion, Buttons::kYesNo) == Answer::kYes;
  }
  if (remove) removals_ = stale;
  outcome_.kept = static_cast<int>(stale.size() - removals_.size());
}

void PublishRunner::DryRun() {
  for (std::size_t index : plan_.send) {
    Status("Would send: " + local_[index].path);
    outcome_.bytes_sent += local_[index].size;
  }
  for (const std::string& path : removals_) Status("Would remove: " + path);
  outcome_.sent = static_cast<int>(plan_.send.size());
  outcome_.removed = static_cast<int>(removals_.size());
  outcome_.unchanged = plan_.unchanged;
}

void PublishRunner::Worker(std::size_t number, TransferState& state) {
  std::unique_ptr<DestinationLink> own;
  DestinationLink* link = &destination_->MainLink();
  if (number > 0) {
    // A further connection only speeds things up: one that cannot be made leaves the files
    // to the others.
    try {
      own = destination_->OpenLink();
    } catch (const std::exception&) {
    }
    link = own.get();
  }
  TransferHooks hooks{[&state](std::uint64_t bytes) { state.bytes += bytes; },
                      [&state] { return state.stop.load(); }};
  while (link != nullptr && !state.stop) {
    const std::size_t item = state.next++;
    if (item >= plan_.send.size()) break;
    const LocalFile& file = local_[plan_.send[item]];
    state.Post({TransferEvent::kBegun, item, {}});
    try {
      bool done = link->PutFile(file.path, root_ + file.path, hooks);
      state.Post({done ? TransferEvent::kDone : TransferEvent::kAbandoned, item, {}});
    } catch (const std::exception& error) {
      state.stop = true;
      state.Post({TransferEvent::kFailed, item, error.what()});
    }
  }
  {
    std::lock_guard lock(state.mutex);
    --state.running;
  }
  state.changed.notify_one();
}

void PublishRunner::Handle(const TransferEvent& event, PublishProgress& progress) {
  const LocalFile& file = local_[plan_.send[event.item]];
  switch (event.kind) {
    case TransferEvent::kBegun:
      progress.current = file.path;
      break;
    case TransferEvent::kDone:
      plan_.held[file.path] = ManifestEntry{file.size, file.hash};
      ++outcome_.sent;
      ++progress.files_done;
      outcome_.bytes_sent += file.size;
      Status("Sent: " + file.path);
      LogDetail("Sent: " + file.path);
      break;
    case TransferEvent::kAbandoned:
      break;
    case TransferEvent::kFailed:
      if (outcome_.failure.empty()) outcome_.failure = event.failure;
      break;
  }
}

void PublishRunner::Transfer() {
  PublishProgress progress;
  progress.files_total = static_cast<int>(plan_.send.size());
  for (std::size_t index : plan_.send) progress.bytes_total += local_[index].size;
  TransferState state;
  const std::size_t workers =
      1 + static_cast<std::size_t>(destination_->ExtraLinksWorthOpening(plan_.send.size()));
  state.running = static_cast<int>(workers);
  const SteadyClock::time_point start = SteadyClock::now();
  last_save_ = start;
  std::vector<std::thread> threads;
  for (std::size_t number = 0; number < workers; ++number) {
    threads.emplace_back([this, number, &state] { Worker(number, state); });
  }
  bool stopped = false;
  for (bool finished = false; !finished;) {
    std::vector<TransferEvent> events;
    {
      std::unique_lock lock(state.mutex);
      state.changed.wait_for(lock, kTick,
                             [&state] { return !state.events.empty() || state.running == 0; });
      events.swap(state.events);
      finished = state.running == 0 && state.events.empty();
    }
    for (const TransferEvent& event : events) Handle(event, progress);
    progress.bytes_done = std::min(state.bytes.load(), progress.bytes_total);
    progress.seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
    if (c_.on_progress) c_.on_progress(progress);
    if (!stopped && c_.ui.ServiceEvents()) {
      stopped = true;
      state.stop = true;
    }
    if (SteadyClock::now() - last_save_ > kManifestSaveInterval) {
      SaveManifest();
      FlushWorkFiles(c_.log);
    }
  }
  for (std::thread& thread : threads) thread.join();
  if (!outcome_.failure.empty()) throw PublishError(outcome_.failure);
  if (stopped) outcome_.end = PublishEnd::kStopped;
}

void PublishRunner::RemoveStale() {
  Destination& destination = Open();
  for (const std::string& path : plan_.leftovers) {
    try {
      destination.RemoveFile(path);
    } catch (const PublishError&) {
      // A leftover of an interrupted publish, hidden from visitors; the next one tries again.
    }
  }
  std::set<std::string> kept_folders;
  for (const LocalFile& file : local_) {
    for (std::string& folder : FoldersOf(file.path)) kept_folders.insert(std::move(folder));
  }
  std::set<std::string, std::greater<>> emptied;  // the deepest first
  for (const std::string& path : removals_) {
    if (c_.ui.ServiceEvents()) {
      outcome_.end = PublishEnd::kStopped;
      break;
    }
    destination.RemoveFile(path);
    plan_.held.erase(path);
    ++outcome_.removed;
    Status("Removed: " + path);
    LogDetail("Removed: " + path);
    for (std::string& folder : FoldersOf(path)) {
      if (!kept_folders.contains(folder)) emptied.insert(std::move(folder));
    }
  }
  for (const std::string& folder : emptied) destination.RemoveFolderIfEmpty(folder);
}

void PublishRunner::SaveManifest() {
  last_save_ = SteadyClock::now();
  if (!planned_ || request_.dry_run) return;
  // A publish that found nothing to change leaves the manifest as it was.
  if (manifest_ && plan_.held == *manifest_) return;
  // Without the manifest the next publish asks the destination's listing instead; nothing is
  // lost. It must never name files that a power cut could still take away.
  try {
    if (destination_) destination_->Flush();
    WriteManifest(c_.fs, manifest_path_, text_, plan_.held);
  } catch (const PublishError& error) {
    LogDetail(std::string("WARNING: ") + error.what());
  } catch (const Error& error) {
    LogDetail("WARNING: The publish manifest " + manifest_path_ +
              " could not be written: " + error.description());
  }
}

void PublishRunner::Begin() {
  if (request_.dry_run) return;
  ResumeLog(c_.log);
  Log("");
  std::string line = RunLine("Starting Publish: ");
  Log(line);
  Status(line);
  LogDetail(">To " + text_);
}

void PublishRunner::End() {
  if (!request_.dry_run) {
    std::string_view label = outcome_.end == PublishEnd::kCompleted ? "Completed Publish:"
                             : outcome_.end == PublishEnd::kStopped ? "Stopped Publish:  "
                                                                    : "Error in Publish: ";
    if (!outcome_.failure.empty()) LogDetail("ERROR: " + outcome_.failure);
    std::string line = RunLine(label);
    Log("");
    Log(line);
    Status(line);
  }
  std::string summary = PublishSummary(outcome_);
  Log(summary);
  Status(summary);
  FlushWorkFiles(c_.log);
}

PublishOutcome PublishRunner::Run() {
  WorkFilesHold hold(c_.log);
  Begin();
  try {
    if (request_.destination.method == kPublishNowhere) Fail("no destination is set.");
    CheckFolders();
    if (!CheckLinks() || !ListLocalFiles()) {
      outcome_.end = PublishEnd::kStopped;
    } else {
      Plan();
      if (!Compare()) outcome_.end = PublishEnd::kStopped;
    }
    if (outcome_.end == PublishEnd::kCompleted) {
      ChooseRemovals();
      outcome_.unchanged = plan_.unchanged;
      if (request_.dry_run) {
        DryRun();
      } else if (!plan_.send.empty() || !removals_.empty() || !plan_.leftovers.empty()) {
        Open();
        Transfer();
        if (outcome_.end == PublishEnd::kCompleted) RemoveStale();
      }
    }
  } catch (const PublishError& error) {
    outcome_.end = PublishEnd::kFailed;
    outcome_.failure = error.what();
  }
  SaveManifest();
  End();
  return outcome_;
}

}  // namespace

PublishContext PublishContextOf(Workbench& workbench) {
  PublishContext context{workbench.fs,
                         workbench.ui,
                         LogContextOf(workbench),
                         workbench.project.name,
                         workbench.project.document_root,
                         workbench.work_files.work_folder,
                         workbench.clock,
                         {},
                         {}};
  const FileSystem& fs = workbench.fs;
  context.open_destination = [&fs](const PublishRequest& request) {
    return OpenDestination(fs, request);
  };
  return context;
}

std::unique_ptr<Destination> OpenDestination(const FileSystem& fs, const PublishRequest& request) {
  if (request.destination.method == kPublishBySftp) {
    return OpenSftpDestination(fs, request.destination, request.ssh);
  }
  return std::make_unique<FolderDestination>(fs, request.destination.folder);
}

PublishOutcome RunPublish(PublishContext& context, const PublishRequest& request) {
  return PublishRunner(context, request).Run();
}

std::string PublishSummary(const PublishOutcome& o) {
  const bool would = o.dry_run;
  std::string text = (would ? "Would send " : "Sent ") + std::to_string(o.sent) + " of " +
                     Plural(o.files, "file") + " (" + ByteSize(o.bytes_sent) + ")" +
                     (would ? ", remove " : ", removed ") + Plural(o.removed, "file") + "; " +
                     std::to_string(o.unchanged) + " unchanged";
  if (o.kept > 0) {
    text +=
        "; " + Plural(o.kept, "file") + " no longer generated " + (would ? "would stay" : "kept");
  }
  return text + ".";
}

}  // namespace pentrak
