#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "settings/project_history.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

// The history as the main window's project list shows it: every named entry that is not
// dropped, in slot order, the current one marked with "*".
void PrintProjects(std::ostream& out, const ProjectHistory& history) {
  std::size_t width = 0;
  std::vector<int> shown;
  for (int i = 0; i <= history.last_index; ++i) {
    const ProjectHistoryEntry& entry = history.entries[static_cast<std::size_t>(i)];
    if (entry.name.empty() || entry.status < kHistoryKnown) continue;
    shown.push_back(i);
    width = std::max(width, entry.name.size());
  }
  if (shown.empty()) {
    out << "No projects.\n";
    return;
  }
  for (int i : shown) {
    const ProjectHistoryEntry& entry = history.entries[static_cast<std::size_t>(i)];
    out << (i == history.current_index ? "* " : "  ") << entry.name
        << std::string(width - entry.name.size() + 2, ' ') << entry.project_file << '\n';
  }
}

int RunProjects(CommandContext& context) {
  Session session(context, ConsoleAnswers{});
  if (!session.Start()) return kExitUsage;
  PrintProjects(context.out, session.workbench().history);
  return kExitCompleted;
}

}  // namespace

void AddProjectsArguments(CLI::App& command, CommandContext& context) {
  OnChosen(command, context, [&context] { return RunProjects(context); });
}

}  // namespace pentrak::cli
