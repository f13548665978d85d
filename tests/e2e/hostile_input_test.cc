// Hostile job files and font lists, end to end: each gets one clear log line,
// the right exit status, every other canvas is still written, and nothing
// else changes on disk.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "support/image_reader.h"
#include "support/job_text.h"
#include "support/run_quillmark.h"
#include "support/temp_dir.h"

namespace {

// A canvas of 60 x 30 pixels unless told otherwise.
std::string Small(const std::string& output, const std::string& ui,
                  int width = 60, int height = 30) {
  return Canvas(width, height, output, ui);
}

const char kText[] =
    "\"default\":\"Ab\",\"font\":\"sans\",\"size\":16,\"area\":[2,2,56,26],"
    "\"fill\":\"red\"";

// A run of [good, hostile..., good] in a fresh folder with a sentinel file,
// and TMPDIR pointed at a folder of its own that must stay empty.
class HostileRun : public ::testing::Test {
 protected:
  void SetUp() override {
    sentinel_ = dir_.Write("sentinel.txt", "untouched");
    const char* tmpdir = getenv("TMPDIR");
    savedTmpdir_ = tmpdir ? tmpdir : "";
    setenv("TMPDIR", tmp_.path().c_str(), 1);
    setenv("MAGICK_TEMPORARY_PATH", tmp_.path().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("MAGICK_TEMPORARY_PATH");
    if (savedTmpdir_.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", savedTmpdir_.c_str(), 1);
    EXPECT_EQ(std::vector<std::string>(), tmp_.List()) << "stray temporary files";
    EXPECT_EQ("untouched", ReadWholeFile(sentinel_));
  }

  // Runs the canvases between a good first and last canvas.
  RunResult Run(const std::vector<std::string>& hostile,
                const std::string& fonts = TestFontList()) {
    std::string job = "[" + QuickCanvas("first.png");
    for (const std::string& c : hostile) job += ",\n" + c;
    job += ",\n" + QuickCanvas("last.png") + "]";
    std::string fontPath = dir_.Write("fonts.json", fonts);
    std::string jobPath = dir_.Write("job.json", job);
    return RunQuillmark({fontPath, jobPath}, dir_.path(), 60);
  }

  // The first and last canvases were written as proper images.
  void ExpectGoodCanvasesWritten() {
    for (const char* name : {"first.png", "last.png"}) {
      RgbaImage image = ReadRgbaImage(dir_.File(name));
      EXPECT_TRUE(image.ok && image.width == 60 && CountOpaque(image) > 0) << name;
    }
  }

  // Each of `paths` in turn failed to write, with a reason, and no image
  // went into the log (as "-" or "fd:1" would put it there).
  static void ExpectWritesRefused(const RunResult& run,
                                  const std::vector<std::string>& paths) {
    EXPECT_EQ(1, run.exitCode);
    std::vector<std::string> problems = Problems(run);
    ASSERT_EQ(paths.size(), problems.size()) << run.output;
    for (size_t i = 0; i < paths.size(); ++i)
      EXPECT_EQ(0u, problems[i].find("Quillmark : failed to write " + paths[i] + ": "))
          << problems[i];
    for (const std::string& line : run.lines) EXPECT_TRUE(HasLogPrefix(line)) << line;
  }

  // The folder holds exactly the usual files and `extra`.
  void ExpectFiles(std::vector<std::string> extra) {
    extra.insert(extra.end(), {"first.png", "fonts.json", "job.json", "last.png",
                               "sentinel.txt"});
    std::sort(extra.begin(), extra.end());
    EXPECT_EQ(extra, dir_.List());
  }

  TempDir dir_;
  TempDir tmp_;
  std::string sentinel_;
  std::string savedTmpdir_;
};

TEST_F(HostileRun, OnlyTheListedFormatsAreWritten) {
  // Which outputs are refused is the output resolver's to test; here a
  // format that writes text, and two paths that would write to the log.
  RunResult run = Run({QuickCanvas("txt:out.txt"), QuickCanvas("-"),
                       QuickCanvas("fd:1")});
  ExpectWritesRefused(run, {"txt:out.txt", "-", "fd:1"});
  ExpectGoodCanvasesWritten();
  ExpectFiles({});
}

TEST_F(HostileRun, OutputPathsAreUsedAsWritten) {
  std::string longName(300, 'n');
  RunResult run = Run({QuickCanvas("100%d.png"), QuickCanvas("scene[0]x.png"),
                       QuickCanvas("@list.png"), QuickCanvas("tail.png[0]"),
                       QuickCanvas(longName + ".png")});
  ExpectWritesRefused(run, {"tail.png[0]", longName + ".png"});
  ExpectGoodCanvasesWritten();
  ExpectFiles({"100%d.png", "@list.png", "scene[0]x.png"});
  EXPECT_EQ(60, ReadRgbaImage(dir_.File("100%d.png")).width);
}

TEST_F(HostileRun, ExistingPathsThatAreNotRegularFilesFail) {
  ASSERT_EQ(0, mkfifo(dir_.File("fifo.png").c_str(), 0666));
  ASSERT_EQ(0, mkdir(dir_.File("folder.png").c_str(), 0777));
  RunResult run = Run({QuickCanvas("fifo.png"), QuickCanvas("folder.png")});
  ExpectWritesRefused(run, {"fifo.png", "folder.png"});  // without blocking
  ExpectGoodCanvasesWritten();
  ExpectFiles({"fifo.png", "folder.png"});
}

TEST_F(HostileRun, OversizedCanvasesAndValuesSkipTheirCanvas) {
  // Every size and key beyond the limit is the job reader's to test; here
  // one canvas that would take gigabytes, one with a scale that overflows.
  RunResult run = Run({Small("tall.png", kText, 16384, 100000),
                       Small("a.png", std::string(kText) + ",\"scale\":1e30")});
  EXPECT_EQ(0, run.exitCode);
  EXPECT_EQ((std::vector<std::string>{
                "Quillmark : canvas 1 skipped: \"size\" 16384 x 100000 is larger "
                "than the limit of 16384 pixels a side",
                "Quillmark : canvas 2 skipped: \"scale\" gives a value beyond the "
                "limit of 16384"}),
            Problems(run));
  ExpectGoodCanvasesWritten();
  ExpectFiles({});
}

TEST_F(HostileRun, UnsafeFontPathsAreLeftOut) {
  // Which paths are unsafe is the font registry's to test; here a path that
  // would put a drawing command into ImageMagick's text.
  std::string fonts = std::string("{\"sans\":\"") + QUILLMARK_TEST_SANS +
                      "\",\"quote\":\"/tmp/x'\\nfill red\"}";
  RunResult run = Run({Small("quoted.png", "\"default\":\"Ab\",\"font\":\"quote\","
                                            "\"size\":16,\"area\":[2,2,56,26]")},
                      fonts);
  EXPECT_EQ(0, run.exitCode);
  EXPECT_EQ((std::vector<std::string>{"Quillmark : font \"quote\" left out: its "
                                      "path contains a quote or a backslash"}),
            Problems(run));
  // The left-out name falls back to the first font, so the canvas is drawn.
  EXPECT_GT(CountOpaque(ReadRgbaImage(dir_.File("quoted.png"))), 0);
  ExpectGoodCanvasesWritten();
  ExpectFiles({"quoted.png"});
}

TEST_F(HostileRun, UnreadableFontsAreReportedAndTheirCanvasNotWritten) {
  std::string empty = dir_.Write("empty.ttf", "");
  std::string junk = dir_.Write("junk.ttf", std::string(5000, 'j'));
  std::string sans = ReadWholeFile(QUILLMARK_TEST_SANS);
  std::string cut = dir_.Write("cut.ttf", sans.substr(0, 2000));
  ASSERT_EQ(0, mkfifo(dir_.File("pipe.ttf").c_str(), 0666));
  std::string fonts = std::string("{\"sans\":\"") + QUILLMARK_TEST_SANS +
                      "\",\"missing\":\"" + dir_.File("missing.ttf") +
                      "\",\"empty\":\"" + empty + "\",\"junk\":\"" + junk +
                      "\",\"cut\":\"" + cut + "\",\"pipe\":\"" +
                      dir_.File("pipe.ttf") + "\"}";
  std::vector<std::string> canvases;
  const char* names[] = {"missing", "empty", "junk", "cut", "pipe"};
  for (const char* name : names)
    canvases.push_back(Small(std::string(name) + ".png",
                              std::string("\"default\":\"Ab\",\"font\":\"") + name +
                                  "\",\"size\":16,\"area\":[2,2,56,26]"));
  RunResult run = Run(canvases, fonts);
  EXPECT_EQ(1, run.exitCode);
  std::vector<std::string> problems = Problems(run);
  ASSERT_EQ(5u, problems.size()) << run.output;
  EXPECT_EQ("Quillmark : unable to read font " + dir_.File("missing.ttf"), problems[0]);
  EXPECT_EQ("Quillmark : unable to read font " + empty, problems[1]);
  EXPECT_EQ("Quillmark : unable to read font " + junk, problems[2]);
  EXPECT_EQ("Quillmark : unable to read font " + cut, problems[3]);
  EXPECT_EQ("Quillmark : unable to read font " + dir_.File("pipe.ttf"), problems[4]);
  ExpectGoodCanvasesWritten();
  ExpectFiles({"cut.ttf", "empty.ttf", "junk.ttf", "pipe.ttf"});
}

TEST_F(HostileRun, InputFilesThatAreNoRegularFilesOrTooLargeAreRefused) {
  // Why a file is refused is the file reader's to test; here a FIFO nobody
  // writes to as the job file (reading it would wait for ever) and a font
  // list over 256 MiB (a sparse file).
  const std::string fifo = dir_.File("fifo.json");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0666));
  const std::string big = dir_.Write("big.json", "{}");
  ASSERT_EQ(0, truncate(big.c_str(), (int64_t{256} << 20) + 1));
  const std::string fonts = dir_.Write("fonts.json", TestFontList());

