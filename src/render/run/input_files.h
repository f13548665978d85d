#ifndef QUILLMARK_RENDER_RUN_INPUT_FILES_H_
#define QUILLMARK_RENDER_RUN_INPUT_FILES_H_

#include <string>
#include <vector>

#include "render/output/write_checks.h"

// Why an output may not be written over a file the run reads.
constexpr const char kInputReason[] = "it is an input of this run";
// Why an output may not be written over the run's report.
constexpr const char kReportReason[] = "it is the report of this run";

// The files this run reads, identified as they are now: the font list, the
// job file and every font file the registry names. Neither an image nor the
// report is written over any of them.
ProtectedFiles RunInputs(const std::string& fontListPath,
                         const std::string& jobFilePath,
                         const std::vector<std::string>& fontFiles);

#endif  // QUILLMARK_RENDER_RUN_INPUT_FILES_H_
