#ifndef QUILLMARK_TESTS_SUPPORT_TEMP_DIR_H_
#define QUILLMARK_TESTS_SUPPORT_TEMP_DIR_H_

#include <string>
#include <vector>

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it when
// the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string File(const std::string& name) const;
  // Writes `content` to File(name) and returns that path.
  std::string Write(const std::string& name, const std::string& content) const;
  // The names in the folder, sorted.
  std::vector<std::string> List() const;

 private:
  std::string path_;
};

bool FileExists(const std::string& path);
std::string ReadWholeFile(const std::string& path);

// A font list naming the test fonts: "sans" (DejaVu Sans) and "cjk" (Droid
// Sans Fallback).
std::string TestFontList();

#endif  // QUILLMARK_TESTS_SUPPORT_TEMP_DIR_H_
