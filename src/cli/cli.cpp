#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace pentrak::cli {

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
        std::istream& in) {
  (void)in;
  CLI::App app{"Pentrak CMS: builds static web sites from templates and macros.", "pentrak-cli"};
  app.set_version_flag("--version", std::string("pentrak-cli ") + PENTRAK_VERSION);
  std::string home;
  app.add_option("--home", home, "Program folder (settings, history, samples, work files)");
  app.require_subcommand(0, 1);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    out << app.help();
    return 0;
  } catch (const CLI::CallForVersion& e) {
    out << e.what() << '\n';
    return 0;
  } catch (const CLI::ParseError& e) {
    err << "pentrak-cli: " << e.what() << '\n' << "Run 'pentrak-cli --help' for usage.\n";
    return 2;
  }
  if (app.get_subcommands().empty()) {
    out << app.help();
    return 0;
  }
  return 0;
}

}  // namespace pentrak::cli
