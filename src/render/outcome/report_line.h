#ifndef QUILLMARK_RENDER_OUTCOME_REPORT_LINE_H_
#define QUILLMARK_RENDER_OUTCOME_REPORT_LINE_H_

#include <string>
#include <vector>

#include "render/outcome/outcome.h"

// A canvas's outcome as one line of the report: a JSON object without line
// breaks (docs/report.schema.json describes it).
std::string ReportLine(const CanvasOutcome& outcome);

// Why the canvas was skipped or not written, as the log says it; empty for a
// canvas that was written.
std::string OutcomeReason(const CanvasOutcome& outcome);

// The problems that -strict turns into failures, each as a log line naming
// the canvas and its output: text that does not fit, an unknown font name,
// unknown keys, colours that do not parse, characters without a glyph, and
// members of the wrong type.
std::vector<std::string> StrictMessages(const CanvasOutcome& outcome);

#endif  // QUILLMARK_RENDER_OUTCOME_REPORT_LINE_H_
