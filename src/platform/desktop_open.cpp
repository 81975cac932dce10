#include "platform/desktop_open.h"

#include "platform/error.h"
#include "platform/process.h"

namespace pentrak {

namespace {

constexpr int kOpened = 42;            // any value above 32 is success
constexpr int kUnknownFailure = 0;     // shown as "Unknown error."
constexpr int kOpenerNotStarted = -1;  // the launcher raises its own error for this

// xdg-open usually hands the file to the desktop and ends at once; when it runs the handler
// itself it keeps running, and after this long its silence counts as success.
constexpr int kVerdictWaitTenths = 30;

}  // namespace

// xdg-open's exit statuses and the result codes they become:
//   0 (opened), or still running after the wait       -> 42, success
//   2 (a file named on its command line is missing)  -> 2 "File not found." for a file,
//                                                       3 "Path not found." for a folder
//   3 (no tool or application for this kind of file) -> 27 "Incomplete or invalid file
//                                                       association."; there is no system
//                                                       open-with dialog to fall back on
//   1 (syntax), 4 (the handler failed), killed, other -> 0 "Unknown error."
//   xdg-open itself cannot be started                 -> -1 (Error 10020 in the launcher)
int MapOpenerExit(int exit_status, int mode) {
  switch (exit_status) {
    case 0:
      return kOpened;
    case 2:
      return mode == 2 ? 3 : 2;
    case 3:
      return 27;
    default:
      return kUnknownFailure;
  }
}

int OpenWithDesktop(const std::string& path, int mode, const std::string& opener) {
  try {
    return MapOpenerExit(StartDetached({opener, path}, kVerdictWaitTenths), mode);
  } catch (const Error&) {
    return kOpenerNotStarted;
  }
}

DetachedStart BeginOpenWithDesktop(const std::string& path, const std::string& opener) {
  try {
    return BeginDetached({opener, path}, kVerdictWaitTenths);
  } catch (const Error&) {
    return DetachedStart{};
  }
}

std::optional<int> PollOpenWithDesktop(DetachedStart& start, int mode) {
  if (start.waiter < 0) return kOpenerNotStarted;
  try {
    std::optional<int> exit_status = PollDetached(start);
    if (!exit_status) return std::nullopt;
    return MapOpenerExit(*exit_status, mode);
  } catch (const Error&) {
    return kOpenerNotStarted;
  }
}

}  // namespace pentrak
