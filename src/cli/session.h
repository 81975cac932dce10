#pragma once

#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/console_user_interface.h"

namespace pentrak {
struct Workbench;
}

namespace pentrak::cli {

// Exit statuses of pentrak-cli.
inline constexpr int kExitCompleted = 0;
inline constexpr int kExitWithErrors = 1;
inline constexpr int kExitUsage = 2;

// The started program behind one sub-command: the console seam on the command's streams, the
// program folder chosen (--home, the executable's folder, or the per-user one) and seeded, and
// the workbench after start-up.
class Session {
 public:
  Session(const CommandContext& context, ConsoleAnswers answers);
  ~Session();

  // Runs the start-up with these batch options; false after reporting when it fails.
  bool Start(const std::string& command_line = "");

  Workbench& workbench() { return *workbench_; }
  ConsoleUserInterface& ui() { return ui_; }

 private:
  const CommandContext& context_;
  ConsoleUserInterface ui_;
  std::unique_ptr<Workbench> workbench_;
};

}  // namespace pentrak::cli
