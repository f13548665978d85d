#include "render/output/write_checks.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <linux/fs.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <MagickWand/MagickWand.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "job/job_reader.h"
#include "render/output/temporary_output.h"

namespace {

// The system folder (/dev, /proc, /sys) that the resolved folder `folder` is
// or lies in, or nullptr.
const char* SystemFolder(const std::string& folder) {
  for (const char* system : {"/dev", "/proc", "/sys"}) {
    const size_t n = std::strlen(system);
    if (folder.compare(0, n, system) == 0 &&
        (folder.size() == n || folder[n] == '/'))
      return system;
  }
  return nullptr;
}

std::string Resolved(const std::string& folder) {
  std::unique_ptr<char, decltype(&free)> resolved(
      realpath(folder.c_str(), nullptr), &free);
  return resolved ? std::string(resolved.get()) : std::string();
}

// True when the inode flags of `path` (opened without following a link and
// without blocking) forbid replacing it or, for a folder, its entries.
bool Unreplaceable(const std::string& path, bool folder) {
  int flags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
  if (folder)
    flags |= O_DIRECTORY;
  const int fd = open(path.c_str(), flags);
  if (fd < 0)
    return false;
  int attributes = 0;
  const bool known = ioctl(fd, FS_IOC_GETFLAGS, &attributes) == 0;
  close(fd);
  return known && (attributes & (FS_APPEND_FL | FS_IMMUTABLE_FL)) != 0;
}

}  // namespace

std::string ResolvedFilePath(const std::string& file) {
  const OutputPlace place = SplitOutputPlace(file);
  const std::string folder = Resolved(place.folder);
  if (folder.empty() || place.name.empty())
    return "";
  return (folder == "/" ? "" : folder) + "/" + place.name;
}

ProtectedFile IdentifyFile(const std::string& path, const std::string& reason) {
  ProtectedFile file;
  file.reason = reason;
  struct stat info;
  if (stat(path.c_str(), &info) == 0) {
    file.exists = true;
    file.device = info.st_dev;
    file.inode = info.st_ino;
  }
  file.canonical = ResolvedFilePath(path);
  return file;
}

bool CheckWriteTarget(const std::string& file,
                      const ProtectedFiles& protectedFiles,
                      std::string* error) {
  const OutputPlace place = SplitOutputPlace(file);
  if (place.name.empty()) {
    *error = std::strerror(EISDIR);
    return false;
  }
  struct stat followed;
  const bool exists = stat(file.c_str(), &followed) == 0;
  const std::string canonical = ResolvedFilePath(file);
  for (const ProtectedFile& p : protectedFiles) {
    if ((exists && p.exists && p.device == followed.st_dev &&
         p.inode == followed.st_ino) ||
        (!canonical.empty() && canonical == p.canonical)) {
      *error = p.reason;
      return false;
    }
  }
  struct stat info;
  const bool present = lstat(file.c_str(), &info) == 0;
  if (present) {
    // A link would be replaced, not followed: refuse it rather than surprise
    // whoever made it. /dev/stdout and /proc/self/fd/N are links too.
    if (S_ISLNK(info.st_mode)) {
      *error = "it is a symbolic link";
      return false;
    }
    if (!S_ISREG(info.st_mode)) {
      *error = "it exists and is not a regular file";
      return false;
    }
  } else if (errno != ENOENT) {
    *error = std::strerror(errno);
    return false;
  }
  if (place.name.size() > NAME_MAX) {
    *error = std::strerror(ENAMETOOLONG);
    return false;
  }
  const std::string folder = Resolved(place.folder);
  if (folder.empty()) {
    *error = std::strerror(errno);
    return false;
  }
  if (const char* system = SystemFolder(folder)) {
    *error = std::string("it is under ") + system + ", where no image belongs";
    return false;
  }
  struct stat folderInfo;
  if (stat(folder.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode)) {
    *error = std::strerror(ENOTDIR);
    return false;
  }
  // An append-only or immutable folder lets a temporary file be made but
  // neither renamed nor removed: nothing is created there.
  if (Unreplaceable(folder, true) || (present && Unreplaceable(file, false))) {
    *error = std::string("cannot replace it: ") + std::strerror(EPERM);
    return false;
  }
  if (access(folder.c_str(), W_OK | X_OK) != 0) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
}

namespace {

// True when ImageMagick's blur of sigma `sigma` fits an image `side` pixels
// long (the border included) under the limit: it reads rows (and columns)
// of side + kernel width - 1 pixels, the width as GetOptimalKernelWidth1D
// gives it for radius 0. Its sums are kept as it goes, and it stops as soon
// as the width cannot fit.
bool BlurFits(double side, double sigma) {
  const double alpha = 1.0 / (2.0 * sigma * sigma);
  const double kSqrt2Pi = 2.50662827463100024161235523934010416269302368164062;
  const double beta = 1.0 / (kSqrt2Pi * sigma);
  auto term = [&](double i) { return std::exp(-(i * i) * alpha) * beta; };
  double width = 5;
  double normalize = 0;
  for (double i = -2; i <= 2; ++i)
    normalize += term(i);
  for (;;) {
    const double j = (width - 1) / 2;
    const double value = term(j) / normalize;
    if (value < QuantumScale || value < MagickEpsilon)
      break;
    if (side + (width - 2) - 1 > kMaxCanvasSide)
      return false;  // the width only grows
    width += 2;
    normalize += 2 * term(j + 1);
  }
  return side + (width - 2) - 1 <= kMaxCanvasSide;
}

}  // namespace

bool ShadowWithinLimit(const TextInfo& info, std::string* error) {
  if (!(info.shadowAlpha > 0 && info.shadowSize > 0))
    return true;
  // ShadowImage borders a copy of the canvas by floor(2 sigma + 0.5), then
  // blurs it.
  const double sigma = info.shadowSize;
  const double border = std::floor(2.0 * sigma + 0.5);
  const double width = info.canvasWidth + 2 * border;
  const double height = info.canvasHeight + 2 * border;
  if (width <= kMaxCanvasSide && height <= kMaxCanvasSide &&
      BlurFits(std::max(width, height), sigma))
    return true;
  *error = "width or height exceeds limit";
  return false;
}
