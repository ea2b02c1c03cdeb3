#include "run/stop_request.h"

#include <csignal>

namespace sandbox {

namespace {
volatile std::sig_atomic_t stopRequested = 0;
}  // namespace

void RequestStop() { stopRequested = 1; }
bool StopRequested() { return stopRequested != 0; }

}  // namespace sandbox
