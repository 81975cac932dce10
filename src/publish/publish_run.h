#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "publish/destination.h"
#include "publish/publish_progress.h"
#include "publish/sftp_destination.h"
#include "settings/publish_destination.h"
#include "settings/work_files.h"

namespace pentrak {

class Clock;
class FileSystem;
class UserInterface;
struct Workbench;

// What becomes of files at the destination that the site no longer has.
enum class StaleFiles { kKeep, kRemove, kAsk };

// What a publish does with a site that holds a broken internal link (a missing file or anchor).
enum class BrokenLinks { kRefuse, kPublish, kAsk };

// One publish as the user asked for it.
struct PublishRequest {
  PublishDestination destination;
  bool dry_run = false;  // list what would be sent and removed, and change nothing
  bool verify = false;   // ask the destination's own listing even when a manifest is kept
  StaleFiles stale = StaleFiles::kKeep;
  BrokenLinks broken_links = BrokenLinks::kRefuse;
  // Told after the refusal of a site with broken links: how to publish it all the same.
  std::string broken_links_advice;
  SshOptions ssh;
};

enum class PublishEnd { kCompleted, kStopped, kFailed };

// How a publish went; a dry run counts what it would have done.
struct PublishOutcome {
  PublishEnd end = PublishEnd::kCompleted;
  bool dry_run = false;
  int files = 0;  // files of the document root
  int sent = 0;
  int removed = 0;
  int unchanged = 0;
  int kept = 0;  // no longer generated, left at the destination
  std::uint64_t bytes_sent = 0;
  std::string failure;  // the sentence that ended a failed publish
};

// What a publish needs of the program.
struct PublishContext {
  const FileSystem& fs;
  UserInterface& ui;
  LogContext log;
  std::string project_name;
  std::string document_root;
  std::string work_folder;
  const Clock& clock;
  // Told where the transfer stands several times a second; may be empty.
  std::function<void(const PublishProgress&)> on_progress;
  // Opens the destination a request names; OpenDestination unless a test hands in another.
  std::function<std::unique_ptr<Destination>(const PublishRequest&)> open_destination;
};

// The context for the workbench's current project.
PublishContext PublishContextOf(Workbench& workbench);

// Opens the local folder or the SFTP server the request names. Throws PublishError.
std::unique_ptr<Destination> OpenDestination(const FileSystem& fs, const PublishRequest& request);

// Sends the document root to the destination: only the files whose contents differ from what the
// destination holds, known from the manifest of the last publish there or, when there is none or
// verify is asked, from the destination's own listing (and its contents where sizes agree and
// the manifest cannot vouch). Files an earlier publish sent that the site no longer has are
// removed as the request says, after the transfer. Status lines, the log section and the
// manifest follow every file; Stop (or Ctrl-C) ends the transfer after the files in hand. A
// failure ends it with one sentence.
PublishOutcome RunPublish(PublishContext& context, const PublishRequest& request);

// The summary line: "Sent 1 of 1250 files (7.0 KB), removed 0 files; 1249 unchanged."
std::string PublishSummary(const PublishOutcome& outcome);

}  // namespace pentrak
