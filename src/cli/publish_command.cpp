#include <unistd.h>

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "platform/text_lines.h"
#include "publish/publish_run.h"
#include "settings/publish_destination.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

// Wide enough for the counts and a short path, narrow enough for any terminal.
constexpr std::size_t kProgressWidth = 79;

struct PublishCommandOptions {
  std::string project;  // empty: the current project
  std::string to;       // empty: the project's own destination
  std::string key_file;
  std::string known_hosts;
  bool dry_run = false;
  bool remove = false;
  bool verify = false;
  bool yes = false;
  bool accept_new_host_key = false;
  bool force = false;
};

// The destination the command line or the project names; "" or why there is none.
std::string ChooseDestination(const PublishCommandOptions& options, const ProjectSettings& project,
                              PublishDestination& destination) {
  if (!options.to.empty()) {
    std::string problem = ParseDestination(options.to, destination);
    if (!problem.empty()) return problem;
    if (destination.method == kPublishBySftp) destination.key_file = project.publish.key_file;
  } else {
    if (std::optional<std::string> problem = CheckPublishSettings(project.publish)) {
      return "the publish settings of " + project.project_file_path +
             " cannot be used: " + *problem;
    }
    if (project.publish.method == kPublishNowhere) {
      return project.name +
             " has nowhere to publish to; choose a destination on the Publish tab of Project "
             "Properties, or name one with --to.";
    }
    destination = DestinationOf(project.publish);
  }
  if (!options.key_file.empty()) destination.key_file = options.key_file;
  return "";
}

PublishRequest RequestFor(const PublishCommandOptions& options, UserInterface& ui,
                          bool interactive) {
  PublishRequest request;
  request.dry_run = options.dry_run;
  request.verify = options.verify;
  if (options.remove) request.stale = options.yes ? StaleFiles::kRemove : StaleFiles::kAsk;
  request.broken_links = options.force ? BrokenLinks::kPublish : BrokenLinks::kRefuse;
  request.broken_links_advice =
      "; pentrak-cli check lists them, and publish --force sends the site as it is.";
  request.ssh.known_hosts = options.known_hosts;
  request.ssh.unknown_host_key_advice =
      "; make sure it is the server's key, then publish with --accept-new-host-key to trust it";
  if (options.accept_new_host_key) {
    request.ssh.trust_new_host_key = [](const std::string&, const std::string&) { return true; };
  } else if (interactive) {
    request.ssh.trust_new_host_key = [&ui](const std::string& host,
                                           const std::string& fingerprint) {
      return ui.ShowMessage("Publish",
                            "The host key of " + host + " is not known: " + fingerprint +
                                ".\rTrust it and record it in known_hosts?",
                            Icon::kQuestion, Buttons::kYesNo) == Answer::kYes;
    };
  }
  return request;
}

int RunPublishCommand(CommandContext& context, const PublishCommandOptions& options) {
  PublishDestination checked;
  if (!options.to.empty()) {
    std::string problem = ParseDestination(options.to, checked);
    if (!problem.empty()) {
      context.err << "pentrak-cli: " << problem << '\n';
      return kExitUsage;
    }
  }
  const bool interactive = CanAskOnTerminal(context);
  if (options.remove && !options.yes && !options.dry_run && !interactive) {
    context.err << "pentrak-cli: publish --delete asks before removing files and there is no "
                   "terminal to ask on; add --yes to remove them without asking. Nothing was "
                   "changed.\n";
    return kExitUsage;
  }
  ConsoleAnswers answers;
  answers.interactive = interactive;
  answers.progress = ::isatty(STDERR_FILENO) == 1;
  Session session(context, answers);
  session.StopOnInterrupt();
  if (!session.StartOnCurrentProject(options.project)) return kExitUsage;
  Workbench& workbench = session.workbench();

  PublishRequest request = RequestFor(options, session.ui(), interactive);
  std::string problem = ChooseDestination(options, workbench.project, request.destination);
  if (!problem.empty()) {
    context.err << "pentrak-cli: " << problem << '\n';
    return kExitUsage;
  }
  PublishContext publish = PublishContextOf(workbench);
  ConsoleUserInterface& ui = session.ui();
  publish.on_progress = [&ui](const PublishProgress& progress) {
    ui.ShowProgressText(ProgressLine(progress, kProgressWidth));
  };
  PublishOutcome outcome = RunPublish(publish, request);
  context.out.flush();
  if (outcome.end == PublishEnd::kFailed) {
    context.err << "pentrak-cli: " << outcome.failure << '\n';
    return kExitWithErrors;
  }
  if (outcome.kept > 0 && !options.remove) {
    context.err << "pentrak-cli: " << Plural(outcome.kept, "file") << " at the destination "
                << (outcome.kept == 1 ? "is" : "are") << " no longer generated; --delete removes "
                << (outcome.kept == 1 ? "it" : "them") << ".\n";
  }
  return outcome.end == PublishEnd::kCompleted ? kExitCompleted : kExitWithErrors;
}

}  // namespace

void AddPublishArguments(CLI::App& command, CommandContext& context) {
  PublishCommandOptions& o = Bind<PublishCommandOptions>(command, context, RunPublishCommand);
  command.add_option("project", o.project,
                     "Project file (.web); without it the current project is published");
  command.add_option("--to", o.to,
                     "Publish here instead of the project's destination: a folder, or "
                     "sftp://[USER@]HOST[:PORT]/PATH (/~/PATH: below the login's home)");
  command.add_option("--key-file", o.key_file,
                     "Sign in to the SFTP server with this private key instead of the "
                     "project's key file, ssh-agent and the default keys");
  command.add_option("--known-hosts", o.known_hosts,
                     "Check the server's host key against this file instead of "
                     "~/.ssh/known_hosts");
  AddFlags(command,
           {
               {"--dry-run", &o.dry_run, "List what would be sent and removed; change nothing"},
               {"--delete", &o.remove,
                "Remove files an earlier publish sent that the site no longer has"},
               {"--verify", &o.verify,
                "Check the destination's own files instead of trusting the last publish's "
                "manifest"},
               {"--yes", &o.yes, "Remove files (--delete) without asking"},
               {"--force", &o.force, "Publish even when the site has broken internal links"},
               {"--accept-new-host-key", &o.accept_new_host_key,
                "Trust an SFTP server whose host key is not in known_hosts yet and record it "
                "there (a changed key is always refused)"},
           });
}

}  // namespace pentrak::cli