  struct Case { std::string fonts, job, refused, fatal; };
  for (const Case& k :
       {Case{fonts, fifo, fifo + " is not a regular file", "empty text json"},
        Case{big, fonts, big + " is larger than 256 MiB", "empty font_list.json"}}) {
    RunResult run = RunQuillmark({k.fonts, k.job}, dir_.path(), 20);
    EXPECT_EQ(1, run.exitCode) << run.output;
    EXPECT_EQ((std::vector<std::string>{"Quillmark : " + k.refused + ", not read",
                                        "Quillmark : " + k.fatal + " or parse error"}),
              Problems(run));
  }
  for (const std::string& path : {fifo, big, fonts}) remove(path.c_str());
}

TEST_F(HostileRun, ClosedStandardOutputDoesNotStopTheRun) {
  std::vector<std::string> canvases;
  for (int i = 0; i < 5; ++i)
    canvases.push_back(QuickCanvas("more" + std::to_string(i) + ".png"));
  // More log lines than fit a pipe's buffer, so writes fail after `head`
  // has gone: one failing font line per entry.
  std::string fonts = std::string("{\"sans\":\"") + QUILLMARK_TEST_SANS + "\"";
  for (int i = 0; i < 2000; ++i) fonts += ",\"bad" + std::to_string(i) + "\":0";
  fonts += "}";
  std::string job = "[" + QuickCanvas("first.png");
  for (const std::string& c : canvases) job += "," + c;
  job += "," + QuickCanvas("last.png") + "]";
  dir_.Write("fonts.json", fonts);
  dir_.Write("job.json", job);
  std::string script = dir_.Write(
      "run.sh", std::string("cd \"$(dirname \"$0\")\"\ntimeout 60 ") +
                    QUILLMARK_BINARY +
                    " fonts.json job.json | head -1 > /dev/null\n"
                    "exit ${PIPESTATUS[0]}\n");
  int status = system(("bash '" + script + "'").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(0, WEXITSTATUS(status));
  ExpectGoodCanvasesWritten();
  ExpectFiles({"more0.png", "more1.png", "more2.png", "more3.png", "more4.png",
               "run.sh"});
}

// --- Writes that cannot destroy or escape ------------------------------------

TEST_F(HostileRun, FileSizeLimitFailsTheWriteAndKeepsThePreviousImage) {
  // A BMP of 200 x 100 pixels takes 80 KB; the small PNGs stay below 4 KB.
  const std::string big = Small("big.bmp", kText, 200, 100);
  ASSERT_EQ(0, Run({big}).exitCode);
  const std::string previous = ReadWholeFile(dir_.File("big.bmp"));
  ASSERT_GT(previous.size(), 80000u);
  remove(dir_.File("first.png").c_str());
  remove(dir_.File("last.png").c_str());

  ProcessOptions limited;
  limited.cwd = dir_.path();
  limited.timeoutSeconds = 60;
  limited.fileSizeLimit = 20000;
  std::string job = "[" + QuickCanvas("first.png") + "," +
                    Small("big.bmp", "\"default\":\"new\",\"font\":\"sans\"", 200, 100) +
                    "," + QuickCanvas("last.png") + "]";
  dir_.Write("job.json", job);
  RunResult run = RunQuillmark({"fonts.json", "job.json"}, limited);
  EXPECT_EQ(1, run.exitCode) << run.output;
  EXPECT_EQ(0, run.killedBy);
  EXPECT_EQ(std::vector<std::string>{"Quillmark : failed to write big.bmp: " +
                                     std::string(std::strerror(EFBIG))},
            Problems(run));
  EXPECT_EQ(previous, ReadWholeFile(dir_.File("big.bmp")));
  ExpectGoodCanvasesWritten();
  ExpectFiles({"big.bmp"});
}

TEST_F(HostileRun, KillDuringAWriteKeepsThePreviousImageAndTheNextRunCleansUp) {
  // The previous image: a small BMP.
  ASSERT_EQ(0, Run({QuickCanvas("big.bmp")}).exitCode);
  const std::string previous = ReadWholeFile(dir_.File("big.bmp"));
  ASSERT_FALSE(previous.empty());

  // A 36 MB BMP: its write and flush to the disk take long enough for the
  // kill to land in the middle of them.
  dir_.Write("job.json", "[" + Small("big.bmp", kText, 3000, 3000) + "]");
  ProcessOptions options;
  options.cwd = dir_.path();
  bool seen = false;
  options.whileRunning = [&](pid_t pid) {
    seen = WaitForCreation(dir_.path(), ".big.bmp.quillmark-tmp-", pid);
    kill(pid, SIGKILL);
  };
  RunResult killed = RunQuillmark({"fonts.json", "job.json"}, options);
  ASSERT_TRUE(seen) << killed.output;
  EXPECT_EQ(SIGKILL, killed.killedBy);
  // What it logged before the kill arrived whole.
  ASSERT_LE(2u, killed.messages.size());
  EXPECT_EQ(0u, killed.messages[1].find("quillmark global setting: "));
  EXPECT_EQ(previous, ReadWholeFile(dir_.File("big.bmp")));
  std::vector<std::string> leftOver;
  for (const std::string& name : dir_.List())
    if (name.rfind(".big.bmp.quillmark-tmp-", 0) == 0) leftOver.push_back(name);
  ASSERT_EQ(1u, leftOver.size());

  // The next run that writes big.bmp removes the left-over.
  RunResult next = Run({QuickCanvas("big.bmp")});
  EXPECT_EQ(0, next.exitCode) << next.output;
  EXPECT_FALSE(FileExists(dir_.File(leftOver[0])));
  EXPECT_EQ(previous, ReadWholeFile(dir_.File("big.bmp")));  // the same canvas
  ExpectGoodCanvasesWritten();
  ExpectFiles({"big.bmp"});
}

TEST_F(HostileRun, SymbolicLinksAndStandardOutputAreRefused) {
  TempDir outside;
  const std::string target = outside.Write("target.png", "outside");
  ASSERT_EQ(0, symlink(target.c_str(), dir_.File("link.png").c_str()));
  ASSERT_EQ(0, symlink("nowhere.png", dir_.File("dangling.png").c_str()));
  const char* paths[] = {"link.png", "dangling.png", "png:/dev/stdout",
                         "png:/proc/self/fd/1"};
  std::vector<std::string> canvases;
  for (const char* path : paths) canvases.push_back(QuickCanvas(path));
  RunResult run = Run(canvases);
  ExpectWritesRefused(run, {paths, paths + 4});
  for (const std::string& problem : Problems(run))
    EXPECT_EQ(": it is a symbolic link", problem.substr(problem.rfind(':'))) << problem;
  EXPECT_EQ("outside", ReadWholeFile(target));
  EXPECT_EQ(std::vector<std::string>{"target.png"}, outside.List());
  ExpectGoodCanvasesWritten();
  ExpectFiles({"dangling.png", "link.png"});
}

// --- Clearer input errors -----------------------------------------------------

TEST_F(HostileRun, ByteOrderMarksAreSkippedInBothFiles) {
  const std::string bom = "\xEF\xBB\xBF";
  dir_.Write("fonts.json", bom + TestFontList());
  dir_.Write("job.json", bom + "[" + QuickCanvas("first.png") + "," +
                             QuickCanvas("last.png") + "]");
  RunResult run = RunQuillmark({"fonts.json", "job.json"}, dir_.path(), 60);
  EXPECT_EQ(0, run.exitCode) << run.output;
  EXPECT_TRUE(Problems(run).empty()) << run.output;
  ExpectGoodCanvasesWritten();
  ExpectFiles({});
}

TEST_F(HostileRun, LoneHighAndLowSurrogatesRenderAlike) {
  auto canvas = [](const std::string& output, const std::string& escape) {
    return Small(output, "\"default\":\"A" + escape + "B\",\"font\":\"sans\","
                         "\"size\":16,\"area\":[2,2,56,26],\"fill\":\"red\"");
  };
  RunResult run = Run({canvas("high.png", "\\ud800"), canvas("low.png", "\\udc00"),
                       canvas("plain.png", "")});
  EXPECT_EQ(0, run.exitCode) << run.output;
  EXPECT_TRUE(Problems(run).empty()) << run.output;
  RgbaImage high = ReadRgbaImage(dir_.File("high.png"));
  RgbaImage low = ReadRgbaImage(dir_.File("low.png"));
  ASSERT_TRUE(high.ok && low.ok);
  EXPECT_GT(CountOpaque(high), 0);
  EXPECT_TRUE(high.rgba == low.rgba) << "the two lone surrogates drew differently";
  // The invalid unit takes part in the layout, as other invalid bytes do.
  EXPECT_FALSE(high.rgba == ReadRgbaImage(dir_.File("plain.png")).rgba);
  ExpectGoodCanvasesWritten();
  ExpectFiles({"high.png", "low.png", "plain.png"});
}

}  // namespace
