#include <MagickWand/MagickWand.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/information.h"
#include "job/setting.h"
#include "render/magick/installed_configuration.h"
#include "render/run/driver.h"
#include "util/log.h"
#include "util/system_resources.h"

int main(int argc, char** argv) {
  TuneAllocator();
  UseInstalledMagickConfiguration();
  if (argc == 2 && PrintInformation(argv[1]))
    return 0;
  CommandLine line;
  if (!ReadCommandLine(argc, argv, AvailableCores(), &line)) {
    QMLog("Quillmark : invalid arguments, use: ./Quillmark "
          "/path/to/font_list.json /path/to/config_content.json");
    return 1;
  }
  // A reader that closes standard output early must not end the run: the
  // log's write errors are ignored and every canvas is still written.
  signal(SIGPIPE, SIG_IGN);
  // Under a file-size limit, a write past it fails with EFBIG and that image
  // is reported, instead of the whole run being killed.
  signal(SIGXFSZ, SIG_IGN);

  size_t versionNumber = 0;
  const char* version = MagickGetVersion(&versionNumber);
  QMLog("%s, %d", version, static_cast<int>(versionNumber));

  // The documented process-wide record; the run is handed its own copy.
  setting = line.options.flags;
  // Deliberate: "ajustToFit" is spelled as other programs that read this log
  // expect it.
  QMLog("quillmark global setting: ajustToFit: %d, ignoreLineHeight: %d",
        line.options.flags.adjustToFit, line.options.flags.ignoreLineHeight);
  for (const std::string& problem : line.problems)
    QMLog("Quillmark : %s", Printable(problem).c_str());
  for (const std::string& argument : line.unknown)
    QMLog("Quillmark : %s", Printable(argument).c_str());
  // An argument that cannot be used ends the run before any canvas, and
  // with -strict so does one that is not Quillmark's.
  if (!line.problems.empty() ||
      (line.options.strict && !line.unknown.empty()))
    return 1;
  // On a terminal the progress line is there without asking.
  if (isatty(STDERR_FILENO))
    line.options.progress = true;
  RenderContext context;
  return RunJob(line.fontListPath, line.jobFilePath, 1.0f, line.options,
                &context);
}
