#include "support/job_text.h"

std::string AreaJson(const Area& a) {
  return "[" + std::to_string(a.x) + "," + std::to_string(a.y) + "," +
         std::to_string(a.width) + "," + std::to_string(a.height) + "]";
}

std::string Canvas(int width, int height, const std::string& output,
                   const std::string& ui) {
  return "{\"size\":[" + std::to_string(width) + "," + std::to_string(height) +
         "],\"output\":\"" + output + "\",\"ui\":{" + ui + "}}";
}

std::string QuickCanvas(const std::string& output) {
  return Canvas(60, 30, output, R"("default": "Ab", "font": "sans", "size": 16,
                                   "area": [2, 2, 56, 26], "fill": "red")");
}

std::string Job(const std::vector<std::string>& canvases) {
  std::string job = "[\n";
  for (size_t i = 0; i < canvases.size(); ++i)
    job += (i ? ",\n" : "") + canvases[i];
  return job + "\n]\n";
}
