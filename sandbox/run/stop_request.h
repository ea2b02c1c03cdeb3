#pragma once

#include <stdexcept>

namespace sandbox {

/// Asks the run in progress to stop at its next frame; safe to call from a signal handler.
void RequestStop();
bool StopRequested();

/// A run ended early because a stop was asked for; its log is left as the unfinished log.
class RunStopped : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace sandbox
