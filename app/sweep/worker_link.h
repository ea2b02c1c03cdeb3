#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>

namespace app {

/// How a worker process was started, from its hidden command line.
struct WorkerLinkOptions {
    std::string pipe;        ///< Windows: the named pipe its sweep speaks through (else standard streams)
    bool heldRange = false;  ///< Windows: the sweep reserved the host's code range in it before it ran
};

/// The worker's side of its link to the sweep: the jobs come in, the answers go out. On Linux these
/// are standard input and output; the Windows build speaks through a named pipe of the worker's own,
/// since a worker started by way of Wine's loader gets no standard streams from its sweep.
class WorkerLink {
public:
    explicit WorkerLink(const WorkerLinkOptions& options);
    ~WorkerLink();
    WorkerLink(const WorkerLink&) = delete;
    WorkerLink& operator=(const WorkerLink&) = delete;

    std::istream& In();
    std::ostream& Out();

private:
    struct Streams;
    std::unique_ptr<Streams> streams_;
};

}  // namespace app
