#include "sweep/sweep_pool.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

#include "run/stop_request.h"
#include "sweep/sweep_progress.h"
#include "sweep/worker_answer.h"

extern char** environ;

namespace app {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Worker {
    pid_t pid = -1;
    int toWorker = -1;
    int fromWorker = -1;
    std::string pending;  // bytes of an unfinished answer line
    std::optional<std::size_t> job;
    fs::path dir;
};

void Spawn(Worker& w) {
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot create pipes");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    // In a process group of its own, so that Ctrl-C on the terminal reaches only the sweep, which
    // then ends its workers itself rather than count their runs as crashed.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    static const std::string exe = fs::canonical("/proc/self/exe").string();
    std::string command = "sweep-worker";
    char* argv[] = {const_cast<char*>(exe.c_str()), command.data(), nullptr};
    const int error = posix_spawn(&w.pid, exe.c_str(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    if (error != 0) {
        close(in[1]);
        close(out[0]);
        throw std::runtime_error("cannot start a worker process: " + std::string(strerror(error)));
    }
    w.toWorker = in[1];
    w.fromWorker = out[0];
    w.pending.clear();
}

bool SendAll(int fd, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = write(fd, text.data() + sent, text.size() - sent);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// Closes a worker's pipes and collects it; says how it ended when that was not a clean exit.
std::string Reap(Worker& w) {
    if (w.toWorker >= 0) close(w.toWorker);
    if (w.fromWorker >= 0) close(w.fromWorker);
    w.toWorker = w.fromWorker = -1;
    int status = 0;
    waitpid(w.pid, &status, 0);
    w.pid = -1;
    if (WIFSIGNALED(status)) return "worker crashed (signal " + std::to_string(WTERMSIG(status)) + ")";
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        return "worker exited with status " + std::to_string(WEXITSTATUS(status));
    }
    return "worker ended without an answer";
}

double ChildCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The jobs and the workers running them, one job per worker at a time. Every job ends with one
// result: the worker's answer, or why it gave none.
class WorkerPool {
public:
    WorkerPool(std::vector<sandbox::SweepJob> jobs, unsigned workerCount, const fs::path& runsDir)
        : jobs_(std::move(jobs)),
          workers_(std::min<std::size_t>(workerCount, std::max<std::size_t>(jobs_.size(), 1))) {
        for (std::size_t i = 0; i < workers_.size(); ++i) {
            workers_[i].dir = runsDir / ("worker-" + std::to_string(i + 1));
            Assign(workers_[i]);
        }
    }

    std::size_t Done() const { return results_.size(); }
    std::size_t Started() const { return started_; }
    bool Finished() const { return results_.size() == jobs_.size(); }

    // Waits up to 250 ms for the busy workers, takes in what they wrote, and hands a new job to each
    // one that has finished.
    void Serve() {
        std::vector<pollfd> fds;
        std::vector<Worker*> owners;
        for (Worker& w : workers_) {
            if (w.job) {
                fds.push_back({w.fromWorker, POLLIN, 0});
                owners.push_back(&w);
            }
        }
        if (poll(fds.data(), fds.size(), 250) < 0 && errno != EINTR) throw std::runtime_error("poll failed");
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].revents != 0 && TakeIn(*owners[i])) Assign(*owners[i]);
        }
    }

    // Ends the workers that are running a job; their jobs get no result.
    void Stop() {
        for (Worker& w : workers_) {
            if (!w.job) continue;
            kill(w.pid, SIGKILL);
            Reap(w);
            w.job.reset();
        }
    }

    // Collects the workers still running, once every job has its result or the pool was stopped.
    std::vector<sandbox::SweepRunResult> Finish() {
        for (Worker& w : workers_) {
            if (w.pid >= 0) Reap(w);
        }
        return std::move(results_);
    }

private:
    void Fail(std::size_t job, const std::string& why) { results_.push_back(FailedJob(job, why)); }

    // Hands the worker the next job, starting him first if need be; a job he cannot be sent fails.
    void Assign(Worker& w) {
        while (next_ < jobs_.size() && !w.job) {
            if (w.pid < 0) {
                Spawn(w);
                ++started_;
            }
            sandbox::SweepJob& job = jobs_[next_++];
            job.gameDir = w.dir;
            if (SendAll(w.toWorker, sandbox::SweepJobJson(job).dump() + "\n")) {
                w.job = job.index;
            } else {
                Fail(job.index, Reap(w));
            }
        }
    }

    // Reads what the worker wrote: his answer once its line is complete, or his end, which fails his
    // job. False while the answer is still coming.
    bool TakeIn(Worker& w) {
        char buffer[4096];
        const ssize_t n = read(w.fromWorker, buffer, sizeof buffer);
        if (n <= 0) {
            const std::size_t job = *w.job;
            w.job.reset();
            Fail(job, Reap(w));
            return true;
        }
        w.pending.append(buffer, static_cast<std::size_t>(n));
        const std::size_t newline = w.pending.find('\n');
        if (newline == std::string::npos) return false;
        results_.push_back(ReadWorkerAnswer(w.pending.substr(0, newline), *w.job));
        w.pending.erase(0, newline + 1);
        w.job.reset();
        return true;
    }

    std::vector<sandbox::SweepJob> jobs_;
    std::vector<Worker> workers_;
    std::size_t next_ = 0;  // the first job not yet handed out
    std::size_t started_ = 0;
    std::vector<sandbox::SweepRunResult> results_;
};

}  // namespace

PoolReport RunPool(std::vector<sandbox::SweepJob> jobs, const PoolOptions& options) {
    // A worker that dies must not take the sweep with it through a write to its pipe.
    signal(SIGPIPE, SIG_IGN);
    const auto start = Clock::now();
    const double cpuBefore = ChildCpuSeconds();
    SweepProgress bar(jobs.size(), options.progress);
    WorkerPool pool(std::move(jobs), options.workers, options.runsDir);
    PoolReport report;
    while (!pool.Finished()) {
        if (options.stopAfter > 0 && pool.Done() >= options.stopAfter) sandbox::RequestStop();
        if (sandbox::StopRequested()) {
            pool.Stop();
            report.stopped = true;
            break;
        }
        pool.Serve();
        bar.Show(pool.Done());
    }
    bar.Show(pool.Done(), true);
    report.results = pool.Finish();
    report.workers = pool.Started();
    report.wallSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    report.cpuSeconds = ChildCpuSeconds() - cpuBefore;
    return report;
}

}  // namespace app
