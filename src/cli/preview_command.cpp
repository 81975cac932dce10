#include <CLI/CLI.hpp>
#include <chrono>
#include <csignal>
#include <memory>
#include <ostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "platform/desktop_open.h"
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

// A signal handler can only leave a mark in a flag of static storage; the loop below reads it.
volatile std::sig_atomic_t stop_signal = 0;

extern "C" void NoteStopSignal(int signal_number) { stop_signal = signal_number; }

// Catches SIGINT and SIGTERM while the preview runs, so that it ends its serving threads
// cleanly; a handler (unlike a blocked mask) is not passed on to the browser it starts.
class StopSignals {
 public:
  StopSignals() {
    stop_signal = 0;
    struct sigaction action {};
    action.sa_handler = NoteStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &old_interrupt_);
    ::sigaction(SIGTERM, &action, &old_terminate_);
  }
  ~StopSignals() {
    ::sigaction(SIGINT, &old_interrupt_, nullptr);
    ::sigaction(SIGTERM, &old_terminate_, nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  bool received() const { return stop_signal != 0; }

 private:
  struct sigaction old_interrupt_ {};
  struct sigaction old_terminate_ {};
};

int RunPreview(CommandContext& context, const PreviewCommandOptions& options) {
  // Nobody answers questions while the preview runs: each takes its preset answer.
  Session session(context, ConsoleAnswers{});
  if (!session.StartOnCurrentProject(options.project)) return kExitUsage;
  Workbench& workbench = session.workbench();
  StopSignals signals;
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
  while (!signals.received()) {
    server.Step(std::chrono::milliseconds(100));
    context.out.flush();
  }
  server.Stop();
  context.out << "Preview stopped." << std::endl;
  return kExitCompleted;
}

}  // namespace

void AddPreviewCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<PreviewCommandOptions>();
  CLI::App* command = app.add_subcommand(
      "preview", "Serve the document root, regenerate on every save, reload open pages.");
  command->add_option("project", options->project,
                      "Project file (.web); without it the current project is previewed");
  command
      ->add_option("--port", options->server.port,
                   "Port to listen on; the next free one when it is taken, 0 for any")
      ->check(CLI::Range(0, 65535))
      ->capture_default_str();
  command
      ->add_option("--bind", options->server.bind,
                   "Address to listen on (0.0.0.0 serves other machines too)")
      ->capture_default_str();
  command->add_flag("--no-open", options->no_open, "Do not open the browser");
  OnChosen(*command, context, [&context, options] { return RunPreview(context, *options); });
}

}  // namespace pentrak::cli
