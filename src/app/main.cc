#include <MagickWand/MagickWand.h>
#include <signal.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "job/setting.h"
#include "render/run/driver.h"
#include "util/log.h"
#include "util/system_resources.h"

int main(int argc, char** argv) {
  TuneAllocator();
  if (argc < 3) {
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

  std::string fontListPath = argv[1];
  std::string jobFilePath = argv[2];
  ReadFlags(argc, argv, &setting);
  RunOptions options;
  std::vector<std::string> problems;
  ReadRunOptions(argc, argv, AvailableCores(), &options, &problems);
  // Deliberate: "ajustToFit" is spelled as other programs that read this log
  // expect it.
  QMLog("quillmark global setting: ajustToFit: %d, ignoreLineHeight: %d",
        setting.adjustToFit, setting.ignoreLineHeight);
  for (const std::string& problem : problems)
    QMLog("Quillmark : %s", Printable(problem).c_str());
  RenderContext context;
  return RunJob(fontListPath, jobFilePath, 1.0f, options, &context);
}
