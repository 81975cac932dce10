#include "shell/launcher.h"

#include <memory>
#include <string>

#include "platform/default_programs.h"
#include "platform/desktop_open.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text_lines.h"
#include "platform/user_interface.h"
#include "settings/default_drive.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

constexpr std::string_view kFilePlaceholder = "%FILE%";
constexpr std::string_view kLinePlaceholder = "%LINE%";
constexpr std::string_view kProjectPathPlaceholder = "%PROJECT_PATH%";

std::string OptionOr(const std::string& option, std::string_view fallback) {
  return option.empty() ? std::string(fallback) : option;
}

// The file as a program is given it: in the platform's own form, quoted when it holds a blank.
std::string FileArgument(const std::string& path) {
  if (path.empty()) return "";
  return QuoteIfNeeded(NativePath(path));
}

// program, or program + " " + the quoted file.
std::string ProgramWithFile(const std::string& program, const std::string& path) {
  std::string file = FileArgument(path);
  return file.empty() ? program : program + " " + file;
}

// The program with the file; the desktop's opener, which opens nothing without a file, is given
// the context's stand-in when there is none.
std::string ProgramWithFileOrStandIn(const LaunchContext& context, const std::string& program,
                                     const std::string& path) {
  if (path.empty() && program == kDesktopOpener) {
    return ProgramWithFile(program, context.file_when_none);
  }
  return ProgramWithFile(program, path);
}

void StartOrThrow(const LaunchContext& context, const std::string& command, int error_number,
                  std::string_view what, std::string_view option_hint) {
  if (context.processes.StartCommand(command)) return;
  throw Error(error_number, "Error launching " + std::string(what) + " (" + command +
                                "). Please check the " + std::string(option_hint) +
                                " in the Tools->Options screen.");
}

}  // namespace

bool SystemProcessStarter::StartCommand(const std::string& command_line) {
  try {
    StartCommandLine(command_line);
    return true;
  } catch (const Error&) {
    return false;
  }
}

int SystemProcessStarter::OpenAssociated(const std::string& path, int mode) {
  return OpenWithDesktop(path, mode);
}

std::string QuoteIfNeeded(std::string_view path) {
  bool needs_quotes = !path.empty() && path.find(' ') != std::string_view::npos &&
                      path.front() != '"' && path.back() != '"';
  if (!needs_quotes) return std::string(path);
  std::string quoted;
  quoted.reserve(path.size() + 2);
  quoted.append("\"").append(path).append("\"");
  return quoted;
}

std::string ExpandProjectPath(const LaunchContext& context, std::string_view text) {
  const ProjectSettings& project = context.project;
  if (project.custom_project_path.empty()) return std::string(text);
  std::string project_path = project.custom_project_path;
  if (project.custom_project_path_with_drive == 1) {
    project_path = ApplyDefaultDrive(project_path, context.options);
  }
  return ReplaceAll(text, kProjectPathPlaceholder, project_path);
}

void LaunchEditor(const LaunchContext& context, const std::string& path, int line) {
  const ProgramOptions& options = context.options;
  std::string program = OptionOr(options.editor, kFallbackPrograms.editor);
  std::string file = FileArgument(path);
  std::string command;
  if (!file.empty() && !options.editor_options.empty() && line > 0) {
    std::string arguments =
        ReplaceAll(options.editor_options, kLinePlaceholder, std::to_string(line));
    if (arguments.find(kFilePlaceholder) != std::string::npos) {
      command = program + " " + ReplaceAll(arguments, kFilePlaceholder, file);
    } else {
      std::string_view gap = options.editor_options_add_space == 1 ? " " : "";
      command = program + " " + file + std::string(gap) + arguments;
    }
  } else {
    command = ProgramWithFileOrStandIn(context, program, path);
  }
  StartOrThrow(context, command, kErrorLaunchEditor, "editor", "editor path");
}

