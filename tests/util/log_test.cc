#include "util/log.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/captured_log.h"
#include "support/run_quillmark.h"

namespace {

// The log's clock readings are rendered in the process's time zone; these
// tests pin it to UTC.
class TimeLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = getenv("TZ");
    saved_ = tz ? tz : "";
    hadTz_ = tz != nullptr;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (hadTz_) setenv("TZ", saved_.c_str(), 1); else unsetenv("TZ");
    tzset();
  }

 private:
  std::string saved_;
  bool hadTz_ = false;
};

TEST_F(TimeLabelTest, FormatsDateTimeAndPaddedMilliseconds) {
  // 2025-03-07 09:05:02.047 UTC
  int64_t nanos = int64_t{1741338302} * 1000000000 + 47 * 1000000 + 999999;
  EXPECT_EQ("2025-03-07 09:05:02.047", FormatTimeLabel(nanos));
}

TEST_F(TimeLabelTest, TruncatesMillisecondsInsteadOfRounding) {
  // One nanosecond before midnight stays in the old day.
  int64_t midnight = int64_t{1741392000} * 1000000000;  // 2025-03-08 00:00:00
  EXPECT_EQ("2025-03-07 23:59:59.999", FormatTimeLabel(midnight - 1));
  EXPECT_EQ("2025-03-08 00:00:00.000", FormatTimeLabel(midnight));
}

TEST(QMLogTest, WritesPrefixMessageAndNewline) {
  std::string line = CapturedLogText([] { QMLog("hello %d", 42); });
  ASSERT_TRUE(HasLogPrefix(line)) << line;
  EXPECT_EQ("hello 42\n", MessageOf(line));
  std::string pid = "[" + std::to_string(getpid()) + "] ";
  EXPECT_EQ(line.find(' ', line.find(' ') + 1) + 1, line.find(pid)) << line;
}

TEST(QMLogTest, PercentInAnArgumentIsWrittenLiterally) {
  EXPECT_EQ(std::vector<std::string>{"File not exist /tmp/100%d/%s.json"},
            CapturedLog([] { QMLog("File not exist %s", "/tmp/100%d/%s.json"); }));
}

TEST(QMLogTest, EmptyMessageLeavesPrefixEndingInSpace) {
  std::string line = CapturedLogText([] { QMLog("%s", ""); });
  ASSERT_TRUE(HasLogPrefix(line));
  EXPECT_EQ("\n", MessageOf(line));
  EXPECT_EQ(' ', line[line.size() - 2]);
}

TEST(QMLogTest, MessagesAroundTheBufferSizeAreWrittenWhole) {
  for (size_t size : {1022u, 1023u, 1024u, 1025u, 5000u, 100000u}) {
    std::string text(size, 'x');
    text.back() = 'E';  // the end must survive
    EXPECT_EQ(std::vector<std::string>{text},
              CapturedLog([&] { QMLog("%s", text.c_str()); }))
        << size;
  }
}

TEST(QMLogTest, EachLineReachesAPipeBeforeTheProcessDies) {
  // Standard output into a pipe is fully buffered; _exit skips the flush at
  // exit, as a kill would. Every line logged before must still arrive, and
  // a line sent to another stream does not.
  int fds[2];
  ASSERT_EQ(0, pipe(fds));
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    CapturedLogText([] { QMLog("elsewhere"); });
    QMLog("first %d", 1);
    QMLog("second");
    _exit(0);
  }
  close(fds[1]);
  std::string received;
  char buf[4096];
  for (ssize_t n; (n = read(fds[0], buf, sizeof(buf))) > 0;)
    received.append(buf, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  std::vector<std::string> lines = SplitLines(received);
  ASSERT_EQ(2u, lines.size()) << received;
  EXPECT_EQ("first 1", MessageOf(lines[0]));
  EXPECT_EQ("second", MessageOf(lines[1]));
  EXPECT_EQ('\n', received.back());
}

TEST(PrintableTest, EscapesControlBytesOnly) {
  EXPECT_EQ("a\\x0ab\\x7f\\x00c", Printable(std::string("a\nb\x7f\0c", 6)));
  EXPECT_EQ("snow \xe2\x98\x83 '%s'", Printable("snow \xe2\x98\x83 '%s'"));
}

}  // namespace
