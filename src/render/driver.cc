#include "render/driver.h"

#include <rapidjson/document.h>

#include "app/setting.h"
#include "fonts/font_registry.h"
#include "job/job_reader.h"
#include "render/image_output.h"
#include "render/magick_handles.h"
#include "render/magick_safety.h"
#include "render/renderers.h"
#include "util/file.h"
#include "util/log.h"

namespace {

void LogWriteFailure(const TextInfo& info, const std::string& reason) {
  QMLog("Quillmark : failed to write %s: %s",
        Printable(info.outputPath).c_str(), reason.c_str());
}

bool RenderAndWrite(TextInfo info) {
  MagickWandPtr wand(NewMagickWand());
  if (!wand) {
    LogWriteFailure(info, "no wand could be created");
    return false;
  }
  // Both passes pad the top by half the job's stroke width, also the second
  // one, which draws no stroke.
  const float halfStroke = 0.5f * info.strokeWidth;
  auto render = info.direction == 0 ? drawHorizontalTexts : drawVerticalTexts;
  bool fontUnreadable = render(wand.get(), info, true, halfStroke, 0, 0) ==
                        kRenderFontUnreadable;
  if (!info.strokeOverFill && info.strokeWidth > 0) {
    // The outline lies under the fill: draw the fill once more over it, half
    // a pixel lower, without outline and shadow.
    info.strokeWidth = 0;
    info.shadowAlpha = 0;
    fontUnreadable |= render(wand.get(), info, false, halfStroke, 0, 0.5f) ==
                      kRenderFontUnreadable;
  }
  if (MagickGetNumberImages(wand.get()) == 0) {
    LogWriteFailure(info, WandFailure(wand.get(), "unknown error"));
    return false;
  }
  if (fontUnreadable) {
    QMLog("Quillmark : unable to read font %s",
          Printable(GetFont(info.fontName.c_str())).c_str());
    return false;
  }
  std::string error;
  if (!WriteImageFile(wand.get(), info.outputPath, &error)) {
    LogWriteFailure(info, error);
    return false;
  }
  return true;
}

}  // namespace

bool DrawCanvas(const TextInfo& info) {
  MagickWandGenesis();
  bool written = false;
  if (ApplyMagickSafety())
    written = RenderAndWrite(info);
  else
    LogWriteFailure(info, "ImageMagick refused the safety settings");
  MagickWandTerminus();
  return written;
}

int draw(std::string fontListPath, std::string jobFilePath, float scale) {
  LoadFontFiles(fontListPath);
  if (kFontInfoMaps.empty()) {
    QMLog("Quillmark : empty font_list.json or parse error");
    return 1;
  }
  std::string text;
  const bool read = ReadFileContent(jobFilePath.c_str(), text);
  rapidjson::Document job;
  if (!ParseJob(text, &job)) {
    if (read)
      QMLog("%s", DescribeParseFailure(jobFilePath, text, job,
                                       JsonRoot::kArray).c_str());
    QMLog("Quillmark : empty text json or parse error");
    return 1;
  }
  bool allWritten = true;
  for (rapidjson::SizeType i = 0; i < job.Size(); ++i) {
    TextInfo info;
    if (!ReadCanvas(job[i], static_cast<int>(i), setting, scale, &info))
      continue;
    if (!DrawCanvas(info))
      allWritten = false;
  }
  return allWritten ? 0 : 1;
}
