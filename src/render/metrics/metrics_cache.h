#ifndef QUILLMARK_RENDER_METRICS_METRICS_CACHE_H_
#define QUILLMARK_RENDER_METRICS_METRICS_CACHE_H_

#include <cstdint>
#include <string>
#include <unordered_map>

#include "render/metrics/font_metrics.h"

// Every measurement of a run, so that no text is measured twice under the
// same font file, drawing settings and font size: not in a later fitting
// pass, the annotation step, the second pass of a canvas, or a later canvas.
//
// Measurements are grouped by "class": the font file and every drawing
// setting that differs between items (stroke, colours, translation). Each
// class measures into a "space", a numbered set of tables, one per font
// size. Two classes share one space only when a probe text measured the
// same in both at the same size, so a library release in which, say, the
// stroke width changed the metrics would simply not share them.
//
// Not thread-safe: a run context holds one, used by one canvas at a time.
class MetricsCache {
 public:
  using Table = std::unordered_map<std::string, FontMetrics>;

  // The measurements of `space` at `size`.
  Table& TableFor(int space, int size);

  // The space of a class seen before, or -1.
  int KnownSpace(const std::string& classKey) const;

  // The space of `classKey`. A class seen for the first time shares the
  // space of a class of the same font whose probe at `size` measured exactly
  // `probe`, and gets a space of its own otherwise.
  int SpaceFor(const std::string& fontKey, const std::string& classKey,
               int size, const FontMetrics& probe);

  // Counts an added entry; past the bound everything is forgotten, so that
  // a hostile job cannot fill the memory.
  void Added();

  size_t entries() const { return entries_; }
  void Clear();

 private:
  struct ClassInfo {
    std::string fontKey;
    int probeSize;
    FontMetrics probe;
    int space;
  };
  std::unordered_map<std::string, ClassInfo> classes_;
  std::unordered_map<uint64_t, Table> tables_;
  size_t entries_ = 0;
  int nextSpace_ = 0;
};

// The text measured to decide whether two classes share measurements.
extern const char kProbeText[];

// Measures through `measure`, remembering every result in `cache`.
class CachedMetrics : public MetricsSource {
 public:
  // `fontKey` identifies the font file's content (see FontFileKey in
  // fonts/font_file.h);
  // `classKey` extends it with the drawing settings in force.
  CachedMetrics(MetricsSource* measure, MetricsCache* cache,
                std::string fontKey, std::string classKey)
      : measure_(measure),
        cache_(cache),
        fontKey_(std::move(fontKey)),
        classKey_(std::move(classKey)) {}
  void SetFontSize(int size) override;
  bool Measure(const std::string& text, FontMetrics* out) override;

 private:
  MetricsSource* measure_;
  MetricsCache* cache_;
  std::string fontKey_;
  std::string classKey_;
  int size_ = 0;
  int space_ = -1;  // found at the first measurement
};

#endif  // QUILLMARK_RENDER_METRICS_METRICS_CACHE_H_
