#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pentrak {

class UserInterface;
struct ProgramOptions;
struct ProjectSettings;

// How the launcher reaches the operating system; tests put a recorder in its place so that the
// composed command lines can be checked without starting anything.
class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;

  // Starts a command line as an independent process without waiting for it; false when the
  // program could not be started.
  virtual bool StartCommand(const std::string& command_line) = 0;

  // Opens a file (mode 1) or a folder (mode 2) with the desktop's associated application.
  // Returns the shell-service result: above 32 is success, 32 and below the failure codes the
  // launcher knows, and a negative value when the opener itself could not be started.
  virtual int OpenAssociated(const std::string& path, int mode) = 0;

  // OpenAssociated for a caller that must not wait: done gets the result, at once unless the
  // starter can await the opener in the background (the window's does).
  virtual void OpenAssociatedLater(const std::string& path, int mode,
                                   std::function<void(int)> done) {
    done(OpenAssociated(path, mode));
  }
};

// The real starter: command lines are split into words the way a shell splits them (blanks,
// double quotes) and started directly, never through a shell; files are opened with xdg-open.
class SystemProcessStarter : public ProcessStarter {
 public:
  bool StartCommand(const std::string& command_line) override;
  int OpenAssociated(const std::string& path, int mode) override;
};

// What every launch reads: the program options, the current project's custom project path, the
// starter, and the seam for the message box of a failed open-with-association.
struct LaunchContext {
  const ProgramOptions& options;
  const ProjectSettings& project;
  ProcessStarter& processes;
  UserInterface& ui;
  // What the desktop's opener is given when a command names no file (the opener does nothing
  // without one): the selected document or the project's folder.
  std::string file_when_none;
};

// The shell-service result OpenWithAssociation keeps when it starts nothing.
inline constexpr int kOpenNothingStarted = 100;
// The result OpenWithAssociation returns while the opener is still awaited in the background.
inline constexpr int kOpenPending = 101;

// Encloses a path holding a blank in double quotes, unless it already begins or ends with one.
std::string QuoteIfNeeded(std::string_view path);

// Replaces every "%PROJECT_PATH%" by the project's custom project path (with the default drive
// when the project asks for it); the text comes back unchanged when that path is empty.
std::string ExpandProjectPath(const LaunchContext& context, std::string_view text);

// Starts the text editor on path (may be empty), at line when line is above 0 and the editor
// options say how. Throws Error 10007 when the editor cannot be started.
void LaunchEditor(const LaunchContext& context, const std::string& path, int line = 0);

// Start the browser (10008), the image editor (10017) or the XML editor (10021; the text editor
// when none is set) on path, which may be empty.
void LaunchBrowser(const LaunchContext& context, const std::string& path);
void LaunchImageEditor(const LaunchContext& context, const std::string& path);
void LaunchXmlEditor(const LaunchContext& context, const std::string& path);

// Starts custom application n (1 to 3; any other number acts as 3). An empty command starts
// nothing. Throws Error 10018 when it cannot be started.
void LaunchCustomApplication(const LaunchContext& context, int n);

// Runs custom command n (1 to 6; any other number starts nothing) on path. Throws Error 10016
// when it cannot be started.
void LaunchCustomCommand(const LaunchContext& context, const std::string& path, int n);

// Opens a file (mode 1) or a folder (mode 2) with its associated application and returns the
// shell-service result (kOpenPending when the starter awaits the opener in the background). A
// failure code is shown in an "Error" message box; Error 10020 is thrown when the opener itself
// cannot be started (by the starter's callback when the verdict comes later).
int OpenWithAssociation(const LaunchContext& context, const std::string& path, int mode);

// The text shown for a shell-service failure code.
std::string_view AssociationErrorText(int code);

}  // namespace pentrak
