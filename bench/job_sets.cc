#include "job_sets.h"

#include <random>
#include <sstream>

namespace {

const char* const kWords[] = {
    "summer", "sale",    "everything", "must",   "go",      "today",
    "only",   "limited", "offer",      "fresh",  "bread",   "market",
    "open",   "late",    "weekend",    "special", "grand",  "opening",
    "free",   "coffee",  "with",       "every",  "order",   "new",
    "season", "arrivals", "discount",  "on",     "all",     "items"};

// Common Chinese characters, three bytes each in UTF-8.
const char* const kCjk[] = {
    "春", "眠", "不", "觉", "晓", "处", "闻", "啼", "鸟", "夜", "来", "风",
    "雨", "声", "花", "落", "知", "多", "少", "山", "水", "月", "光", "明",
    "日", "天", "人", "生", "大", "中", "国", "文", "字", "书", "画", "秋"};

std::string Words(std::mt19937* rng, size_t minLength) {
  std::uniform_int_distribution<size_t> pick(0, std::size(kWords) - 1);
  std::string text;
  while (text.size() < minLength) {
    if (!text.empty()) text += ' ';
    text += kWords[pick(*rng)];
  }
  return text;
}

std::string Cjk(std::mt19937* rng, int count) {
  std::uniform_int_distribution<size_t> pick(0, std::size(kCjk) - 1);
  std::string text;
  for (int i = 0; i < count; ++i) text += kCjk[pick(*rng)];
  return text;
}

int Between(std::mt19937* rng, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(*rng);
}

// Horizontal banners fitted from a large size, with an outline under the
// fill (two passes) and a drop shadow.
JobSet Banners(std::mt19937* rng, int count) {
  std::ostringstream job;
  job << "[";
  for (int i = 0; i < count; ++i) {
    job << (i ? ",\n" : "\n")
        << "{\"size\": [1000, 340], \"output\": \"banner" << i << ".png\", \"ui\": {"
        << "\"default\": \"" << Words(rng, 80 + Between(rng, 0, 30)) << "\", "
        << "\"font\": \"sans\", \"size\": 120, \"line_height\": 130, "
        << "\"align\": " << Between(rng, 0, 2) << ", \"area\": [20, 20, 960, 300], "
        << "\"fill\": \"#FFD54A\", \"stroke\": \"#3A2A00\", \"width\": " << Between(rng, 4, 8)
        << ", \"strokeOverFill\": false, \"shadow\": \"#000000\", \"s_size\": 3, "
        << "\"s_dist\": 5, \"s_angle\": " << Between(rng, 0, 359)
        << ", \"s_alpha\": 0.5, \"adjustToFit\": true}}";
  }
  job << "\n]\n";
  return {"banners", "horizontal banners, ~100 characters fitted from 120 pt, outline under fill, shadow",
          job.str(), count};
}

// Vertical CJK items; with fitting they shrink until the columns fit.
JobSet Vertical(std::mt19937* rng, int count, bool fit) {
  std::ostringstream job;
  job << "[";
  for (int i = 0; i < count; ++i) {
    job << (i ? ",\n" : "\n")
        << "{\"size\": [240, 620], \"output\": \"vertical" << i << ".png\", \"ui\": {"
        << "\"default\": \"" << Cjk(rng, Between(rng, 24, 40)) << "\", "
        << "\"font\": \"cjk\", \"size\": " << (fit ? 120 : 40) << ", \"line_height\": 48, "
        << "\"align\": " << Between(rng, 0, 2) << ", \"area\": [10, 10, 220, 600], "
        << "\"fill\": \"#B22222\", \"direction\": 1"
        << (fit ? ", \"adjustToFit\": true" : "") << "}}";
  }
  job << "\n]\n";
  if (fit)
    return {"vertical-fit", "vertical CJK, 24-40 characters fitted from 120 pt", job.str(), count};
  return {"vertical", "vertical CJK, 24-40 characters at 40 pt, no fitting", job.str(), count};
}

// Many small labels: short text, no fitting, no outline, no shadow.
JobSet Plain(std::mt19937* rng, int count) {
  std::ostringstream job;
  job << "[";
  for (int i = 0; i < count; ++i) {
    job << (i ? ",\n" : "\n")
        << "{\"size\": [240, 60], \"output\": \"label" << i << ".png\", \"ui\": {"
        << "\"default\": \"" << Words(rng, static_cast<size_t>(Between(rng, 5, 20))) << "\", "
        << "\"font\": \"" << (i % 2 ? "serif" : "sans") << "\", \"size\": " << Between(rng, 14, 24)
        << ", \"line_height\": 28, \"area\": [8, 8, 224, 44], \"fill\": \"#202020\"}}";
  }
  job << "\n]\n";
  return {"plain", "small labels, 5-20 characters, no fitting, outline or shadow", job.str(), count};
}

}  // namespace

std::vector<JobSet> MakeJobSets(int scale) {
  std::mt19937 rng(20261207);
  return {Banners(&rng, 2 * scale), Vertical(&rng, 2 * scale, true),
          Vertical(&rng, 4 * scale, false), Plain(&rng, 100 * scale)};
}

std::string BenchFontList() {
  return "{\"sans\": \"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf\",\n"
         " \"serif\": \"/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf\",\n"
         " \"cjk\": \"/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf\"}\n";
}
