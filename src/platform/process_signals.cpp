#include "platform/process_signals.h"

#include <csignal>

namespace pentrak {

void SetUpProcessSignals() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace pentrak
