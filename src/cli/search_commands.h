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
struct Workbench;
}  // namespace pentrak

namespace pentrak::cli {

// The sub-commands of the search and replace tools.
void AddSearchCommand(CLI::App& app, CommandContext& context);
void AddReplaceCommand(CLI::App& app, CommandContext& context);
void AddFixLineEndingsCommand(CLI::App& app, CommandContext& context);

// What search and replace share on the command line.
struct FileSelectionArgs {
  std::string project;   // PROJECT.web; the current project when empty
  std::string document;  // FOLDER/DOC: search the current document only
  std::string kinds = "globals,folder-globals,templates,content-files";
  bool ignore_case = false;
};

// Adds --document, --kinds and --ignore-case, and the optional PROJECT after the positionals
// already added.
void AddFileSelectionOptions(CLI::App& command, FileSelectionArgs& args);

// Sets the four kind switches from a comma-separated list; false after saying why on err.
bool ParseKinds(const std::string& kinds, FileSelection& selection, std::ostream& err);

// Makes FOLDER/DOC the current document (folder name, then the document as the definition
// writes it); an empty text keeps the whole project. False after saying why on err.
bool SelectDocument(const std::string& document, const ProjectDefinition& definition,
                    FileSelection& selection, std::ostream& err);

// Reads the current project's definition with the names as written; false after reporting.
bool ReadDefinitionAsWritten(Workbench& workbench);

// Starts the program on the console, opens the project and its definition, applies --document
// to the selection and runs work; then prints the results list and the lines with hits. Gives
// work's status, 1 when it raised an error (reported), 2 when start-up failed.
int RunOnProjectFiles(const CommandContext& context, const ConsoleAnswers& answers,
                      const FileSelectionArgs& args, FileSelection& selection,
                      const std::function<int(const SearchContext&)>& work);

}  // namespace pentrak::cli
