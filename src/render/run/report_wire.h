#ifndef QUILLMARK_RENDER_RUN_REPORT_WIRE_H_
#define QUILLMARK_RENDER_RUN_REPORT_WIRE_H_

#include <string>

#include "render/outcome/outcome.h"

// A canvas's report as bytes, for the pipe from a worker process to the
// process that started it. Numbers travel bit for bit.
std::string EncodeReport(const RenderReport& report);

// The report that `bytes` encode; false when they are not one.
bool DecodeReport(const std::string& bytes, RenderReport* report);

#endif  // QUILLMARK_RENDER_RUN_REPORT_WIRE_H_
