#pragma once

// For tests only: a generated site in a fresh folder, a work folder with its log, and the
// publish run over them with a scripted user interface.

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "publish/publish_run.h"
#include "settings/program_options.h"
#include "settings/work_files.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

namespace pentrak {

class PublishFixture {
 public:
  PublishFixture() {
    options.enable_logging = 1;
    fs.CreateFolderPath(folder / "site/");
    fs.CreateFolderPath(work() + "x");
    work_files.work_folder = work();
    work_files.log_file = work() + "pentrak.txt";
    fs.WriteFile(work_files.log_file, "Completed Project:\r\n");
  }

  std::string site() const { return folder / "site/"; }
  std::string work() const { return folder / "work/"; }

  // Writes a file of the generated site, with its folders.
  void Site(const std::string& path, const std::string& bytes) const {
    fs.CreateFolderPath(site() + path);
    fs.WriteFile(site() + path, bytes);
  }

  // Publishes the site as the request says; the status lines of this publish only.
  PublishOutcome Publish(const PublishRequest& request) {
    ui.status_lines.clear();
    PublishContext context{
        fs, ui, LogContext{work_files, fs, ui, options}, "Site", site(), work(), clock, {}, {}};
    context.open_destination = [this](const PublishRequest& r) { return OpenDestination(fs, r); };
    return RunPublish(context, request);
  }

  // The status lines that name a file sent or removed, in order.
  std::vector<std::string> FileLines() const {
    std::vector<std::string> lines;
    for (const std::string& line : ui.status_lines) {
      if (line.starts_with("Sent: ") || line.starts_with("Removed: ") ||
          line.starts_with("Would send: ") || line.starts_with("Would remove: ")) {
        lines.push_back(line);
      }
    }
    return lines;
  }

  TestFolder folder;
  FileSystem fs;
  ScriptedUserInterface ui;
  ProgramOptions options;
  WorkFiles work_files;
  Clock clock;
};

}  // namespace pentrak
