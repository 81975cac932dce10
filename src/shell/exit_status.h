#pragma once

namespace pentrak {

// Exit statuses of both programs, as a scheduler reads them.
inline constexpr int kExitCompleted = 0;   // completed without errors
inline constexpr int kExitWithErrors = 1;  // completed with errors, or halted
inline constexpr int kExitUsage = 2;       // a usage error or a failed start-up

}  // namespace pentrak
