#include "fonts/font_file.h"

#include <unistd.h>

bool IsReadableFontFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         access(path.c_str(), R_OK) == 0;
}

std::string FontFileKey(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0)
    return "";
  return FontFileKeyOf(path, info);
}

std::string FontFileKeyOf(const std::string& path, const struct stat& info) {
  return path + '\n' + std::to_string(info.st_dev) + ':' +
         std::to_string(info.st_ino) + ':' + std::to_string(info.st_size) +
         ':' + std::to_string(info.st_mtim.tv_sec) + '.' +
         std::to_string(info.st_mtim.tv_nsec);
}

std::string FontPathOfKey(const std::string& fontKey) {
  size_t end = fontKey.rfind('\n');
  return end == std::string::npos ? std::string() : fontKey.substr(0, end);
}
