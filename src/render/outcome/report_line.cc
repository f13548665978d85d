#include "render/outcome/report_line.h"

#include "util/json_text.h"
#include "util/log.h"
#include "util/utf8.h"

namespace {

const char* StatusName(CanvasStatus status) {
  switch (status) {
    case CanvasStatus::kWritten:
      return "written";
    case CanvasStatus::kSkipped:
      return "skipped";
    case CanvasStatus::kFailed:
      return "failed";
  }
  return "failed";
}

std::string StringList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i)
    out += (i ? "," : "") + JsonString(items[i]);
  return out + "]";
}

// `text` for a log line: control bytes escaped, and cut after `limit` bytes.
std::string Quoted(const std::string& text, size_t limit = 120) {
  // Cut between characters, never inside one.
  const size_t kept = text.size() > limit ? CharacterPrefixLength(text, limit)
                                          : text.size();
  std::string shown = Printable(text.substr(0, kept));
  if (kept < text.size())
    shown += "...";
  return "\"" + shown + "\"";
}

std::string QuotedList(const std::vector<std::string>& items) {
  std::string out;
  for (size_t i = 0; i < items.size(); ++i)
    out += (i ? ", " : "") + Quoted(items[i]);
  return out;
}

// The runs of a shaped line: [{"text":...,"font":...,"x":...,"y":...}].
std::string RunList(const std::vector<PlacedRun>& runs) {
  std::string out = "[";
  for (size_t i = 0; i < runs.size(); ++i)
    out += (i ? ",{\"text\":" : "{\"text\":") + JsonString(runs[i].text) +
           ",\"font\":" + JsonString(runs[i].font) +
           ",\"x\":" + JsonNumber(runs[i].x) +
           ",\"y\":" + JsonNumber(runs[i].y) + "}";
  return out + "]";
}

}  // namespace

std::string OutcomeReason(const CanvasOutcome& outcome) {
  if (!outcome.read.isCanvas)
    return "not a canvas: it needs a \"size\" array, a \"ui\" object and an "
           "\"output\" string";
  if (!outcome.read.skipReason.empty())
    return outcome.read.skipReason;
  return FailureText(outcome);
}

std::string ReportLine(const CanvasOutcome& outcome) {
  const CanvasRead& read = outcome.read;
  const RenderReport& render = outcome.render;
  const bool drawable = read.drawable();
  std::string line = "{\"canvas\":" + std::to_string(outcome.index);
  line += ",\"output\":" +
          (read.isCanvas ? JsonString(read.info.outputPath) : "null");
  line += ",\"status\":\"" + std::string(StatusName(outcome.status())) + "\"";
  const std::string reason = OutcomeReason(outcome);
  line += ",\"reason\":" + (reason.empty() ? "null" : JsonString(reason));
  if (drawable) {
    line += ",\"direction\":\"";
    line += read.info.direction == 0 ? "horizontal\"" : "vertical\"";
    line += ",\"font\":" + JsonString(read.info.fontName);
    line += ",\"font_file\":" + JsonString(outcome.fontFile);
    line += ",\"font_fallback\":";
    line += outcome.fontFallback ? "true" : "false";
  } else {
    line += ",\"direction\":null,\"font\":null,\"font_file\":null"
            ",\"font_fallback\":null";
  }
  line += ",\"font_size\":" +
          (outcome.rendered ? std::to_string(render.fontSize) : "null");
  line += ",\"lines\":[";
  for (size_t i = 0; i < render.lines.size(); ++i) {
    const PlacedLine& placed = render.lines[i];
    line += (i ? ",{\"text\":" : "{\"text\":") + JsonString(placed.text) +
            ",\"x\":" + JsonNumber(placed.x) + ",\"y\":" +
            JsonNumber(placed.y);
    if (i < render.runs.size())
      line += ",\"runs\":" + RunList(render.runs[i]);
    line += "}";
  }
  line += "],\"overflow\":" + StringList(render.overflow);
  line += ",\"missing_glyphs\":" + StringList(render.missingGlyphs);
  line += ",\"bad_colours\":[";
  for (size_t i = 0; i < render.badColours.size(); ++i)
    line += (i ? ",{\"key\":" : "{\"key\":") +
            JsonString(render.badColours[i].key) + ",\"value\":" +
            JsonString(render.badColours[i].value) + "}";
  line += "],\"ignored\":[";
  for (size_t i = 0; i < read.ignored.size(); ++i)
    line += (i ? ",{\"key\":" : "{\"key\":") + JsonString(read.ignored[i].key) +
            ",\"why\":" + JsonString(read.ignored[i].why) + "}";
  line += "],\"unknown_keys\":{\"ui\":" + StringList(read.unknownUiKeys) +
          ",\"canvas\":" + StringList(read.unknownCanvasKeys) + "}";
  line += ",\"seconds\":" +
          (outcome.rendered ? JsonNumber(render.seconds) : "null");
  return line + "}";
}

std::vector<std::string> StrictMessages(const CanvasOutcome& outcome) {
  std::vector<std::string> lines;
  const CanvasRead& read = outcome.read;
  if (!read.drawable()) {
    // A canvas that is skipped is missing from the output: a problem too.
    lines.push_back("Quillmark : canvas " + std::to_string(outcome.index) +
                    " not drawn: " + Printable(OutcomeReason(outcome)));
    return lines;
  }
  const std::string canvas = "Quillmark : canvas " +
                             std::to_string(outcome.index) + " (" +
                             Printable(read.info.outputPath) + "): ";
  const RenderReport& render = outcome.render;
  if (!render.overflow.empty())
    lines.push_back(canvas + "text does not fit the area: " +
                    QuotedList(render.overflow));
  if (outcome.fontFallback)
    lines.push_back(canvas + "font " + Quoted(read.info.fontName) +
                    " is not in the font list; " + Quoted(outcome.fontFile) +
                    " was used");
  for (const std::string& key : read.unknownUiKeys)
    lines.push_back(canvas + "unknown key " + Quoted(key) + " in \"ui\"");
  for (const std::string& key : read.unknownCanvasKeys)
    lines.push_back(canvas + "unknown key " + Quoted(key) + " in the canvas");
  for (const BadColour& colour : render.badColours)
    lines.push_back(canvas + "colour " + Quoted(colour.value) + " of \"" +
                    colour.key + "\" does not parse");
  if (!render.missingGlyphs.empty())
    lines.push_back(canvas + "no glyph in " + Quoted(outcome.fontFile) +
                    " for " + QuotedList(render.missingGlyphs));
  for (const IgnoredMember& member : read.ignored)
    lines.push_back(canvas + "\"ui\" key \"" + member.key + "\" ignored: " +
                    member.why);
  return lines;
}
