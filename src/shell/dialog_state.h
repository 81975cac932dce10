#pragma once

namespace pentrak {

// Whether a dialog is still open after a command.
enum class DialogState { kOpen, kClosed };

}  // namespace pentrak
