#ifndef QUILLMARK_BENCH_JOB_SETS_H_
#define QUILLMARK_BENCH_JOB_SETS_H_

#include <string>
#include <vector>

// One set of canvases to render, as a job file's text. Its "output" paths
// are relative: the benchmark renders each set in a folder of its own.
struct JobSet {
  std::string name;
  std::string description;
  std::string jobText;
  int canvases = 0;
};

// The sets, generated from a fixed seed so that every run renders the same
// jobs. `scale` multiplies the number of canvases of each set.
std::vector<JobSet> MakeJobSets(int scale);

// The font list the sets use: "sans", "serif" (DejaVu) and "cjk" (Droid Sans
// Fallback), from Debian's font packages.
std::string BenchFontList();

#endif  // QUILLMARK_BENCH_JOB_SETS_H_
