#include "render/metrics/magick_metrics.h"

#include "render/magick/handles.h"

void MagickMetrics::SetFontSize(int size) {
  DrawSetFontSize(drawing_, static_cast<double>(size));
}

bool MagickMetrics::Measure(const std::string& text, FontMetrics* out) {
  if (!fontReadable_)
    return false;
  if (queries_ != nullptr)
    ++*queries_;
  MetricsArrayPtr array(MagickQueryFontMetrics(wand_, drawing_, text.c_str()));
  if (!array)
    return false;
  const double* v = array.get();
  *out = {v[0], v[1], v[2], v[3], v[4],  v[5], v[6],
          v[7], v[8], v[9], v[10], v[11], v[12]};
  return true;
}
