#include "render/magick_metrics.h"

#include <sys/stat.h>
#include <unistd.h>

#include "render/magick_handles.h"

namespace {
uint64_t queryCount = 0;
}  // namespace

uint64_t MetricsQueryCount() { return queryCount; }

bool IsReadableRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         access(path.c_str(), R_OK) == 0;
}

MagickMetrics::MagickMetrics(MagickWand* wand, DrawingWand* drawing,
                             const std::string& fontFile)
    : wand_(wand),
      drawing_(drawing),
      fontReadable_(IsReadableRegularFile(fontFile)) {}

void MagickMetrics::SetFontSize(int size) {
  DrawSetFontSize(drawing_, static_cast<double>(size));
}

bool MagickMetrics::Measure(const std::string& text, FontMetrics* out) {
  if (!fontReadable_)
    return false;
  ++queryCount;
  MetricsArrayPtr array(MagickQueryFontMetrics(wand_, drawing_, text.c_str()));
  if (!array)
    return false;
  const double* v = array.get();
  *out = {v[0], v[1], v[2], v[3], v[4],  v[5], v[6],
          v[7], v[8], v[9], v[10], v[11], v[12]};
  return true;
}