void LaunchBrowser(const LaunchContext& context, const std::string& path) {
  std::string program = OptionOr(context.options.browser, kFallbackPrograms.browser);
  StartOrThrow(context, ProgramWithFileOrStandIn(context, program, path), kErrorLaunchBrowser,
               "browser", "browser path");
}

void LaunchImageEditor(const LaunchContext& context, const std::string& path) {
  std::string program = OptionOr(context.options.image_editor, kFallbackPrograms.image_editor);
  StartOrThrow(context, ProgramWithFileOrStandIn(context, program, path), kErrorLaunchImageEditor,
               "image editor", "Image Editor path");
}

void LaunchXmlEditor(const LaunchContext& context, const std::string& path) {
  const ProgramOptions& options = context.options;
  std::string program =
      OptionOr(options.xml_editor, OptionOr(options.editor, kFallbackPrograms.editor));
  StartOrThrow(context, ProgramWithFileOrStandIn(context, program, path), kErrorLaunchXmlEditor,
               "XML editor", "XML Editor path");
}

void LaunchCustomApplication(const LaunchContext& context, int n) {
  int index = (n == 1 || n == 2) ? n - 1 : 2;
  std::string command =
      ExpandProjectPath(context, context.options.custom_applications[index].command);
  if (command.empty()) return;
  StartOrThrow(context, command, kErrorLaunchCustomApplication, "custom application",
               "Custom Application editor path");
}

void LaunchCustomCommand(const LaunchContext& context, const std::string& path, int n) {
  if (n < 1 || n > 6) return;
  const std::string& pattern = context.options.custom_options[n - 1].command;
  if (pattern.empty() || path.empty()) return;
  std::string file = FileArgument(path);
  std::string command = pattern.find(kFilePlaceholder) != std::string::npos
                            ? ReplaceAll(pattern, kFilePlaceholder, file)
                            : pattern + " " + file;
  StartOrThrow(context, ExpandProjectPath(context, command), kErrorLaunchCustomCommand,
               "custom action", "custom action");
}

int OpenWithAssociation(const LaunchContext& context, const std::string& path, int mode) {
  std::string target;
  if (mode == 1) {
    target = QuoteIfNeeded(path);
    if (target.empty()) return kOpenNothingStarted;
  } else if (mode == 2) {
    target = path.empty() ? std::string(1, '\\') : path;
    target = ApplyDefaultDrive(ExpandProjectPath(context, target), context.options);
  } else {
    return kOpenNothingStarted;
  }
  // The opener gets the bare path as one argument; the quotes only show in messages.
  std::string bare = mode == 1 ? path : target;
  // The verdict may come later, after this returns: the report keeps what it needs.
  auto known = std::make_shared<int>(kOpenPending);
  UserInterface& ui = context.ui;
  context.processes.OpenAssociatedLater(NativePath(bare), mode, [&ui, target, known](int result) {
    *known = result;
    if (result < 0) {
      throw Error(kErrorLaunchDefaultApplication,
                  "Error launching default application for " + target + ".");
    }
    if (result <= 32) {
      ui.ShowMessage("Error",
                     "Error opening file (" + target + ") with default application. " +
                         std::string(AssociationErrorText(result)),
                     Icon::kExclamation, Buttons::kOk);
    }
  });
  return *known;
}

std::string_view AssociationErrorText(int code) {
  switch (code) {
    case 2:
      return "File not found.";
    case 3:
      return "Path not found.";
    case 5:
      return "Access denied.";
    case 8:
      return "Out of memory.";
    case 11:
      return "Invalid EXE file or error in EXE image.";
    case 26:
      return "A sharing violation occurred.";
    case 27:
      return "Incomplete or invalid file association.";
    case 28:
      return "DDE Time out.";
    case 29:
      return "DDE transaction failed.";
    case 30:
      return "DDE busy.";
    case 32:
      return "DLL not found.";
    default:
      return "Unknown error.";
  }
}

}  // namespace pentrak
