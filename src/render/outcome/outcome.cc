#include "render/outcome/outcome.h"

#include "util/log.h"

std::vector<std::string> LogMessages(const CanvasOutcome& outcome) {
  std::vector<std::string> lines = ReadingMessages(outcome.index, outcome.read);
  const std::string canvas = "Quillmark : canvas " +
                             std::to_string(outcome.index);
  const std::string output = Printable(outcome.read.info.outputPath);
  for (const BadColour& colour : outcome.render.badColours)
    lines.push_back(canvas + ": \"ui\" key \"" + colour.key +
                    "\" ignored: not a colour");
  const std::string& detail = outcome.render.failureDetail;
  switch (outcome.render.failure) {
    case Failure::kNone:
      break;
    case Failure::kWrite:
      lines.push_back("Quillmark : failed to write " + output + ": " + detail);
      break;
    case Failure::kFontUnreadable:
      lines.push_back("Quillmark : unable to read font " + Printable(detail));
      break;
    case Failure::kTimedOut:
      lines.push_back(canvas + " (" + output + ") stopped after " + detail +
                      " s");
      break;
    case Failure::kWorkerEnded:
      lines.push_back(canvas + " (" + output + ") not written: " + detail);
      break;
    case Failure::kStopped:
      lines.push_back(canvas + " (" + output +
                      ") not written: the run was stopped by " + detail);
      break;
  }
  return lines;
}
