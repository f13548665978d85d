#include "render/output/write_checks.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "render/output/image_output.h"
#include "support/temp_dir.h"

namespace {

TEST(CheckWriteTargetTest, AProtectedFileIsRefusedByAnyName) {
  TempDir dir;
  const std::string input = dir.Write("job.json", "[]");
  ASSERT_EQ(0, mkdir(dir.File("sub").c_str(), 0755));
  ASSERT_EQ(0, link(input.c_str(), dir.File("hard.png").c_str()));
  const ProtectedFiles inputs = {IdentifyFile(input, "it is an input"),
                                 IdentifyFile(dir.File("report.png"),
                                              "it is the report")};
  std::string error;
  for (const std::string& path :
       {input, dir.File("sub/../job.json"), dir.File("hard.png")}) {
    EXPECT_FALSE(CheckWriteTarget(path, inputs, &error)) << path;
    EXPECT_EQ("it is an input", error);
  }
  // Known by its path before it exists.
  EXPECT_FALSE(CheckWriteTarget(dir.File("sub/../report.png"), inputs, &error));
  EXPECT_EQ("it is the report", error);
  EXPECT_TRUE(CheckWriteTarget(dir.File("other.png"), inputs, &error)) << error;
}

TEST(CheckWriteTargetTest, RefusesWhatAWriteWouldFailOn) {
  TempDir dir;
  ASSERT_EQ(0, symlink("x", dir.File("link.png").c_str()));
  ASSERT_EQ(0, mkfifo(dir.File("fifo.png").c_str(), 0644));
  std::string error;
  EXPECT_FALSE(CheckWriteTarget(dir.File("link.png"), {}, &error));
  EXPECT_EQ("it is a symbolic link", error);
  EXPECT_FALSE(CheckWriteTarget(dir.File("fifo.png"), {}, &error));
  EXPECT_EQ("it exists and is not a regular file", error);
  EXPECT_FALSE(CheckWriteTarget(dir.File(std::string(256, 'n')), {}, &error));
  EXPECT_EQ("File name too long", error);
  EXPECT_FALSE(CheckWriteTarget(dir.File("missing/a.png"), {}, &error));
  EXPECT_FALSE(CheckWriteTarget("/sys/a.png", {}, &error));
  EXPECT_EQ("it is under /sys, where no image belongs", error);
  EXPECT_TRUE(dir.List() == std::vector<std::string>({"fifo.png", "link.png"}));
}

TEST(ReplaceWithTemporaryTest, AFailedRenameRemovesTheTemporaryAndSaysSo) {
  TempDir dir;
  const std::string temporary = dir.Write(".a.tmp", "new");
  ASSERT_EQ(0, mkdir(dir.File("a.png").c_str(), 0755));
  dir.Write("a.png/keep", "x");  // a folder that is not empty
  std::string error;
  EXPECT_FALSE(ReplaceWithTemporary(temporary, dir.File("a.png"), &error));
  EXPECT_EQ(0u, error.find("cannot replace it: ")) << error;
  EXPECT_FALSE(FileExists(temporary));
}

TEST(ShadowWithinLimitTest, TheBorderAndTheBlurKernelCount) {
  TextInfo info;
  info.canvasHeight = 1;
  info.shadowAlpha = 0.5f;
  // Widest canvases that ImageMagick 7.1.1 (Q16) shadows, by s_size.
  const int widest[][2] = {{1, 16372}, {2, 16360}, {13, 16232},
                           {50, 15832}, {100, 15318}};
  std::string error;
  for (const auto& [size, width] : widest) {
    info.shadowSize = size;
    info.canvasWidth = width;
    EXPECT_TRUE(ShadowWithinLimit(info, &error)) << size;
    info.canvasWidth = width + 1;
    EXPECT_FALSE(ShadowWithinLimit(info, &error)) << size;
    EXPECT_EQ("width or height exceeds limit", error);
    std::swap(info.canvasWidth, info.canvasHeight);
    EXPECT_FALSE(ShadowWithinLimit(info, &error)) << size;
    std::swap(info.canvasWidth, info.canvasHeight);
  }
  info.shadowAlpha = 0;  // no shadow
  EXPECT_TRUE(ShadowWithinLimit(info, &error));
}

}  // namespace
