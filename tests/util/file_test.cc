#include "util/file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/captured_log.h"
#include "support/temp_dir.h"

namespace {

// Calls ReadFileContent; the log lines it wrote go to *messages, without
// their time and pid prefix.
bool ReadCapturingLog(const std::string& path, std::string* out,
                      std::vector<std::string>* messages) {
  bool ok = false;
  *messages = CapturedLog([&] { ok = ReadFileContent(path.c_str(), *out); });
  return ok;
}

TEST(ReadFileContentTest, EmptyFileGivesEmptyStringWithoutLogLine) {
  TempDir dir;
  std::string path = dir.Write("empty.json", "");
  std::string out = "previous content";
  std::vector<std::string> messages;
  EXPECT_TRUE(ReadCapturingLog(path, &out, &messages));
  EXPECT_EQ("", out);
  EXPECT_TRUE(messages.empty());
}

TEST(ReadFileContentTest, MissingFileLogsItsPathAndLeavesOutputAlone) {
  TempDir dir;
  // A '%' in the path must come out literally, not as a format directive.
  std::string path = dir.File("no such 100%d%s.json");
  std::string out = "keep me";
  std::vector<std::string> messages;
  EXPECT_FALSE(ReadCapturingLog(path, &out, &messages));
  EXPECT_EQ("keep me", out);
  EXPECT_EQ(std::vector<std::string>{"File not exist " + path}, messages);
}

TEST(ReadFileContentTest, KeepsEveryByteUnchanged) {
  TempDir dir;
  // BOM, CR LF, a lone CR, NUL bytes, bytes above 0x7F and no final newline.
  std::string content("\xEF\xBB\xBF{\r\n\"a\": \"b\"\r}\n\0\0tail\xFF\xFE", 25);
  std::string path = dir.Write("bytes.json", content);
  std::string out;
  std::vector<std::string> messages;
  EXPECT_TRUE(ReadCapturingLog(path, &out, &messages));
  EXPECT_EQ(content, out);
  EXPECT_TRUE(messages.empty());
}

TEST(ReadFileContentTest, ReadsFilesLargerThanOneChunk) {
  TempDir dir;
  std::string content;
  for (int i = 0; content.size() < 300000; ++i)
    content += std::to_string(i) + (i % 7 == 0 ? "\r\n" : ",");
  std::string path = dir.Write("big.json", content);
  std::string out;
  std::vector<std::string> messages;
  EXPECT_TRUE(ReadCapturingLog(path, &out, &messages));
  EXPECT_EQ(content, out);
}

TEST(ReadFileContentTest, SecondReadReplacesInsteadOfAppending) {
  TempDir dir;
  std::string longer = dir.Write("long.json", "[1, 2, 3, 4, 5, 6]");
  std::string shorter = dir.Write("short.json", "[]");
  std::string out;
  ASSERT_TRUE(ReadFileContent(longer.c_str(), out));
  ASSERT_TRUE(ReadFileContent(shorter.c_str(), out));
  EXPECT_EQ("[]", out);
  ASSERT_TRUE(ReadFileContent(shorter.c_str(), out));
  EXPECT_EQ("[]", out);
}

TEST(ReadFileContentTest, RefusesFileLargerThan256MiB) {
  TempDir dir;
  std::string path = dir.File("huge.json");
  // A sparse file: its size is past the limit, but it takes no disk space.
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(0, ftruncate(fd, kMaxInputFileBytes + 1));
  close(fd);

  std::string out = "untouched";
  std::vector<std::string> messages;
  EXPECT_FALSE(ReadCapturingLog(path, &out, &messages));
  EXPECT_EQ("untouched", out);
  EXPECT_EQ(std::vector<std::string>{"Quillmark : " + path +
                                     " is larger than 256 MiB, not read"},
            messages);
}

TEST(ReadFileContentTest, RefusesWhatIsNotARegularFileWithoutBlocking) {
  TempDir dir;
  std::string fifo = dir.File("fifo.json");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0666));  // no writer: reading would wait
  std::string folder = dir.File("folder\n.json");
  ASSERT_EQ(0, mkdir(folder.c_str(), 0777));
  for (const std::string& path : {fifo, folder, std::string("/dev/zero")}) {
    std::string out = "untouched";
    std::vector<std::string> messages;
    EXPECT_FALSE(ReadCapturingLog(path, &out, &messages)) << path;
    EXPECT_EQ("untouched", out);
    std::string shown = path == folder ? dir.File("folder\\x0a.json") : path;
    EXPECT_EQ(std::vector<std::string>{"Quillmark : " + shown +
                                       " is not a regular file, not read"},
              messages);
  }
}

}  // namespace
