// Renders generated job sets twice in one run, with the straightforward
// path (every metric queried every time) and with the current one, and
// reports canvases per second, metric queries per canvas and whether the two
// wrote identical images. Exits with 1 when any image differs.
//
//   quillmark_bench [--scale N] [--count name=N,...] [--sets name,name] [--keep DIR]
//   quillmark_bench --write-jobs DIR [--count name=N,...] [--sets name,name]
//
// --write-jobs writes the sets as files and renders nothing: DIR/fonts.json
// and DIR/<set>/job.json, whose outputs are relative to the folder the
// renderer runs in. Its counts are those of the comparison with a Pillow
// script (bench/peer_bench.py); --count changes them.

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "job_sets.h"
#include "render/run/driver.h"
#include "render/magick/handles.h"
#include "render/draw/render_context.h"
#include "util/system_resources.h"

namespace {

struct Mode {
  const char* name;
  RenderOptions options;
};

const Mode kModes[] = {
    {"straightforward", {false, false, false, false, false, 0, {}, -1}},
    {"current", {true, true, true, true, false, 0, {}, -1}},
};

struct Measurement {
  double seconds = 0;
  uint64_t queries = 0;
  int status = 0;
};

bool WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  out.close();
  return !out.fail();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// Renders `jobPath` in `dir` with `mode`, the log sent to /dev/null. Each
// mode starts with an empty cache, as a fresh run would.
Measurement Render(const Mode& mode, const std::string& fontList,
                   const std::string& jobPath, const std::string& dir) {
  mkdir(dir.c_str(), 0777);
  char previous[4096];
  if (getcwd(previous, sizeof(previous)) == nullptr || chdir(dir.c_str()) != 0) {
    perror("chdir");
    exit(2);
  }
  RenderContext context;
  context.options = mode.options;
  RunOptions inProcess;
  inProcess.jobs = 0;  // in this process, so that the queries can be counted
  fflush(stdout);
  int savedStdout = dup(1);
  int devNull = open("/dev/null", O_WRONLY);
  dup2(devNull, 1);
  close(devNull);

  Measurement m;
  auto start = std::chrono::steady_clock::now();
  m.status = RunJob(fontList, jobPath, 1.0f, inProcess, &context);
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.queries = context.magickQueries + context.exact.probeQueries();

  fflush(stdout);
  dup2(savedStdout, 1);
  close(savedStdout);
  if (chdir(previous) != 0) exit(2);
  return m;
}

// The pixels of an image file as 32-bit floats, or empty when unreadable.
std::vector<float> Pixels(const std::string& path, size_t* width, size_t* height) {
  std::vector<float> pixels;
  MagickWandPtr wand(NewMagickWand());
  if (MagickReadImage(wand.get(), path.c_str()) == MagickTrue) {
    *width = MagickGetImageWidth(wand.get());
    *height = MagickGetImageHeight(wand.get());
    pixels.resize(*width * *height * 4);
    MagickExportImagePixels(wand.get(), 0, 0, *width, *height, "RGBA", FloatPixel,
                            pixels.data());
  }
  return pixels;
}

// Compares output `name` of both modes: byte for byte, else pixel for pixel.
bool SameImage(const std::string& a, const std::string& b) {
  std::string bytesA = ReadFile(a), bytesB = ReadFile(b);
  if (bytesA.empty() || bytesB.empty()) return false;
  if (bytesA == bytesB) return true;
  size_t wa = 0, ha = 0, wb = 0, hb = 0;
  std::vector<float> pa = Pixels(a, &wa, &ha), pb = Pixels(b, &wb, &hb);
  return !pa.empty() && wa == wb && ha == hb &&
         std::memcmp(pa.data(), pb.data(), pa.size() * sizeof(float)) == 0;
}

std::vector<std::string> OutputNames(const JobSet& set) {
  std::vector<std::string> names;
  size_t at = 0;
  const std::string key = "\"output\": \"";
  while ((at = set.jobText.find(key, at)) != std::string::npos) {
    at += key.size();
    names.push_back(set.jobText.substr(at, set.jobText.find('"', at) - at));
  }
  return names;
}

bool Selected(const std::string& sets, const std::string& name) {
  if (sets.empty()) return true;
  std::string list = "," + sets + ",";
  return list.find("," + name + ",") != std::string::npos;
}

// Writes `text` to `path`, saying so on standard error when it cannot.
bool WriteOrSay(const std::string& path, const std::string& text) {
  if (WriteFile(path, text)) return true;
  fprintf(stderr, "could not write %s\n", path.c_str());
  return false;
}

// Makes the set `count` and writes it as ROOT/<set>/job.json; its folder
// goes to *dir.
bool WriteJobSet(const std::string& root, const SetCount& count, JobSet* set,
                 std::string* dir) {
  MakeJobSet(count.name, count.count, set);
  *dir = root + "/" + set->name;
  mkdir(dir->c_str(), 0777);
  return WriteOrSay(*dir + "/job.json", set->jobText);
}

// Writes DIR/fonts.json and DIR/<set>/job.json for every set.
int WriteJobs(const std::string& root, const std::vector<SetCount>& counts,
              const std::string& sets) {
  mkdir(root.c_str(), 0777);
  if (!WriteOrSay(root + "/fonts.json", BenchFontList())) return 2;
  for (const SetCount& count : counts) {
    if (!Selected(sets, count.name)) continue;
    JobSet set;
    std::string dir;
    if (!WriteJobSet(root, count, &set, &dir)) return 2;
    printf("%s %d\n", set.name.c_str(), set.canvases);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TuneAllocator();  // as the program does
  int scale = 1;
  std::string sets, keep, countText, writeJobs;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--scale")) scale = atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--sets")) sets = argv[i + 1];
    else if (!std::strcmp(argv[i], "--keep")) keep = argv[i + 1];
    else if (!std::strcmp(argv[i], "--count")) countText = argv[i + 1];
    else if (!std::strcmp(argv[i], "--write-jobs")) writeJobs = argv[i + 1];
  }
  if (scale < 1) scale = 1;
  std::vector<SetCount> counts = writeJobs.empty() ? InProcessCounts(scale) : PeerCounts();
  if (!countText.empty() && !ApplyCounts(countText, &counts)) {
    fprintf(stderr, "--count wants name=N,... with N from 0 to 1000000; the sets are");
    for (const std::string& name : JobSetNames()) fprintf(stderr, " %s", name.c_str());
    fprintf(stderr, "\n");
    return 2;
  }
  if (!writeJobs.empty()) return WriteJobs(writeJobs, counts, sets);

  std::string root = keep;
  if (root.empty()) {
    char pattern[] = "/tmp/quillmark-bench.XXXXXX";
    if (mkdtemp(pattern) == nullptr) { perror("mkdtemp"); return 2; }
    root = pattern;
  } else {
    mkdir(root.c_str(), 0777);
  }
  const std::string fontList = root + "/fonts.json";
  if (!WriteOrSay(fontList, BenchFontList())) return 2;

  printf("%-13s %8s  %-15s %9s %12s %14s\n", "set", "canvases", "path", "seconds",
         "canvases/s", "queries/canvas");
  bool allSame = true;
  for (const SetCount& count : counts) {
    if (!Selected(sets, count.name)) continue;
    JobSet set;
    std::string dir;
    if (!WriteJobSet(root, count, &set, &dir)) return 2;
    const std::string jobPath = dir + "/job.json";

    Measurement results[2];
    for (int i = 0; i < 2; ++i) {
      results[i] = Render(kModes[i], fontList, jobPath, dir + "/" + kModes[i].name);
      const Measurement& m = results[i];
      printf("%-13s %8d  %-15s %9.2f %12.2f %14.1f%s\n", set.name.c_str(), set.canvases,
             kModes[i].name, m.seconds, set.canvases / m.seconds,
             static_cast<double>(m.queries) / set.canvases,
             m.status == 0 ? "" : "  (run ended with 1)");
    }
    MagickWandGenesis();
    int differing = 0;
    for (const std::string& name : OutputNames(set))
      if (!SameImage(dir + "/straightforward/" + name, dir + "/current/" + name)) ++differing;
    MagickWandTerminus();
    allSame = allSame && differing == 0;
    printf("%-13s speed-up %.2fx, %.1fx fewer queries, images %s\n\n", set.name.c_str(),
           results[0].seconds / results[1].seconds,
           static_cast<double>(results[0].queries) / (results[1].queries ? results[1].queries : 1),
           differing ? "DIFFER" : "identical");
    fflush(stdout);
  }
  if (keep.empty()) {
    std::error_code error;
    std::filesystem::remove_all(root, error);
    if (error) fprintf(stderr, "could not remove %s: %s\n", root.c_str(), error.message().c_str());
  } else {
    printf("images kept in %s\n", root.c_str());
  }
  return allSame ? 0 : 1;
}
