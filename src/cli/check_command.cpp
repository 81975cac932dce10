#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "check/link_check.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

struct CheckCommandOptions {
  std::string project;  // empty: the current project
  bool external = false;
  bool json = false;
  bool warn_only = false;
};

int RunCheck(CommandContext& context, const CheckCommandOptions& options) {
  // Ctrl-C ends a check at once: it writes nothing but its cache, and that whole or not at all.
  Session session(context, ConsoleAnswers{});
  if (!session.StartOnCurrentProject(options.project)) return kExitUsage;
  Workbench& workbench = session.workbench();
  const bool external = options.external || workbench.options.check_external_links == 1;
  LinkCheckReport report = CheckLinks(LinkCheckContextOf(workbench), external);
  if (!report.failure.empty()) {
    context.err << "pentrak-cli: " << report.failure << '\n';
    return kExitUsage;
  }
  for (const Finding& finding : report.findings) {
    context.out << (options.json ? FindingJson(finding) + "\n" : FindingText(finding));
  }
  // JSON lines stay alone on the output, one object per finding.
  (options.json ? context.err : context.out) << CheckSummary(report) << '\n';
  context.out.flush();
  return report.errors() > 0 && !options.warn_only ? kExitWithErrors : kExitCompleted;
}

}  // namespace

void AddCheckArguments(CLI::App& command, CommandContext& context) {
  CheckCommandOptions& o = Bind<CheckCommandOptions>(command, context, RunCheck);
  command.add_option("project", o.project,
                     "Project file (.web); without it the current project is checked");
  AddFlags(command,
           {
               {"--external", &o.external,
                "Ask the web about external links too (answers are kept a day by default)"},
               {"--json", &o.json, "Write one JSON object per finding"},
               {"--warn-only", &o.warn_only, "Exit with 0 even when a link is broken"},
           });
}

}  // namespace pentrak::cli
