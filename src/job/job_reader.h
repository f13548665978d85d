#ifndef QUILLMARK_JOB_JOB_READER_H_
#define QUILLMARK_JOB_JOB_READER_H_

#include <rapidjson/document.h>

#include <string>

#include "app/setting.h"
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

// Builds the record of canvas `index` (its position in the root array) from
// the starting values (`flags`, `scale`) and the canvas's "ui" keys, applied
// in document order. Returns false when the canvas is to be skipped. Every
// problem except a failed skip rule is logged as one line naming the canvas;
// a "ui" member of the wrong type is ignored and the rest is used.
bool ReadCanvas(const rapidjson::Value& canvas, int index,
                const Setting& flags, float scale, TextInfo* info);

#endif  // QUILLMARK_JOB_JOB_READER_H_
