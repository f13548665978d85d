#include "render/run/driver.h"

#include <rapidjson/document.h>

#include <algorithm>

#include "fonts/font_registry.h"
#include "job/job_reader.h"
#include "job/setting.h"
#include "render/outcome/outcome.h"
#include "render/outcome/report_line.h"
#include "render/run/input_files.h"
#include "render/run/progress.h"
#include "render/run/render_canvas.h"
#include "render/run/run_signals.h"
#include "render/run/worker_pool.h"
#include "render/outcome/report_file.h"
#include "util/file.h"
#include "util/log.h"
#include "util/system_resources.h"

namespace {

// The canvases of this run (this shard's), read from the job.
std::vector<CanvasOutcome> ReadCanvases(const rapidjson::Document& job,
                                        const FontMap& fonts, float scale,
                                        const RunOptions& options) {
  std::vector<CanvasOutcome> outcomes;
  for (rapidjson::SizeType i = 0; i < job.Size(); ++i) {
    if (static_cast<int>(i % static_cast<unsigned>(options.shardCount)) !=
        options.shardIndex)
      continue;
    CanvasOutcome outcome;
    outcome.index = static_cast<int>(i);
    outcome.read = ReadCanvas(job[i], options.flags, scale, options.defaults,
                              &fonts);
    if (outcome.read.drawable()) {
      const std::string& name = outcome.read.info.fontName;
      outcome.fontFile = FontFor(fonts, name);
      outcome.fontFallback = fonts.count(name) == 0;
    }
    outcomes.push_back(std::move(outcome));
  }
  return outcomes;
}

// What happens to each canvas once it is done, in job order: its log
// lines, its report line, and with -strict the problems that fail the run.
class Outcomes {
 public:
  Outcomes(const RunOptions& options, const ProtectedFiles& inputs)
      : strict_(options.strict) {
    if (options.reportPath.empty())
      return;
    reportPath_ = options.reportPath;
    const Status opened = report_.Open(reportPath_, inputs);
    if (opened.ok())
      reporting_ = true;
    else
      ReportFailed(opened.message());
  }

  void Emit(const CanvasOutcome& outcome) {
    for (const std::string& line : LogMessages(outcome))
      QMLog("%s", line.c_str());
    if (outcome.status() == CanvasStatus::kFailed)
      ok_ = false;
    if (strict_) {
      for (const std::string& line : StrictMessages(outcome)) {
        QMLog("%s", line.c_str());
        ok_ = false;
      }
    }
    if (!reporting_)
      return;
    const Status appended = report_.Append(ReportLine(outcome));
    if (!appended.ok()) {
      reporting_ = false;
      ReportFailed(appended.message());
    }
  }

  // A stopped run: the report's temporary file goes, nothing is renamed.
  void Abandon() {
    report_.Abandon();
    reporting_ = false;
  }

  int Finish() {
    if (reporting_) {
      const Status finished = report_.Finish();
      if (!finished.ok())
        ReportFailed(finished.message());
    }
    return ok_ ? 0 : 1;
  }

 private:
  void ReportFailed(const std::string& error) {
    QMLog("Quillmark : failed to write the report %s: %s",
          Printable(reportPath_).c_str(), error.c_str());
    ok_ = false;
  }

