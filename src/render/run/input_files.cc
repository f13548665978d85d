#include "render/run/input_files.h"

ProtectedFiles RunInputs(const std::string& fontListPath,
                         const std::string& jobFilePath,
                         const std::vector<std::string>& fontFiles) {
  ProtectedFiles inputs;
  inputs.push_back(IdentifyFile(fontListPath, kInputReason));
  inputs.push_back(IdentifyFile(jobFilePath, kInputReason));
  for (const std::string& font : fontFiles)
    inputs.push_back(IdentifyFile(font, kInputReason));
  return inputs;
}
