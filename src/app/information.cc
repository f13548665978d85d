#include "app/information.h"

#include <MagickWand/MagickWand.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <unicode/uversion.h>

#include <cstdio>
#include <cstring>

#ifndef QUILLMARK_VERSION
#define QUILLMARK_VERSION "unknown"
#endif

std::string HelpText() {
  return "usage: Quillmark FONT_LIST.json JOB.json [arguments]\n"
         "\n"
         "Renders every canvas of JOB.json with the fonts that FONT_LIST.json\n"
         "names, logging on standard output.\n"
         "\n"
         "  -adjustToFit          fit the text to its area by default\n"
         "  -ignoreLineHeight     ignore \"line_height\" by default\n"
         "  -jobs=N, -jobs=auto   render N canvases at a time (auto: one a core)\n"
         "  -shard=I/N            render only the canvases whose index % N is I\n"
         "  -memory=MiB           keep the canvases rendered together under this\n"
         "  -timeout=SECONDS      stop a canvas after this long (default 60, 0: none)\n"
         "  -report=PATH          write one JSON line per canvas to PATH\n"
         "  -strict               problems that leave an image wrong fail the run\n"
         "  -dry-run              lay out and fit, but draw and write nothing\n"
         "  -progress             a progress line and a summary on standard error\n"
         "                        (without asking when it is a terminal)\n"
         "  -png-compression=N    write PNG with zlib level N (0-9; default: 7)\n"
         "  -wrap=word            \"wrap\": \"word\" for every canvas without it\n"
         "  -valign=N             \"valign\": N (0, 1 or 2) likewise\n"
         "  -vertical-forms       \"vertical_forms\": true likewise\n"
         "  -shape                \"shape\": true likewise\n"
         "  --help, -h            this text\n"
         "  --version             the versions of Quillmark and its libraries\n"
         "\n"
         "README.md describes the font list, the job file, the report and the "
         "log.\n";
}

std::string VersionText() {
  size_t number = 0;
  const char* magick = MagickGetVersion(&number);
  FT_Library library = nullptr;
  FT_Int major = 0, minor = 0, patch = 0;
  if (FT_Init_FreeType(&library) == 0) {
    FT_Library_Version(library, &major, &minor, &patch);
    FT_Done_FreeType(library);
  }
  char freetype[64];
  snprintf(freetype, sizeof(freetype), "%d.%d.%d", major, minor, patch);
  return std::string("Quillmark ") + QUILLMARK_VERSION + "\n" + magick +
         "\nFreeType " + freetype + "\nICU " U_ICU_VERSION "\n";
}

bool PrintInformation(const char* arg) {
  std::string text;
  if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)
    text = HelpText();
  else if (std::strcmp(arg, "--version") == 0)
    text = VersionText();
  else
    return false;
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
  return true;
}
