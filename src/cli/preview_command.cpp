#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <memory>
#include <ostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "platform/desktop_open.h"
#include "platform/interrupt_watcher.h"
#include "preview/preview_server.h"
#include "shell/startup.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

struct PreviewCommandOptions {
  std::string project;
  PreviewOptions server;
  bool no_open = false;
};

int RunPreview(CommandContext& context, const PreviewCommandOptions& options) {
  // Ctrl-C (or SIGTERM from a service manager) ends the preview cleanly, its serving threads
  // joined, and stops a regeneration in progress after the document in hand; a second one ends
  // the program at once. A handler, unlike a blocked mask, is not passed on to the browser.
  InterruptWatcher interrupts({SIGINT, SIGTERM});
  // Nobody answers questions while the preview runs: each takes its preset answer. A run of
  // many documents (a global file saved) shows how far it got, as generate does.
  ConsoleAnswers answers;
  answers.progress = ::isatty(STDERR_FILENO);
  Session session(context, answers);
  session.ui().StopOn(interrupts);
  if (!session.StartOnCurrentProject(options.project)) return kExitUsage;
  Workbench& workbench = session.workbench();
  PreviewServer server(workbench);
  std::string failure = server.Start(options.server);
  if (!failure.empty()) {
    context.err << "pentrak-cli: " << failure << '\n';
    return kExitUsage;
  }
  context.out << "Serving " << workbench.project.document_root << " at " << server.Url()
              << "  (Ctrl+C stops)" << std::endl;
  if (!options.no_open && OpenWithDesktop(server.Url(), 1) <= 32) {
    context.err << "pentrak-cli: no browser could be opened; open " << server.Url()
                << " yourself.\n";
  }
  while (!interrupts.StopRequested()) {
    server.Step(std::chrono::milliseconds(100));
    context.out.flush();
  }
  server.Stop();
  context.out << "Preview stopped." << std::endl;
  return kExitCompleted;
}

}  // namespace

void AddPreviewArguments(CLI::App& command, CommandContext& context) {
  PreviewCommandOptions& o = Bind<PreviewCommandOptions>(command, context, RunPreview);
  command.add_option("project", o.project,
                     "Project file (.web); without it the current project is previewed");
  command
      .add_option("--port", o.server.port,
                  "Port to listen on; the next free one when it is taken, 0 for any")
      ->check(CLI::Range(0, 65535))
      ->capture_default_str();
  command
      .add_option("--bind", o.server.bind,
                  "Address to listen on (0.0.0.0 serves other machines too)")
      ->capture_default_str();
  command.add_flag("--no-open", o.no_open, "Do not open the browser");
}

}  // namespace pentrak::cli
