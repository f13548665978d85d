#include "render/magick/installed_configuration.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

std::string InstalledMagickConfiguration() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0)
    return "";
  std::string binary(path, static_cast<size_t>(n));
  const size_t slash = binary.rfind('/');
  if (slash == std::string::npos)
    return "";
  // CMakeLists.txt installs the files there.
  const std::string folder =
      binary.substr(0, slash) + "/../lib/quillmark/ImageMagick/";
  struct stat info;
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    return "";
  return folder;
}

void UseInstalledMagickConfiguration() {
  const std::string folder = InstalledMagickConfiguration();
  if (folder.empty())
    return;
  const char* given = getenv("MAGICK_CONFIGURE_PATH");
  const std::string paths =
      given != nullptr && *given != '\0' ? std::string(given) + ":" + folder
                                         : folder;
  setenv("MAGICK_CONFIGURE_PATH", paths.c_str(), 1);
}
