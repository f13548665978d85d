#include "render/output/temporary_output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

// Above any pid_max Linux allows (2^22), so never a running process.
const pid_t kDeadPid = 2147483646;

TEST(TemporaryNameTest, NamesTheOutputTheWriterAndARandomPart) {
  EXPECT_EQ(".a.png.quillmark-tmp-1234-00000000000000ab",
            TemporaryName("a.png", 1234, 0xab));
  EXPECT_EQ(".a b%d.png.quillmark-tmp-7-ffffffffffffffff",
            TemporaryName("a b%d.png", 7, ~uint64_t{0}));
  pid_t pid = 0;
  ASSERT_TRUE(ParseTemporaryName(TemporaryName("a.png", 1234, 0xab), "a.png", &pid));
  EXPECT_EQ(1234, pid);
  ASSERT_TRUE(ParseTemporaryName(TemporaryName("x", INT_MAX, 1), "x", &pid));
  EXPECT_EQ(INT_MAX, pid);
}

TEST(TemporaryNameTest, OnlyTheExactFormOfTheSameOutputMatches) {
  const std::string hex = "0123456789abcdef";
  const std::vector<std::string> others = {
      ".a.png.quillmark-tmp-12-" + hex + "0",           // 17 digits
      ".a.png.quillmark-tmp-12-" + hex.substr(1),       // 15 digits
      ".a.png.quillmark-tmp-12-0123456789ABCDEF",       // upper case
      ".a.png.quillmark-tmp-012-" + hex,                // leading zero
      ".a.png.quillmark-tmp-0-" + hex,
      ".a.png.quillmark-tmp--" + hex,
      ".a.png.quillmark-tmp-1x-" + hex,
      ".a.png.quillmark-tmp-2147483648-" + hex,         // beyond a pid
      ".a.png.quillmark-tmp-12-" + hex + ".png",
      ".a.png.quillmark-tmp-12_" + hex,
      "a.png.quillmark-tmp-12-" + hex,                  // no leading dot
      ".b.png.quillmark-tmp-12-" + hex,                 // another output
      ".a.png.x.quillmark-tmp-12-" + hex,
      ".xa.png.quillmark-tmp-12-" + hex,
      ".a.png.quillmark-tmp-12-",
      "a.png",
  };
  pid_t pid = 0;
  for (const std::string& entry : others)
    EXPECT_FALSE(ParseTemporaryName(entry, "a.png", &pid)) << entry;
  EXPECT_TRUE(ParseTemporaryName(".a.png.quillmark-tmp-12-" + hex, "a.png", &pid));
  // The output "a" does not claim the files of "a.png", nor the reverse.
  EXPECT_FALSE(ParseTemporaryName(TemporaryName("a.png", 12, 1), "a", &pid));
  EXPECT_FALSE(ParseTemporaryName(TemporaryName("a", 12, 1), "a.png", &pid));
}

TEST(TemporaryNameTest, LongNamesAreCutAndHashedToFitAFileName) {
  // The longest name that is kept whole, with the longest process id.
  const std::string whole(NAME_MAX - 43, 'n');
  EXPECT_EQ(size_t{NAME_MAX}, TemporaryName(whole, INT_MAX, 0).size());
  EXPECT_EQ(0u, TemporaryName(whole, INT_MAX, 0).find("." + whole + ".quillmark-tmp-"));

  const std::string a = std::string(NAME_MAX - 1, 'n') + "a";
  const std::string b = std::string(NAME_MAX - 1, 'n') + "b";
  for (const std::string& name : {whole + "x", a, b}) {
    const std::string temporary = TemporaryName(name, INT_MAX, 5);
    EXPECT_GE(size_t{NAME_MAX}, temporary.size()) << name.size();
    pid_t pid = 0;
    EXPECT_TRUE(ParseTemporaryName(temporary, name, &pid)) << name.size();
  }
  // Names that differ only after the cut still get files of their own.
  pid_t pid = 0;
  EXPECT_NE(TemporaryName(a, 1, 1), TemporaryName(b, 1, 1));
  EXPECT_FALSE(ParseTemporaryName(TemporaryName(a, 1, 1), b, &pid));
}

