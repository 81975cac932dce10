#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <new>
#include <ostream>

#include "cli/batch_form.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "platform/error.h"

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

}  // namespace

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err, std::istream& in) {
  CLI::App app{"Pentrak CMS: builds static web sites from templates and macros.", "pentrak-cli"};
  app.set_version_flag("--version", std::string("pentrak-cli ") + PENTRAK_VERSION);
  CommandContext context{out, err, in, "", {}};
  // The batch form ("/mode=2 /project=...") is older than the sub-commands and bypasses them.
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (std::optional<std::string> batch = BatchFormCommandLine(arguments, context)) {
    return Guarded(err, [&] { return RunBatchForm(context, *batch); });
  }
  app.add_option("--home", context.home, "Program folder (settings, history, samples, work files)");
  app.require_subcommand(0, 1);

  // Each sub-command registers itself and sets context.action when chosen.
  for (const CommandEntry& entry : AllCommands()) {
    entry.add_arguments(*app.add_subcommand(entry.name, entry.summary), context);
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return kExitCompleted;
  } catch (const CLI::CallForVersion& e) {
    out << e.what() << '\n';
    return kExitCompleted;
  } catch (const CLI::ParseError& e) {
    err << "pentrak-cli: " << e.what() << '\n' << "Run 'pentrak-cli --help' for usage.\n";
    return kExitUsage;
  }
  if (!context.action) {
    out << app.help();
    return kExitCompleted;
  }
  return Guarded(err, context.action);
}

}  // namespace pentrak::cli
