#include "render/output/image_output.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>

#include "render/magick/errors.h"
#include "render/magick/handles.h"
#include "render/output/output_formats.h"
#include "render/output/temporary_output.h"
#include "util/file.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsKnownMagickFormat(const std::string& name) {
  ExceptionInfo* exception = AcquireExceptionInfo();
  const MagickInfo* info = GetMagickInfo(name.c_str(), exception);
  DestroyExceptionInfo(exception);
  return info != nullptr;
}

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


}  // namespace

bool ResolveOutput(const std::string& path,
                   const std::function<bool(const std::string&)>& isFormat,
                   OutputTarget* target, std::string* error) {
  const std::string prefix = Upper(FormatPrefixOf(path));
  if (!prefix.empty() && isFormat(prefix)) {
    const char* format = PrefixFormatFor(prefix);
    if (format == nullptr) {
      *error = "the format " + prefix + " is not one Quillmark writes";
      return false;
    }
    const std::string file = path.substr(prefix.size() + 1);
    if (file.empty()) {
      *error = "no file name after the format";
      return false;
    }
    *target = {format, file};
    return true;
  }
  size_t slash = path.rfind('/');
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
      dot + 1 == path.size()) {
    *error = "no file extension names the image format";
    return false;
  }
  std::string extension = path.substr(dot + 1);
  const char* format = OutputFormatFor(Upper(extension));
  if (format == nullptr) {
    *error = "the extension \"" + extension +
             "\" is not one of " + OutputFormatNames();
    return false;
  }
  *target = {format, path};
  return true;
}

bool WriteRegularFile(const std::string& file, const void* data, size_t size,
                      std::string* error) {
  struct stat info;
  if (lstat(file.c_str(), &info) == 0) {
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
  const OutputPlace place = SplitOutputPlace(file);
  if (place.name.empty()) {
    *error = std::strerror(EISDIR);
    return false;
  }
  std::unique_ptr<char, decltype(&free)> resolved(
      realpath(place.folder.c_str(), nullptr), &free);
  if (!resolved) {
    *error = std::strerror(errno);
    return false;
  }
  if (const char* system = SystemFolder(resolved.get())) {
    *error = std::string("it is under ") + system + ", where no image belongs";
    return false;
  }

  RemoveLeftoverTemporaryFiles(file, time(nullptr));
  std::string temporary;
  int fd = CreateTemporaryFile(place, &temporary);
  if (fd < 0) {
    *error = std::string("no temporary file could be created in its folder: ") +
             std::strerror(errno);
    return false;
  }
  bool ok = WriteAll(fd, data, size, error);
  if (ok && fsync(fd) != 0 && errno != EINVAL) {
    *error = std::strerror(errno);
    ok = false;
  }
  if (close(fd) != 0 && ok) {
    *error = std::strerror(errno);
    ok = false;
  }
  if (ok && rename(temporary.c_str(), file.c_str()) != 0) {
    *error = std::strerror(errno);
    ok = false;
  }
  if (!ok)
    unlink(temporary.c_str());
  return ok;
}

bool WriteImageFile(MagickWand* wand, const std::string& path,
                    std::string* error) {
  OutputTarget target;
  if (!ResolveOutput(path, IsKnownMagickFormat, &target, error))
    return false;
  MagickClearException(wand);
  MagickSetFormat(wand, target.format.c_str());
  MagickSetImageFormat(wand, target.format.c_str());
  size_t length = 0;
  std::unique_ptr<unsigned char, MagickMemoryDeleter> blob(
      MagickGetImageBlob(wand, &length));
  if (!blob || length == 0) {
    *error = WandFailure(wand, "the image could not be encoded");
    return false;
  }
  return WriteRegularFile(target.file, blob.get(), length, error);
}

bool CheckOutputPath(const std::string& path, std::string* error) {
  OutputTarget target;
  if (!ResolveOutput(path, IsKnownMagickFormat, &target, error))
    return false;
  size_t slash = target.file.rfind('/');
  std::string folder = slash == std::string::npos
                           ? "."
                           : target.file.substr(0, slash == 0 ? 1 : slash);
  struct stat info;
  if (stat(folder.c_str(), &info) != 0) {
    *error = std::strerror(errno);
    return false;
  }
  if (!S_ISDIR(info.st_mode)) {
    *error = std::strerror(ENOTDIR);
    return false;
  }
  if (access(folder.c_str(), W_OK | X_OK) != 0) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
}
