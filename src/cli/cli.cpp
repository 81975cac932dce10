#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <new>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch_form.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "platform/error.h"
#include "shell/exit_status.h"
#include "shell/program_arguments.h"

namespace pentrak::cli {

namespace {

// The last line of defence: whatever escapes a command (memory exhausted by a huge input, a
// fault of a library) ends it with a message and the start-up failure status, never an abort.
template <typename Command>
int Guarded(std::ostream& err, Command command) {
  try {
    return command();
  } catch (const Error& error) {
    err << "pentrak-cli: " << error.description() << '\n';
  } catch (const std::bad_alloc&) {
    err << "pentrak-cli: out of memory; the input is too large\n";
  } catch (const std::exception& error) {
    err << "pentrak-cli: " << error.what() << '\n';
  }
  return kExitUsage;
}

constexpr std::string_view kVersionText = "pentrak-cli " PENTRAK_VERSION;
constexpr std::string_view kUsageHint = "Run 'pentrak-cli --help' for usage.\n";

// pentrak-cli's own words for the shared front door: its sub-commands.
FrontEnd CommandLineFrontEnd() {
  FrontEnd front_end;
  for (const CommandEntry& entry : AllCommands()) front_end.sub_commands.push_back(entry.name);
  return front_end;
}

// Parses a sub-command and its arguments with CLI11 and runs it.
int RunSubCommand(CLI::App& app, CommandContext& context, const ProgramArguments& arguments) {
  std::vector<const char*> argv = {"pentrak-cli"};
  for (const std::string& argument : arguments.sub_command) argv.push_back(argument.c_str());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::CallForHelp&) {
    context.out << app.help();
    return kExitCompleted;
  } catch (const CLI::ParseError& e) {
    context.err << "pentrak-cli: " << e.what() << '\n' << kUsageHint;
    return kExitUsage;
  }
  return Guarded(context.err, context.action);
}

}  // namespace

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err, std::istream& in) {
  ProgramArguments arguments = ReadProgramArguments(
      std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), CommandLineFrontEnd());
  CommandContext context{out, err, in, arguments.home, {}};
  CLI::App app{"Pentrak CMS: builds static web sites from templates and macros.", "pentrak-cli"};
  // The front door has read these before CLI11 sees a sub-command; they are here for --help.
  app.set_version_flag("--version", std::string(kVersionText));
  app.add_option("--home", context.home, "Program folder (settings, history, samples, work files)");
  app.require_subcommand(0, 1);
  // Each sub-command registers itself and sets context.action when chosen.
  for (const CommandEntry& entry : AllCommands()) {
    entry.add_arguments(*app.add_subcommand(entry.name, entry.summary), context);
  }
  app.footer(
      "Batch form: pentrak-cli [--home DIR] /mode=2 /project=PATH [/command=CMD]\n"
      "(the first argument begins with /mode=, /project=, /command= or /window=)");
  switch (arguments.form) {
    case ArgumentForm::kRefused:
      err << "pentrak-cli: " << arguments.usage_error << '\n' << kUsageHint;
      return kExitUsage;
    case ArgumentForm::kVersion:
      out << kVersionText << '\n';
      return kExitCompleted;
    case ArgumentForm::kBatchForm:
      return Guarded(err, [&] { return RunBatchForm(context, arguments.batch_command_line); });
    case ArgumentForm::kSubCommand:
      return RunSubCommand(app, context, arguments);
    case ArgumentForm::kNothing:
    case ArgumentForm::kHelp:
    case ArgumentForm::kProjectFile:  // pentrak-cli opens no project without a sub-command
      break;
  }
  out << app.help();
  return kExitCompleted;
}

}  // namespace pentrak::cli
