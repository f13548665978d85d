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
#include "render/output/write_checks.h"
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
                      const ProtectedFiles& protectedFiles,
                      std::string* error) {
  if (!CheckWriteTarget(file, protectedFiles, error))
    return false;
  const OutputPlace place = SplitOutputPlace(file);
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
  if (!ok) {
    unlink(temporary.c_str());
    return false;
  }
  return ReplaceWithTemporary(temporary, file, error);
}

bool ReplaceWithTemporary(const std::string& temporary,
                          const std::string& file, std::string* error) {
  if (rename(temporary.c_str(), file.c_str()) == 0)
    return true;
  *error = std::string("cannot replace it: ") + std::strerror(errno);
  if (unlink(temporary.c_str()) != 0)
    *error += "; its temporary file " + temporary +
              " could not be removed: " + std::strerror(errno);
  return false;
}

Status WriteImageFile(MagickWand* wand, const std::string& path,
                      const ProtectedFiles& protectedFiles,
                      int pngCompression) {
  std::string error;
  OutputTarget target;
  if (!ResolveOutput(path, IsKnownMagickFormat, &target, &error))
    return Status::Error(error);
  MagickClearException(wand);
  MagickSetFormat(wand, target.format.c_str());
  MagickSetImageFormat(wand, target.format.c_str());
  // Only the level: the filters stay those of ImageMagick's default quality.
  if (pngCompression >= 0 && pngCompression <= 9) {
    const char level[2] = {static_cast<char>('0' + pngCompression), '\0'};
    if (MagickSetOption(wand, "png:compression-level", level) == MagickFalse)
      return Status::Error(
          WandFailure(wand, "the PNG compression level could not be set"));
  }
  size_t length = 0;
  std::unique_ptr<unsigned char, MagickMemoryDeleter> blob(
      MagickGetImageBlob(wand, &length));
  if (!blob || length == 0)
    return Status::Error(WandFailure(wand, "the image could not be encoded"));
  // The encoder can fail on the way and still hand back an image: when the
  // copy of the pixel cache that the PNG coder makes cannot be allocated
  // (memory runs out), it finds the canvas grey and writes it so. An error
  // that the encoding left behind means the blob is not the image.
  const std::string encodeError = WandErrorText(wand);
  if (!encodeError.empty())
    return Status::Error(encodeError);
  if (!WriteRegularFile(target.file, blob.get(), length, protectedFiles,
                        &error))
    return Status::Error(error);
  return Status();
}

Status CheckOutputPath(const std::string& path,
                       const ProtectedFiles& protectedFiles) {
  std::string error;
  OutputTarget target;
  if (!ResolveOutput(path, IsKnownMagickFormat, &target, &error) ||
      !CheckWriteTarget(target.file, protectedFiles, &error))
    return Status::Error(error);
  return Status();
}
