#include "render/output/image_output.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "support/temp_dir.h"

namespace {

// The format names ImageMagick knows, as far as these tests need them.
bool KnownFormat(const std::string& name) {
  static const std::set<std::string> known = {
      "PNG", "JPG", "JPEG", "WEBP", "TIF", "TIFF", "GIF", "BMP",
      "TXT", "MSL", "FD", "HTTPS", "PNG8", "PNG24", "PNG32", "PNG48",
      "PNG64", "PNG16", "MIFF"};
  return known.count(name) > 0;
}

OutputTarget Resolve(const std::string& path, std::string* error) {
  OutputTarget target;
  if (!ResolveOutput(path, KnownFormat, &target, error)) return {"", ""};
  return target;
}

TEST(ResolveOutputTest, FormatFollowsTheExtensionAnyCase) {
  std::string error;
  EXPECT_EQ("PNG", Resolve("out/a.png", &error).format);
  EXPECT_EQ("JPEG", Resolve("a.JPG", &error).format);
  EXPECT_EQ("JPEG", Resolve("a.jpeg", &error).format);
  EXPECT_EQ("WEBP", Resolve("a.webp", &error).format);
  EXPECT_EQ("TIFF", Resolve("a.tif", &error).format);
  EXPECT_EQ("TIFF", Resolve("a.Tiff", &error).format);
  EXPECT_EQ("GIF", Resolve("a.gif", &error).format);
  EXPECT_EQ("BMP", Resolve("a.bmp", &error).format);
}

TEST(ResolveOutputTest, PathIsUsedAsWritten) {
  std::string error;
  for (const char* path : {"out/100%.png", "out/%d-%s.png", "out/scene[0]x.png",
                           "out/a:b.png", "12:30.png", "@list.png", "|cat.png",
                           "dir.png/name.webp"}) {
    OutputTarget target = Resolve(path, &error);
    EXPECT_EQ(path, target.file) << path << ": " << error;
  }
}

TEST(ResolveOutputTest, KnownFormatPrefixChoosesTheFormat) {
  std::string error;
  OutputTarget target = Resolve("png:out/a.dat", &error);
  EXPECT_EQ("PNG", target.format);
  EXPECT_EQ("out/a.dat", target.file);
  // ImageMagick's PNG sub-formats, by prefix only.
  for (const char* sub : {"PNG8", "PNG24", "PNG32", "PNG48", "PNG64"}) {
    target = Resolve(std::string(sub) + ":a.png", &error);
    EXPECT_EQ(sub, target.format);
    EXPECT_EQ("a.png", target.file);
  }
}

TEST(ResolveOutputTest, RefusesEverythingElse) {
  std::string error;
  for (const char* path : {"txt:out.png", "msl:out.png", "fd:1", "fd:1.png",
                           "https://host/x.png", "png16:a.png", "a.png32", "png:", "-", "",
                           "out/noextension", "out.dir/", "a.png.gz", "a.ppm",
                           "a.png[0]", "a."}) {
    error.clear();
    EXPECT_EQ("", Resolve(path, &error).file) << path;
    EXPECT_FALSE(error.empty()) << path;
  }
}

TEST(WriteRegularFileTest, CreatesAndReplaces) {
  TempDir dir;
  std::string error;
  std::string path = dir.File("a%d[1].png");
  ASSERT_TRUE(WriteRegularFile(path, "first content", 13, {}, &error)) << error;
  ASSERT_TRUE(WriteRegularFile(path, "second", 6, {}, &error)) << error;
  EXPECT_EQ("second", ReadWholeFile(path));
  EXPECT_EQ(std::vector<std::string>{"a%d[1].png"}, dir.List());
}

TEST(WriteRegularFileTest, NewFileHasThePermissionsOfAPlainCreate) {
  TempDir dir;
  std::string error;
  const mode_t saved = umask(027);
  bool written = WriteRegularFile(dir.File("a.png"), "x", 1, {}, &error);
  umask(saved);
  ASSERT_TRUE(written) << error;
  struct stat info;
  ASSERT_EQ(0, stat(dir.File("a.png").c_str(), &info));
  EXPECT_EQ(0640u, info.st_mode & 07777);
}

TEST(WriteRegularFileTest, ReplacesOnlyTheNameOfAHardLinkedFile) {
  TempDir dir;
  TempDir elsewhere;
  std::string error;
  std::string other = elsewhere.Write("other.png", "old");
  ASSERT_EQ(0, link(other.c_str(), dir.File("a.png").c_str()));
  ASSERT_TRUE(WriteRegularFile(dir.File("a.png"), "new", 3, {}, &error)) << error;
  EXPECT_EQ("new", ReadWholeFile(dir.File("a.png")));
  EXPECT_EQ("old", ReadWholeFile(other));
}

TEST(WriteRegularFileTest, RefusesWhatIsNotARegularFileWithoutBlocking) {
  TempDir dir;
  std::string error;
  std::string fifo = dir.File("fifo.png");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0666));
  EXPECT_FALSE(WriteRegularFile(fifo, "x", 1, {}, &error));
  EXPECT_EQ("it exists and is not a regular file", error);

  ASSERT_EQ(0, mkdir(dir.File("dir.png").c_str(), 0777));
  EXPECT_FALSE(WriteRegularFile(dir.File("dir.png"), "x", 1, {}, &error));
  EXPECT_FALSE(WriteRegularFile("/dev/null", "x", 1, {}, &error));
  EXPECT_FALSE(WriteRegularFile(dir.File("missing/x.png"), "x", 1, {}, &error));
  EXPECT_FALSE(WriteRegularFile(dir.File(std::string(300, 'n') + ".png"), "x", 1,
                                {}, &error));
  EXPECT_FALSE(WriteRegularFile(dir.File("dir.png/"), "x", 1, {}, &error));
  EXPECT_EQ(std::vector<std::string>({"dir.png", "fifo.png"}), dir.List());
}

// Links at the output are refused end to end (hostile_input_test).
TEST(WriteRegularFileTest, RefusesFoldersThatResolveIntoDevOrProc) {
  TempDir dir;
  std::string error;
  ASSERT_EQ(0, symlink("/proc/self", dir.File("proc").c_str()));
  EXPECT_FALSE(WriteRegularFile(dir.File("proc/x.png"), "x", 1, {}, &error));
  EXPECT_EQ("it is under /proc, where no image belongs", error);
  EXPECT_FALSE(WriteRegularFile("/dev/quillmark-test.png", "x", 1, {}, &error));
  EXPECT_EQ("it is under /dev, where no image belongs", error);
  EXPECT_FALSE(FileExists("/dev/quillmark-test.png"));
}

}  // namespace
