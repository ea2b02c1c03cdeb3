#include <chrono>
#include <condition_variable>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "run/stop_request.h"
#include "sweep/sweep_pool.h"
#include "sweep/sweep_progress.h"
#include "sweep/worker_answer.h"
#include "sweep/worker_process_win32.h"

namespace app {

namespace {

// The jobs and the worker processes running them, each worker served by a thread of its own that
// hands him one job at a time and waits for his answer. Every job ends with one result: the
// worker's answer, or why he gave none; a worker that died is replaced for the next job.
class WorkerPool {
public:
    WorkerPool(std::vector<sandbox::SweepJob> jobs, const std::filesystem::path& runsDir)
        : jobs_(std::move(jobs)), runsDir_(runsDir) {}

    ~WorkerPool() {
        for (std::thread& t : threads_) t.join();
    }

    /// Serves the jobs with `first` and count - 1 workers more, each started by its own thread.
    void Start(std::unique_ptr<WorkerProcess> first, unsigned count) {
        threads_.emplace_back([this, w = std::move(first)]() mutable { Serve(0, std::move(w)); });
        for (unsigned i = 1; i < count; ++i) threads_.emplace_back([this, i] { Serve(i, nullptr); });
    }

    /// Waits up to 250 ms for a job to finish; the number finished.
    std::size_t Wait() {
        std::unique_lock lock(mutex_);
        finished_.wait_for(lock, std::chrono::milliseconds(250));
        return results_.size();
    }

    bool Finished() {
        std::lock_guard lock(mutex_);
        return results_.size() == jobs_.size();
    }

    /// Ends the workers that are running a job; their jobs get no result, and no job more is handed out.
    void Stop() {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (WorkerProcess* w : busy_) w->Kill();
    }

    /// Once every thread is done: the results and the workers' processor time.
    PoolReport Finish() {
        for (std::thread& t : threads_) t.join();
        threads_.clear();
        PoolReport report;
        report.results = std::move(results_);
        report.stopped = stopping_;
        report.cpuSeconds = cpuSeconds_;
        report.workers = started_;
        return report;
    }

private:
    // The next job to hand out, with its worker's game folder; none once all are out or a stop came.
    sandbox::SweepJob* Next(unsigned slot, WorkerProcess* worker) {
        std::lock_guard lock(mutex_);
        if (stopping_ || next_ == jobs_.size()) return nullptr;
        sandbox::SweepJob& job = jobs_[next_++];
        job.gameDir = runsDir_ / ("worker-" + std::to_string(slot + 1));
        if (worker != nullptr) busy_.push_back(worker);
        return &job;
    }

    void Done(WorkerProcess* worker, sandbox::SweepRunResult result) {
        std::lock_guard lock(mutex_);
        std::erase(busy_, worker);
        if (!stopping_) results_.push_back(std::move(result));
        finished_.notify_all();
    }

    void Count() {
        std::lock_guard lock(mutex_);
        ++started_;
    }

    void Retire(std::unique_ptr<WorkerProcess>& worker) {
        if (!worker) return;
        const double cpu = worker->CpuSeconds();
        worker.reset();
        std::lock_guard lock(mutex_);
        cpuSeconds_ += cpu;
    }

    void Serve(unsigned slot, std::unique_ptr<WorkerProcess> worker) {
        for (;;) {
            if (!worker) {
                try {
                    worker = std::make_unique<WorkerProcess>();
                    Count();
                } catch (const WorkerStartError& e) {
                    sandbox::SweepJob* job = Next(slot, nullptr);
                    if (job == nullptr) return;
                    Done(nullptr, FailedJob(job->index, e.what()));
                    continue;
                }
            }
            sandbox::SweepJob* job = Next(slot, worker.get());
            if (job == nullptr) break;
            std::optional<std::string> answer;
            if (worker->Send(sandbox::SweepJobJson(*job).dump() + "\n")) answer = worker->ReadLine();
            if (answer) {
                Done(worker.get(), ReadWorkerAnswer(*answer, job->index));
            } else {
                Done(worker.get(), FailedJob(job->index, worker->EndReason()));
                Retire(worker);
            }
        }
        Retire(worker);
    }

    std::vector<sandbox::SweepJob> jobs_;
    std::filesystem::path runsDir_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable finished_;
    std::size_t next_ = 0;              // the first job not yet handed out
    std::vector<WorkerProcess*> busy_;  // the workers running a job, for a stop to end
    std::vector<sandbox::SweepRunResult> results_;
    bool stopping_ = false;
    double cpuSeconds_ = 0.0;
    std::size_t started_ = 1;  // the first worker, started before the pool
};

}  // namespace

// One job or one worker asked for: this process runs them. Otherwise worker processes, unless the
// first cannot be started, which the user is told, with why, before the jobs run here instead.
PoolReport RunPool(std::vector<sandbox::SweepJob> jobs, const PoolOptions& options) {
    const unsigned count =
        static_cast<unsigned>(std::min<std::size_t>(options.workers, std::max<std::size_t>(jobs.size(), 1)));
    if (count <= 1) return RunPoolInProcess(std::move(jobs), options);
    std::unique_ptr<WorkerProcess> first;
    try {
        first = std::make_unique<WorkerProcess>();
    } catch (const WorkerStartError& e) {
        if (options.progress)
            std::cerr << "sweep: no worker process could be started (" << e.what()
                      << "); running every job in this process, one after another\n";
        return RunPoolInProcess(std::move(jobs), options);
    }
    const auto start = std::chrono::steady_clock::now();
    SweepProgress bar(jobs.size(), options.progress);
    WorkerPool pool(std::move(jobs), options.runsDir);
    pool.Start(std::move(first), count);
    std::size_t done = 0;
    while (!pool.Finished()) {
        if (options.stopAfter > 0 && done >= options.stopAfter) sandbox::RequestStop();
        if (sandbox::StopRequested()) {
            pool.Stop();
            break;
        }
        done = pool.Wait();
        bar.Show(done);
    }
    PoolReport report = pool.Finish();
    bar.Show(report.results.size(), true);
    report.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return report;
}

}  // namespace app
