#ifndef QUILLMARK_BENCH_JOB_SETS_H_
#define QUILLMARK_BENCH_JOB_SETS_H_

#include <string>
#include <vector>

// One set of canvases to render, as a job file's text. Its "output" paths
// are relative: each set is rendered in a folder of its own.
struct JobSet {
  std::string name;
  std::string description;
  std::string jobText;
  int canvases = 0;
};

// How many canvases of a set to make.
struct SetCount {
  std::string name;
  int count = 0;
};

// The set names, in the order the benchmarks render them: "banners",
// "vertical-fit", "vertical", "plain".
const std::vector<std::string>& JobSetNames();

// Makes set `name` with `count` canvases. Every set has its own fixed seed,
// so its jobs do not depend on the other sets, and a smaller count gives the
// first canvases of a larger one. False for an unknown name.
bool MakeJobSet(const std::string& name, int count, JobSet* out);

// The counts of the in-process comparison, each multiplied by `scale`: the
// straightforward path is slow, so the fitted sets are small.
std::vector<SetCount> InProcessCounts(int scale);

// The counts of the comparison with a Pillow script: plain 100,
// vertical-fit 40, banners 100.
std::vector<SetCount> PeerCounts();

// Applies "name=N,name=N" to `counts`: a listed set gets N (0 drops it), a
// set not yet in `counts` is added. False, with `counts` unchanged, when a
// name is unknown or N is not a whole number from 0 to 1000000.
bool ApplyCounts(const std::string& text, std::vector<SetCount>* counts);

// The font list the sets use: "sans", "serif" (DejaVu) and "cjk" (Droid Sans
// Fallback), from Debian's font packages.
std::string BenchFontList();

#endif  // QUILLMARK_BENCH_JOB_SETS_H_
