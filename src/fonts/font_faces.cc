#include "fonts/font_faces.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fonts/font_file.h"

struct FontFace::Library {
  FT_Library library = nullptr;
  ~Library() {
    if (library != nullptr)
      FT_Done_FreeType(library);
  }
};

namespace {

unsigned long ReadStream(FT_Stream stream, unsigned long offset,
                         unsigned char* buffer, unsigned long count) {
  if (count == 0)  // a seek
    return offset > stream->size ? 1 : 0;
  int fd = static_cast<int>(stream->descriptor.value);
  unsigned long done = 0;
  while (done < count) {
    ssize_t n = pread(fd, buffer + done, count - done,
                      static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    done += static_cast<unsigned long>(n);
  }
  return done;
}

void CloseStream(FT_Stream) {}  // the FontFace closes its descriptor

}  // namespace

FontFace::~FontFace() {
  if (face_ != nullptr)
    FT_Done_Face(face_);
  if (fd_ >= 0)
    close(fd_);
}

FontFaces::FontFaces() : library_(std::make_shared<FontFace::Library>()) {
  if (FT_Init_FreeType(&library_->library) != 0) {
    library_->library = nullptr;
    library_.reset();
  }
}

FontFaces::~FontFaces() = default;

FT_Library FontFaces::library() const {
  return library_ ? library_->library : nullptr;
}

std::shared_ptr<FontFace> FontFaces::Open(const std::string& fontKey) {
  auto known = faces_.find(fontKey);
  if (known != faces_.end())
    return known->second;
  if (faces_.size() >= kMaxFaces)
    faces_.clear();
  std::shared_ptr<FontFace> opened(new FontFace);
  opened->library_ = library_;
  const std::string path = FontPathOfKey(fontKey);
  // O_NONBLOCK: a FIFO put where the font was must not block the run.
  opened->fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat info;
  if (!library_ || opened->fd_ < 0 || fstat(opened->fd_, &info) != 0 ||
      !S_ISREG(info.st_mode) || FontFileKeyOf(path, info) != fontKey) {
    opened.reset();
  } else {
    opened->stream_.size = static_cast<unsigned long>(info.st_size);
    opened->stream_.descriptor.value = opened->fd_;
    opened->stream_.read = ReadStream;
    opened->stream_.close = CloseStream;
    FT_Open_Args args{};
    args.flags = FT_OPEN_STREAM;
    args.stream = &opened->stream_;
    if (FT_Open_Face(library_->library, &args, 0, &opened->face_) != 0) {
      opened->face_ = nullptr;
      opened.reset();
    }
  }
  if (opened) {
    FT_Face face = opened->face_;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 &&
        face->num_charmaps != 0)
      FT_Set_Charmap(face, face->charmaps[0]);
  }
  faces_.emplace(fontKey, opened);
  return opened;
}
