#pragma once

#include <optional>
#include <string>

#include "platform/default_programs.h"
#include "platform/process.h"

namespace pentrak {

// Opens a file (mode 1) or a folder (mode 2) with the desktop's associated application by
// running opener (xdg-open) on it, without a shell. Returns a shell-service result code: above
// 32 for success, 32 and below for a failure the launcher explains, -1 when the opener itself
// could not be started.
int OpenWithDesktop(const std::string& path, int mode,
                    const std::string& opener = std::string(kDesktopOpener));

// OpenWithDesktop in two halves, for a caller that must not wait: BeginOpenWithDesktop starts
// the opener (a waiter of -1 when it cannot be started); PollOpenWithDesktop gives
// OpenWithDesktop's result once known, and nothing while the opener is still being awaited.
DetachedStart BeginOpenWithDesktop(const std::string& path,
                                   const std::string& opener = std::string(kDesktopOpener));
std::optional<int> PollOpenWithDesktop(DetachedStart& start, int mode);

// The shell-service result code for an exit status of xdg-open.
int MapOpenerExit(int exit_status, int mode);

}  // namespace pentrak
