#ifndef QUILLMARK_RENDER_RUN_WORKER_POOL_H_
#define QUILLMARK_RENDER_RUN_WORKER_POOL_H_

#include <cstdint>
#include <functional>
#include <vector>

#include "render/run/render_canvas.h"
#include "render/draw/render_context.h"

// How the worker processes share the machine.
struct WorkerLimits {
  int workers = 1;          // canvases rendered at a time
  int timeoutSeconds = 0;   // a canvas running longer is stopped; 0: never
  // The estimated peak memory of the canvases rendered together stays under
  // this, except that one canvas alone always runs.
  uint64_t memoryBudgetBytes = 0;
};

using ReportDone = std::function<void(size_t job, RenderReport report)>;
// Told of each job as soon as its report is in, in the order they finish.
using ReportArrived =
    std::function<void(size_t job, const RenderReport& report)>;

// Renders `jobs` in worker processes forked from this one, each with a run
// context of its own that renders as `options` say, and calls `done` for every job in job order as soon as
// it and all jobs before it are done. Jobs start in order; a job waits while
// an earlier job that writes a file of the same name is still running, so
// the later job's image is the one that stays.
//
// A canvas past the time limit is stopped by ending its worker; a worker
// that ends during a canvas (killed, out of memory) fails that canvas. Either
// way a new worker takes over the rest. Standard output belongs to this
// process: workers never write to it. A worker that cannot be started
// while another runs leaves the run with one worker fewer (said once in the
// log); a job fails for it only when no worker runs at all.
//
// Returns 0, or the stop signal (see run_signals.h) that ended the run
// early: every worker is then stopped, its temporary files removed, and
// `done` called for every job not yet delivered, in job order, those that
// did not finish with a kStopped report. `arrived`, when given, hears of
// every job once, before its `done`.
int RenderInWorkers(const std::vector<CanvasJob>& jobs,
                    const WorkerLimits& limits, const RenderOptions& options,
                    const ReportDone& done,
                    const ReportArrived& arrived = ReportArrived());

#endif  // QUILLMARK_RENDER_RUN_WORKER_POOL_H_
