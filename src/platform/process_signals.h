#pragma once

namespace pentrak {

// Sets up how the process meets the signals a program's own work can raise; both programs call
// it first thing. Past a file-size limit (ulimit -f) a write then fails with EFBIG, which the
// error path reports ("File too large") and the run ends through, where SIGXFSZ would kill the
// program mid-run with a half-written file, a log cut short and no summary.
void SetUpProcessSignals();

}  // namespace pentrak
