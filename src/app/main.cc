#include <MagickWand/MagickWand.h>
#include <signal.h>

#include <string>

#include "app/setting.h"
#include "render/driver.h"
#include "util/log.h"

int main(int argc, char** argv) {
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
  QMLog("quillmark global setting: ajustToFit: %d, ignoreLineHeight: %d",
        setting.adjustToFit, setting.ignoreLineHeight);
  return draw(fontListPath, jobFilePath, 1.0f);
}