TEST(OutputPlaceTest, SplitsAtTheLastSlash) {
  auto split = [](const std::string& file) {
    OutputPlace place = SplitOutputPlace(file);
    return place.folder + "|" + place.name;
  };
  EXPECT_EQ(".|a.png", split("a.png"));
  EXPECT_EQ("/|a.png", split("/a.png"));
  EXPECT_EQ("out/x|a.png", split("out/x/a.png"));
  EXPECT_EQ("out/|a.png", split("out//a.png"));
  EXPECT_EQ("out|", split("out/"));
}

// A folder with an output "a.png" and files around it.
class LeftoverTest : public ::testing::Test {
 protected:
  std::string Touch(const std::string& name, time_t mtime = 0) {
    std::string path = dir_.Write(name, "partial");
    if (mtime != 0) {
      const timespec times[2] = {{mtime, 0}, {mtime, 0}};
      EXPECT_EQ(0, utimensat(AT_FDCWD, path.c_str(), times, 0));
    }
    return name;
  }
  TempDir dir_;
};

TEST_F(LeftoverTest, RemovesThoseOfEndedProcessesAndStaleOnesOnly) {
  const time_t now = time(nullptr);
  const time_t fresh = now - kStaleTemporarySeconds + 5;
  const time_t stale = now - kStaleTemporarySeconds;
  const pid_t self = getpid();
  Touch("a.png");
  Touch(TemporaryName("a.png", kDeadPid, 1), fresh);
  Touch(TemporaryName("a.png", self, 2), stale);
  const std::vector<std::string> kept = {
      Touch(TemporaryName("a.png", self, 3), fresh),       // its writer runs
      Touch(TemporaryName("a.png", getppid(), 4), fresh),
      Touch(TemporaryName("b.png", kDeadPid, 5), stale),   // another output
      Touch(".a.png.quillmark-tmp-2147483646-0123", stale),
      Touch("a.png.quillmark-tmp-2147483646-0123456789abcdef", stale),
  };
  // Only regular files go.
  const std::string folder = TemporaryName("a.png", kDeadPid, 6);
  ASSERT_EQ(0, mkdir(dir_.File(folder).c_str(), 0777));
  const std::string link = TemporaryName("a.png", kDeadPid, 7);
  ASSERT_EQ(0, symlink("a.png", dir_.File(link).c_str()));

  EXPECT_EQ(2, RemoveLeftoverTemporaryFiles(dir_.File("a.png"), now));
  std::vector<std::string> expected = kept;
  expected.insert(expected.end(), {"a.png", folder, link});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, dir_.List());
  EXPECT_EQ("partial", ReadWholeFile(dir_.File("a.png")));
}

TEST_F(LeftoverTest, AgeCountsFromTheLastChange) {
  const time_t mtime = time(nullptr) - 1000;
  const std::string name = Touch(TemporaryName("a.png", getpid(), 1), mtime);
  EXPECT_EQ(0, RemoveLeftoverTemporaryFiles(dir_.File("a.png"),
                                            mtime + kStaleTemporarySeconds - 1));
  EXPECT_EQ(std::vector<std::string>{name}, dir_.List());
  EXPECT_EQ(1, RemoveLeftoverTemporaryFiles(dir_.File("a.png"),
                                            mtime + kStaleTemporarySeconds));
  EXPECT_TRUE(dir_.List().empty());
}

TEST_F(LeftoverTest, AParentRemovesTheFilesOfOneWorkerForOneOutput) {
  const pid_t worker = getpid();  // running or not, its files go
  const std::vector<std::string> kept = {
      Touch(TemporaryName("a.dat", worker + 1, 1)),
      Touch(TemporaryName("b.dat", worker, 2)),
  };
  Touch(TemporaryName("a.dat", worker, 3));
  Touch(TemporaryName("a.dat", worker, 4));
  Touch(TemporaryName("c.png", worker, 5));
  // With a format prefix, and without.
  EXPECT_EQ(2, RemoveTemporaryFilesOf("png:" + dir_.File("a.dat"), worker));
  EXPECT_EQ(1, RemoveTemporaryFilesOf(dir_.File("c.png"), worker));
  EXPECT_EQ(0, RemoveTemporaryFilesOf(dir_.File("b.dat"), 0));
  std::vector<std::string> expected = kept;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, dir_.List());
}

}  // namespace
