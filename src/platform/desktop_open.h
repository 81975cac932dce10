#pragma once

#include <string>

#include "platform/default_programs.h"

namespace pentrak {

// Opens a file (mode 1) or a folder (mode 2) with the desktop's associated application by
// running opener (xdg-open) on it, without a shell. Returns a shell-service result code: above
// 32 for success, 32 and below for a failure the launcher explains, -1 when the opener itself
// could not be started.
int OpenWithDesktop(const std::string& path, int mode,
                    const std::string& opener = std::string(kDesktopOpener));

// The shell-service result code for an exit status of xdg-open.
int MapOpenerExit(int exit_status, int mode);

}  // namespace pentrak
