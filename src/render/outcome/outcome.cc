#include "render/outcome/outcome.h"

#include "util/log.h"

std::string FailureText(const CanvasOutcome& outcome) {
  const std::string canvas = "canvas " + std::to_string(outcome.index);
  const std::string output = Printable(outcome.read.info.outputPath);
  const std::string& detail = outcome.render.failureDetail;
  switch (outcome.render.failure) {
    case Failure::kNone:
      break;
    case Failure::kWrite:
      return "failed to write " + output + ": " + detail;
    case Failure::kFontUnreadable:
      return "unable to read font " + Printable(detail);
    case Failure::kTimedOut:
      return canvas + " (" + output + ") stopped after " + detail + " s";
    case Failure::kWorkerEnded:
      return canvas + " (" + output + ") not written: " + detail;
    case Failure::kStopped:
      return canvas + " (" + output + ") not written: the run was stopped by " +
             detail;
  }
  return "";
}

std::vector<std::string> LogMessages(const CanvasOutcome& outcome) {
  std::vector<std::string> lines = ReadingMessages(outcome.index, outcome.read);
  for (const BadColour& colour : outcome.render.badColours)
    lines.push_back("Quillmark : canvas " + std::to_string(outcome.index) +
                    ": \"ui\" key \"" + colour.key + "\" ignored: not a colour");
  if (outcome.render.failure != Failure::kNone)
    lines.push_back("Quillmark : " + FailureText(outcome));
  return lines;
}
