#include "render/run/worker_pool.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "render/run/report_wire.h"
#include "render/output/output_formats.h"
#include "render/run/run_signals.h"
#include "render/output/temporary_output.h"
#include "util/file.h"
#include "util/log.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kNoJob = static_cast<size_t>(-1);

// A worker process: reads job numbers, renders, answers with the encoded
// report (its length first). Ends when the pipe closes.
[[noreturn]] void WorkerMain(int commands, int answers,
                             const std::vector<CanvasJob>& jobs,
                             const RenderOptions& options) {
  RenderContext context;
  context.options = options;
  uint64_t job;
  while (ReadAll(commands, &job, sizeof(job)) && job < jobs.size()) {
    std::string bytes = EncodeReport(RenderCanvas(jobs[job], &context));
    uint64_t size = bytes.size();
    if (!WriteAll(answers, &size, sizeof(size)) ||
        !WriteAll(answers, bytes.data(), bytes.size()))
      break;
  }
  _exit(0);
}

std::string DescribeEnd(int status) {
  char text[128];
  if (WIFSIGNALED(status))
    snprintf(text, sizeof(text), "its worker process ended with signal %d (%s)",
             WTERMSIG(status), strsignal(WTERMSIG(status)));
  else if (WIFEXITED(status))
    snprintf(text, sizeof(text), "its worker process ended with status %d",
             WEXITSTATUS(status));
  else
    snprintf(text, sizeof(text), "its worker process ended");
  return text;
}

class Pool {
 public:
  Pool(const std::vector<CanvasJob>& jobs, const WorkerLimits& limits,
       const RenderOptions& options, const ReportDone& done,
       const ReportArrived& arrived)
      : jobs_(jobs), limits_(limits), options_(options), done_(done),
        arrived_(arrived),
        reports_(jobs.size()), finished_(jobs.size(), false),
        workers_(static_cast<size_t>(limits.workers > 0 ? limits.workers : 1)) {
    for (const CanvasJob& job : jobs)
      estimates_.push_back(EstimateCanvasBytes(job.info));
  }

  ~Pool() {
    for (Worker& w : workers_)
      Stop(&w, false);
  }

  // Returns the stop signal that ended the run early, or 0.
  int Run() {
    while (delivered_ < jobs_.size()) {
      if (const int signal = CaughtStopSignal()) {
        StopAll(signal);
        return signal;
      }
      StartJobs();
      Wait();
      Deliver();
    }
    return 0;
  }

 private:
  struct Worker {
    pid_t pid = -1;
    int commands = -1;  // job numbers to the worker
    int answers = -1;   // reports from the worker
    size_t job = kNoJob;
    Clock::time_point started;
    std::string inbox;
  };

  // Every worker stopped at once (their temporary files removed), then
  // every job not yet delivered handed on in job order: with its report
  // when it finished, as stopped by `signal` when it did not.
  void StopAll(int signal) {
    for (Worker& w : workers_) {
      const size_t job = w.job;
      Stop(&w, true);
      if (job != kNoJob && !finished_[job]) {
        RenderReport report;
        report.failure = Failure::kStopped;
        report.failureDetail = StopSignalName(signal);
        Finish(job, std::move(report));
      }
    }
    for (size_t job = delivered_; job < jobs_.size(); ++job) {
      if (!finished_[job]) {
        RenderReport report;
        report.failure = Failure::kStopped;
        report.failureDetail = StopSignalName(signal);
        Finish(job, std::move(report));
      }
      done_(job, std::move(reports_[job]));
    }
    delivered_ = jobs_.size();
  }

