#include "app/setting.h"

#include <cstring>

Setting setting;

void ReadFlags(int argc, const char* const* argv, Setting* flags) {
  for (int i = 3; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] != '-')
      continue;
    if (std::strcmp(arg, "-adjustToFit") == 0)
      flags->adjustToFit = true;
    else if (std::strcmp(arg, "-ignoreLineHeight") == 0)
      flags->ignoreLineHeight = true;
  }
}
