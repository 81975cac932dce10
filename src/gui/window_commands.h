#pragma once

#include <QString>
#include <functional>

namespace pentrak {

class UserInterface;
struct ProgramOptions;

// Runs a window's command under the error trap: an error ends the command and is reported
// through the seam; the window stays usable.
void RunTrapped(UserInterface& ui, const std::function<void()>& command);

// Custom command n's caption (1 to 6): the option's own, or "Custom Command n".
QString CustomCommandCaption(const ProgramOptions& options, int n);

}  // namespace pentrak
