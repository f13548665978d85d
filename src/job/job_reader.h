#ifndef QUILLMARK_JOB_JOB_READER_H_
#define QUILLMARK_JOB_JOB_READER_H_

#include <rapidjson/document.h>

#include <string>
#include <vector>

#include "fonts/font_registry.h"
#include "job/setting.h"
#include "job/text_info.h"
#include "util/json_input.h"

// The largest canvas side, and the largest magnitude of a scaled font size or
// line height, stroke width, shadow size and shadow distance. Beyond these a
// canvas would exhaust memory or run for hours; it is skipped instead.
constexpr int kMaxCanvasSide = 16384;
constexpr int kMaxMagnitude = 16384;

// Parses a job file's text as ParseInputJson does: strict JSON after a
// byte-order mark, lone high surrogates as in a string's raw bytes, nesting
// of any depth. Returns false on a parse error or when the root is not an
// array; DescribeParseFailure(path, text, *doc, JsonRoot::kArray) says which.
bool ParseJob(const std::string& text, rapidjson::Document* doc);

// A "ui" member that was not used, and why.
struct IgnoredMember {
  std::string key;
  std::string why;
};

// What reading one canvas found.
struct CanvasRead {
  // False when the canvas fails the skip rule: no "size" array, "ui" object
  // or "output" string. Such a canvas is dropped without a word.
  bool isCanvas = false;
  // Why a canvas that passed the skip rule cannot be drawn; empty when it
  // can.
  std::string skipReason;
  // The record, from the starting values and the "ui" keys in document order.
  TextInfo info;
  // "ui" members of the wrong type or range, in document order; the rest of
  // the canvas is used.
  std::vector<IgnoredMember> ignored;
  // Member names that Quillmark does not know, in document order.
  std::vector<std::string> unknownUiKeys;
  std::vector<std::string> unknownCanvasKeys;
  // The colour keys ("fill", "stroke", "shadow") given as strings; their
  // values are in `info`.
  std::vector<std::string> colourKeys;

  bool drawable() const { return isCanvas && skipReason.empty(); }
};

// Job-wide starting values of the opt-in typography keys, from the command
// line ("-wrap=word", "-valign=N", "-vertical-forms", "-shape"); a canvas's
// own key overrides them. The defaults stand for their absence.
struct JobDefaults {
  bool wrapWords = false;
  int blockAlign = 0;
  bool verticalForms = false;
  bool shapeText = false;
};

// Reads one element of the job's root array into a record, from the starting
// values (`flags`, `scale`, `defaults`) and the canvas's "ui" keys, applied
// in document order. A "ui" member of the wrong type is ignored and the rest
// is used. A "fallback" name that `fonts` (the run's font list) lacks is
// left out; without `fonts` every name is kept.
CanvasRead ReadCanvas(const rapidjson::Value& canvas, const Setting& flags,
                      float scale, const JobDefaults& defaults = JobDefaults(),
                      const FontMap* fonts = nullptr);

// The log lines that reading canvas `index` gives: one per ignored member,
// then the reason it is skipped, if it is.
std::vector<std::string> ReadingMessages(int index, const CanvasRead& read);

#endif  // QUILLMARK_JOB_JOB_READER_H_