  bool Spawn(Worker* w) {
    int commands[2], answers[2];
    if (pipe2(commands, O_CLOEXEC) != 0) {
      spawnError_ = errno;
      return false;
    }
    if (pipe2(answers, O_CLOEXEC) != 0) {
      spawnError_ = errno;
      close(commands[0]);
      close(commands[1]);
      return false;
    }
    fflush(stdout);  // the child must not write the parent's buffered lines
    const pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) {
      spawnError_ = errno;
      for (int fd : {commands[0], commands[1], answers[0], answers[1]})
        close(fd);
      return false;
    }
    if (pid == 0) {
      // A worker outlives no parent: it ends with it.
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (getppid() != parent)
        _exit(0);
      ResetStopSignalsInChild();
      close(commands[1]);
      close(answers[0]);
      for (const Worker& other : workers_) {
        if (other.commands >= 0)
          close(other.commands);
        if (other.answers >= 0)
          close(other.answers);
      }
      WorkerMain(commands[0], answers[1], jobs_, options_);
    }
    close(commands[0]);
    close(answers[1]);
    w->pid = pid;
    w->commands = commands[1];
    w->answers = answers[0];
    w->job = kNoJob;
    w->inbox.clear();
    return true;
  }

  // Ends the worker; `kill` stops it at once, otherwise it finishes its
  // canvas and sees the end of its pipe. A worker stopped during a canvas
  // may have left the canvas's temporary file behind: it is removed.
  void Stop(Worker* w, bool kill) {
    if (w->pid < 0)
      return;
    if (kill)
      ::kill(w->pid, SIGKILL);
    close(w->commands);
    close(w->answers);
    int status = 0;
    while (waitpid(w->pid, &status, 0) < 0 && errno == EINTR) {
    }
    lastStatus_ = status;
    if (w->job != kNoJob)
      RemoveTemporaryFilesOf(jobs_[w->job].info.outputPath, w->pid);
    *w = Worker();
  }

  uint64_t RunningBytes() const {
    uint64_t sum = 0;
    for (const Worker& w : workers_)
      if (w.job != kNoJob)
        sum += estimates_[w.job];
    return sum;
  }

  bool MayStart(size_t job) const {
    bool running = false;
    const std::string name = OutputFileName(jobs_[job].info.outputPath);
    for (const Worker& w : workers_) {
      if (w.job == kNoJob)
        continue;
      running = true;
      if (OutputFileName(jobs_[w.job].info.outputPath) == name)
        return false;
    }
    return !running || limits_.memoryBudgetBytes == 0 ||
           RunningBytes() + estimates_[job] <= limits_.memoryBudgetBytes;
  }

  void StartJobs() {
    while (next_ < jobs_.size() && MayStart(next_)) {
      Worker* idle = nullptr;
      for (Worker& w : workers_)
        if (w.job == kNoJob) {
          idle = &w;
          break;
        }
      if (idle == nullptr)
        return;
      if (!Send(idle, next_)) {
        if (idle->pid < 0 && OtherWorkerRunning(idle)) {
          // The machine gives no more workers (descriptors, processes,
          // memory): the run goes on with those it has.
          DropSlot(idle);
          continue;
        }
        // No worker could take the job: it fails, the run goes on.
        Finish(next_, WorkerEnded("no worker process could be started"));
      }
      ++next_;
    }
  }

  // Hands `job` to the worker, starting a worker first when needed. A worker
  // found dead is replaced once.
  bool Send(Worker* w, size_t job) {
    const uint64_t number = job;
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (w->pid < 0 && !Spawn(w))
        return false;
      if (WriteAll(w->commands, &number, sizeof(number))) {
        w->job = job;
        w->started = Clock::now();
        return true;
      }
      Stop(w, true);
    }
    return false;
  }

  bool OtherWorkerRunning(const Worker* except) const {
    for (const Worker& w : workers_)
      if (&w != except && w.pid >= 0)
        return true;
    return false;
  }

  // One worker fewer for the rest of the run; said once in the log.
  void DropSlot(Worker* slot) {
    workers_.erase(workers_.begin() + (slot - workers_.data()));
    if (!degradedSaid_) {
      degradedSaid_ = true;
      QMLog("Quillmark : not every worker process could be started (%s); "
            "the run goes on with fewer",
            strerror(spawnError_));
    }
  }

  static RenderReport WorkerEnded(const std::string& how) {
    RenderReport report;
    report.failure = Failure::kWorkerEnded;
    report.failureDetail = how;
    return report;
  }

  void Finish(size_t job, RenderReport report) {
    reports_[job] = std::move(report);
    finished_[job] = true;
    if (arrived_)
      arrived_(job, reports_[job]);
  }

  // Milliseconds until the earliest time limit, or -1 for none.
  int PollTimeout() const {
    if (limits_.timeoutSeconds <= 0)
      return -1;
    long long soonest = -1;
    const auto now = Clock::now();
    for (const Worker& w : workers_) {
      if (w.job == kNoJob)
        continue;
      auto deadline = w.started + std::chrono::seconds(limits_.timeoutSeconds);
      long long left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now)
              .count();
      if (left < 0)
        left = 0;
      if (soonest < 0 || left < soonest)
        soonest = left;
    }
    // Capped so that a deadline far off is still looked at now and then.
    return soonest < 0 ? -1 : static_cast<int>(soonest < 60000 ? soonest + 1 : 60000);
  }

  void Wait() {
    std::vector<pollfd> fds;
    std::vector<Worker*> owners;  // nullptr: the stop signals' pipe
    bool running = false;
    for (Worker& w : workers_) {
      if (w.job == kNoJob)
        continue;
      fds.push_back({w.answers, POLLIN, 0});
      owners.push_back(&w);
      running = true;
    }
    if (!running)
      return;
    if (StopSignalDescriptor() >= 0) {
      fds.push_back({StopSignalDescriptor(), POLLIN, 0});
      owners.push_back(nullptr);
    }
    int ready = poll(fds.data(), fds.size(), PollTimeout());
    if (ready < 0 && errno != EINTR)
      ready = 0;
    // A stop signal goes first: a worker that the same signal ended is
    // not reported as ended.
    if (CaughtStopSignal())
      return;
    for (size_t i = 0; ready > 0 && i < fds.size(); ++i)
      if (fds[i].revents != 0 && owners[i])
        Receive(owners[i]);
    StopLateJobs();
  }

  void Receive(Worker* w) {
    char chunk[65536];
    ssize_t n = read(w->answers, chunk, sizeof(chunk));
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
      return;
    if (n <= 0) {
      const size_t job = w->job;
      Stop(w, true);
      Finish(job, WorkerEnded(DescribeEnd(lastStatus_)));
      return;
    }
    w->inbox.append(chunk, static_cast<size_t>(n));
    uint64_t size;
    if (w->inbox.size() < sizeof(size))
      return;
    memcpy(&size, w->inbox.data(), sizeof(size));
    if (w->inbox.size() - sizeof(size) < size)
      return;
    RenderReport report;
    const size_t job = w->job;
    if (!DecodeReport(w->inbox.substr(sizeof(size), size), &report)) {
      Stop(w, true);
      Finish(job, WorkerEnded("its worker process sent an unreadable report"));
      return;
    }
    w->inbox.erase(0, sizeof(size) + size);
    w->job = kNoJob;
    Finish(job, std::move(report));
  }

  void StopLateJobs() {
    if (limits_.timeoutSeconds <= 0)
      return;
    const auto now = Clock::now();
    for (Worker& w : workers_) {
      if (w.job == kNoJob ||
          now - w.started < std::chrono::seconds(limits_.timeoutSeconds))
        continue;
      const size_t job = w.job;
      Stop(&w, true);
      RenderReport report;
      report.failure = Failure::kTimedOut;
      report.failureDetail = std::to_string(limits_.timeoutSeconds);
      report.seconds = static_cast<double>(limits_.timeoutSeconds);
      Finish(job, std::move(report));
    }
  }

  void Deliver() {
    while (delivered_ < jobs_.size() && finished_[delivered_]) {
      done_(delivered_, std::move(reports_[delivered_]));
      ++delivered_;
    }
  }

  const std::vector<CanvasJob>& jobs_;
  const WorkerLimits limits_;
  const RenderOptions options_;
  const ReportDone& done_;
  const ReportArrived& arrived_;
  std::vector<uint64_t> estimates_;
  std::vector<RenderReport> reports_;
  std::vector<bool> finished_;
  std::vector<Worker> workers_;
  size_t next_ = 0;
  size_t delivered_ = 0;
  int lastStatus_ = 0;
  int spawnError_ = 0;
  bool degradedSaid_ = false;
};

}  // namespace

int RenderInWorkers(const std::vector<CanvasJob>& jobs,
                    const WorkerLimits& limits, const RenderOptions& options,
                    const ReportDone& done, const ReportArrived& arrived) {
  Pool pool(jobs, limits, options, done, arrived);
  return pool.Run();
}
