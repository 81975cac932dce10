#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "cli/commands.h"

namespace pentrak {
struct ConsoleAnswers;
struct FileSelection;
struct SearchContext;
struct ProjectDefinition;
}  // namespace pentrak

namespace pentrak::cli {

// What search and replace share on the command line.
struct FileSelectionArgs {
  std::string find;      // the text to find; never empty
  std::string project;   // PROJECT.web; the current project when empty
  std::string document;  // [FOLDER/]DOC: search this document only
  std::string kinds = "globals,folder-globals,templates,content-files";
  bool ignore_case = false;
};

// Adds --document, --kinds and --ignore-case, and the optional PROJECT after the positionals
// already added.
void AddFileSelectionOptions(CLI::App& command, FileSelectionArgs& args);

// False after saying so on err when the text to find is empty.
bool HasTextToFind(const FileSelectionArgs& args, std::ostream& err);

// Sets the four kind switches from a comma-separated list; false after saying why on err.
bool ParseKinds(const std::string& kinds, FileSelection& selection, std::ostream& err);

// Sets the text to find, the case rule and, when kinds_apply, the kinds of file of a search or
// replace request; false after saying why on err.
template <typename Request>
bool FillRequest(const FileSelectionArgs& args, bool kinds_apply, Request& request,
                 std::ostream& err) {
  if (!HasTextToFind(args, err)) return false;
  request.find_text = args.find;
  request.ignore_case = args.ignore_case;
  return !kinds_apply || ParseKinds(args.kinds, request.selection, err);
}

// Makes the document that the selector names the current one (see ChooseDocument); an empty
// text keeps the whole project. False after saying why on err.
bool SelectDocument(const std::string& document, const ProjectDefinition& definition,
                    FileSelection& selection, std::ostream& err);

// Starts the program on the console, opens the project and its definition, applies --document
// to the selection and runs work; then prints the results list and the lines with hits. Gives
// work's status, kExitWithErrors when it raised an error (reported), kExitUsage when start-up
// failed.
int RunOnProjectFiles(const CommandContext& context, const ConsoleAnswers& answers,
                      const FileSelectionArgs& args, FileSelection& selection,
                      const std::function<int(const SearchContext&)>& work);

}  // namespace pentrak::cli