  const bool strict_;
  std::string reportPath_;
  ReportFile report_;
  bool reporting_ = false;
  bool ok_ = true;
};

WorkerLimits LimitsFor(const RunOptions& options) {
  WorkerLimits limits;
  limits.workers = options.jobs;
  limits.timeoutSeconds = options.timeoutSeconds;
  limits.memoryBudgetBytes = options.memoryBudgetBytes;
  if (limits.memoryBudgetBytes == 0)
    limits.memoryBudgetBytes = AvailableMemoryBytes() / 2;
  return limits;
}

// Renders and emits every canvas. Returns the stop signal that ended the
// run early, or 0.
int RenderAll(std::vector<CanvasOutcome>* outcomes, const FontMap& fonts,
              const RunOptions& options, RenderContext* context,
              Outcomes* sink, ProgressDisplay* progress) {
  context->options.layoutOnly = options.dryRun;
  context->options.pngCompression = options.pngCompression;
  std::vector<CanvasJob> jobs;
  std::vector<size_t> outcomeOf;  // job -> outcome
  for (size_t i = 0; i < outcomes->size(); ++i) {
    const CanvasOutcome& o = (*outcomes)[i];
    if (!o.read.drawable())
      continue;
    jobs.push_back({o.read.info, o.read.colourKeys, o.fontFile, {}});
    for (const std::string& name : o.read.info.fallbackFonts)
      jobs.back().fallbackFiles.push_back(FontFor(fonts, name));
    outcomeOf.push_back(i);
  }
  for (const CanvasOutcome& o : *outcomes)
    if (!o.read.drawable())
      progress->Skipped(o.read);
  // Counted as each canvas finishes, before the log reaches it in job order.
  auto arrived = [&](size_t job, const RenderReport& report) {
    const CanvasOutcome& outcome = (*outcomes)[outcomeOf[job]];
    progress->Rendered(outcome.read, outcome.fontFallback, report);
  };
  size_t emitted = 0;
  auto emitUpTo = [&](size_t end) {
    for (; emitted < end; ++emitted) {
      sink->Emit((*outcomes)[emitted]);
      (*outcomes)[emitted] = CanvasOutcome();  // done with its text
    }
  };
  auto done = [&](size_t job, RenderReport report) {
    CanvasOutcome& outcome = (*outcomes)[outcomeOf[job]];
    outcome.render = std::move(report);
    outcome.rendered = true;
    if (CaughtStopSignal() == 0)
      emitUpTo(outcomeOf[job] + 1);
  };
  int stopped = 0;
  if (options.jobs == 0) {
    // In this process a stop signal is seen between canvases.
    for (size_t job = 0; job < jobs.size(); ++job) {
      RenderReport report;
      if ((stopped = CaughtStopSignal()) != 0) {
        report.failure = Failure::kStopped;
        report.failureDetail = StopSignalName(stopped);
      } else {
        report = RenderCanvas(jobs[job], context);
      }
      arrived(job, report);
      done(job, std::move(report));
    }
  } else {
    // Side by side, each canvas keeps to its share of the cores.
    if (options.jobs > 1)
      context->options.magickThreads =
          std::max(1, AvailableCores() / options.jobs);
    stopped = RenderInWorkers(jobs, LimitsFor(options), context->options,
                              done, arrived);
  }
  if (stopped == 0)
    stopped = CaughtStopSignal();
  if (stopped == 0) {
    emitUpTo(outcomes->size());
    return 0;
  }
  // Stopped: the canvases that finished, in job order, then one line for
  // each that did not.
  for (size_t i = emitted; i < outcomes->size(); ++i)
    if ((*outcomes)[i].render.failure != Failure::kStopped)
      sink->Emit((*outcomes)[i]);
  for (size_t i = emitted; i < outcomes->size(); ++i)
    if ((*outcomes)[i].render.failure == Failure::kStopped)
      sink->Emit((*outcomes)[i]);
  return stopped;
}

}  // namespace

int RunJob(const std::string& fontListPath, const std::string& jobFilePath,
           float scale, const RunOptions& options, RenderContext* context) {
  FontMap fonts;
  ReadFontList(fontListPath, &fonts);
  if (fonts.empty()) {
    QMLog("Quillmark : empty font_list.json or parse error");
    return 1;
  }
  std::string text;
  const bool read = ReadFileContent(jobFilePath.c_str(), text);
  rapidjson::Document job;
  if (!ParseJob(text, &job)) {
    if (read)
      QMLog("%s", DescribeParseFailure(jobFilePath, text, job,
                                       JsonRoot::kArray).c_str());
    QMLog("Quillmark : empty text json or parse error");
    return 1;
  }
  std::vector<CanvasOutcome> outcomes = ReadCanvases(job, fonts, scale, options);
  // Nothing the run reads is written, and no image replaces its report.
  std::vector<std::string> fontFiles;
  for (const auto& entry : fonts)
    fontFiles.push_back(entry.second);
  const ProtectedFiles inputs = RunInputs(fontListPath, jobFilePath,
                                          fontFiles);
  context->options.protectedFiles = inputs;
  if (!options.reportPath.empty())
    context->options.protectedFiles.push_back(
        IdentifyFile(options.reportPath, kReportReason));
  const StopSignals stopSignals;
  Outcomes sink(options, inputs);
  ProgressDisplay progress(options.progress, outcomes.size(), stderr);
  const int stopped =
      RenderAll(&outcomes, fonts, options, context, &sink, &progress);
  progress.Finish();
  if (stopped != 0) {
    sink.Abandon();
    return 128 + stopped;
  }
  return sink.Finish();
}

int draw(std::string fontListPath, std::string jobFilePath, float scale) {
  RenderContext context;
  RunOptions options;
  options.flags = setting;
  return RunJob(fontListPath, jobFilePath, scale, options, &context);
}
