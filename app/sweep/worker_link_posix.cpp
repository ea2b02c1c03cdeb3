#include <iostream>

#include "cli/cli_options.h"
#include "sweep/worker_link.h"

namespace app {

struct WorkerLink::Streams {};

WorkerLink::WorkerLink(const WorkerLinkOptions& options) {
    if (!options.pipe.empty() || options.heldRange)
        throw UsageError("sweep-worker: --pipe and --held-range are for the Windows build");
}

WorkerLink::~WorkerLink() = default;

std::istream& WorkerLink::In() { return std::cin; }
std::ostream& WorkerLink::Out() { return std::cout; }

}  // namespace app
