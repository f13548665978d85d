#include "render/metrics/exact_metrics.h"

#include <cstring>

#include "fonts/font_file.h"
#include "render/magick/handles.h"
#include "render/metrics/magick_metrics.h"

namespace {

// Verdicts are few (one per font file); the bound only stops a run that
// somehow meets endless font files from growing without end.
constexpr size_t kMaxVerdicts = 1024;

// Whether every probe text measures the same, bit for bit, both ways.
bool ProbesAgree(FreetypeMetrics* engine, MagickWand* canvas,
                 const std::string& fontKey, int firstSize, uint64_t* queries) {
  DrawingWandPtr drawing(NewDrawingWand());
  DrawSetFont(drawing.get(), FontPathOfKey(fontKey).c_str());
  MagickMetrics magick(canvas, drawing.get(), true, queries);
  for (int size : {firstSize, kExactProbeSecondSize}) {
    magick.SetFontSize(size);
    for (const std::string& text : ExactProbeTexts()) {
      FontMetrics expected, actual;
      if (!magick.Measure(text, &expected) ||
          !engine->Measure(fontKey, size, text, &actual) ||
          std::memcmp(&expected, &actual, sizeof(FontMetrics)) != 0)
        return false;
    }
  }
  return true;
}

}  // namespace

const std::vector<std::string>& ExactProbeTexts() {
  static const std::vector<std::string> texts = {
      "AV To fi \xC3\xA9 Ty L' \xE5\x9B\xBD\xF0\x9F\x98\x80\tg| ",
      // 漢字かなカナ한글、。「」『』（）！？・ー
      "\xE6\xBC\xA2\xE5\xAD\x97\xE3\x81\x8B\xE3\x81\xAA\xE3\x82\xAB\xE3\x83"
      "\x8A\xED\x95\x9C\xEA\xB8\x80\xE3\x80\x81\xE3\x80\x82\xE3\x80\x8C\xE3"
      "\x80\x8D\xE3\x80\x8E\xE3\x80\x8F\xEF\xBC\x88\xEF\xBC\x89\xEF\xBC\x81"
      "\xEF\xBC\x9F\xE3\x83\xBB\xE3\x83\xBC",
      " ",
      "\n",
      "\xFF" "AVAf\xED",  // not UTF-8: the whole text is read as Latin-1
      "",
      "W\xD7\x90.f\xC4\x8F",  // a Hebrew alef most Latin fonts lack
      "Typography AWAY from Vault: 12,345.67 yd",
  };
  return texts;
}

ExactMetricsRun::ExactMetricsRun(FontFaces* faces)
    : ExactMetricsRun(std::make_unique<FreetypeMetrics>(faces)) {}

ExactMetricsRun::ExactMetricsRun(std::unique_ptr<FreetypeMetrics> engine)
    : engine_(std::move(engine)) {}

bool ExactMetricsRun::Trusts(const std::string& fontKey, int pointSize,
                             MagickWand* canvas) {
  if (!engine_->usable() || !FreetypeMetrics::AcceptsSize(pointSize) ||
      fontKey.empty())
    return false;
  auto known = verdicts_.find(fontKey);
  if (known != verdicts_.end())
    return known->second;
  // Without an image ImageMagick measures nothing, which says nothing about
  // the font.
  if (MagickGetNumberImages(canvas) == 0)
    return false;
  if (verdicts_.size() >= kMaxVerdicts)
    verdicts_.clear();
  bool agree =
      ProbesAgree(engine_.get(), canvas, fontKey, pointSize, &probeQueries_);
  verdicts_.emplace(fontKey, agree);
  ++(agree ? trusted_ : distrusted_);
  return agree;
}

void ExactMetrics::SetFontSize(int size) {
  fallback_->SetFontSize(size);
  size_ = size;
}

bool ExactMetrics::Measure(const std::string& text, FontMetrics* out) {
  if (fontKey_.empty())
    return false;
  if (run_->Trusts(fontKey_, size_, canvas_) &&
      run_->engine().Measure(fontKey_, size_, text, out))
    return true;
  return fallback_->Measure(text, out);
}
