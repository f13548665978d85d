#ifndef QUILLMARK_RENDER_RUN_RUN_OPTIONS_H_
#define QUILLMARK_RENDER_RUN_RUN_OPTIONS_H_

#include <cstdint>
#include <string>

#include "job/job_reader.h"
#include "job/setting.h"

// How a run renders its canvases: the command-line arguments beyond the two
// paths. The defaults are a run without them.
struct RunOptions {
  // The job-wide flags, the starting values of the item options of the same
  // names.
  Setting flags{};
  // Job-wide starting values of the opt-in typography keys.
  JobDefaults defaults;
  // Canvases rendered at a time, each in a worker process of its own.
  int jobs = 1;
  // Only the canvases whose index modulo shardCount is shardIndex.
  int shardIndex = 0;
  int shardCount = 1;
  // The estimated peak memory of the canvases rendered together stays under
  // this; 0: half of the memory available when the run starts.
  uint64_t memoryBudgetBytes = 0;
  // A canvas still running after this many seconds is stopped; 0: no limit.
  int timeoutSeconds = 60;
  // Where the per-canvas report goes (JSON Lines); empty: no report.
  std::string reportPath;
  // Problems that leave an image written but wrong fail the run.
  bool strict = false;
  // Lay out and fit, but draw and write nothing.
  bool dryRun = false;
  // A progress line and a summary on standard error.
  bool progress = false;
  // zlib's level (0 to 9) for PNG outputs; -1 leaves ImageMagick's default.
  int pngCompression = -1;
};

#endif  // QUILLMARK_RENDER_RUN_RUN_OPTIONS_H_
