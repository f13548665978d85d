#include "job_sets.h"

#include <algorithm>
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

// A job of `count` canvases, one a line; `canvas(i)` writes canvas i.
// Canvases are made in order, so the random draws are too.
template <typename Canvas>
std::string JobArray(int count, Canvas canvas) {
  std::ostringstream job;
  job << "[";
  for (int i = 0; i < count; ++i) {
    job << (i ? ",\n" : "\n");
    canvas(job, i);
  }
  job << "\n]\n";
  return job.str();
}

// Horizontal banners fitted from a large size, with an outline under the
// fill (two passes) and a drop shadow.
JobSet Banners(std::mt19937* rng, int count) {
  const std::string text = JobArray(count, [&](std::ostringstream& job, int i) {
    job << "{\"size\": [1000, 340], \"output\": \"banner" << i << ".png\", \"ui\": {"
        << "\"default\": \"" << Words(rng, 80 + Between(rng, 0, 30)) << "\", "
        << "\"font\": \"sans\", \"size\": 120, \"line_height\": 130, "
        << "\"align\": " << Between(rng, 0, 2) << ", \"area\": [20, 20, 960, 300], "
        << "\"fill\": \"#FFD54A\", \"stroke\": \"#3A2A00\", \"width\": " << Between(rng, 4, 8)
        << ", \"strokeOverFill\": false, \"shadow\": \"#000000\", \"s_size\": 3, "
        << "\"s_dist\": 5, \"s_angle\": " << Between(rng, 0, 359)
        << ", \"s_alpha\": 0.5, \"adjustToFit\": true}}";
  });
  return {"banners", "horizontal banners, ~100 characters fitted from 120 pt, outline under fill, shadow",
          text, count};
}

// Vertical CJK columns fitted from a large size, with an outline (under or
// over the fill) and a drop shadow.
JobSet VerticalFit(std::mt19937* rng, int count) {
  const std::string text = JobArray(count, [&](std::ostringstream& job, int i) {
    job << "{\"size\": [240, 620], \"output\": \"vertical" << i << ".png\", \"ui\": {"
        << "\"default\": \"" << Cjk(rng, Between(rng, 24, 40)) << "\", "
        << "\"font\": \"cjk\", \"size\": 120, \"line_height\": 48, "
        << "\"align\": " << Between(rng, 0, 2) << ", \"area\": [10, 10, 220, 600], "
        << "\"fill\": \"#B22222\", \"stroke\": \"#FFF4E0\", \"width\": " << Between(rng, 2, 4)
        << ", \"strokeOverFill\": " << (Between(rng, 0, 1) ? "true" : "false")
        << ", \"shadow\": \"#000000\", \"s_size\": " << Between(rng, 2, 4)
        << ", \"s_dist\": " << Between(rng, 3, 6) << ", \"s_angle\": " << Between(rng, 0, 359)
        << ", \"s_alpha\": 0." << Between(rng, 4, 6)
        << ", \"direction\": 1, \"adjustToFit\": true}}";
  });
  return {"vertical-fit",
          "vertical CJK, 24-40 characters fitted from 120 pt, outline, shadow", text,
          count};
}

// Vertical CJK columns at a fixed size, fill only.
JobSet Vertical(std::mt19937* rng, int count) {
  const std::string text = JobArray(count, [&](std::ostringstream& job, int i) {
    job << "{\"size\": [240, 620], \"output\": \"vertical" << i << ".png\", \"ui\": {"
        << "\"default\": \"" << Cjk(rng, Between(rng, 24, 40)) << "\", "
        << "\"font\": \"cjk\", \"size\": 40, \"line_height\": 48, "
        << "\"align\": " << Between(rng, 0, 2) << ", \"area\": [10, 10, 220, 600], "
        << "\"fill\": \"#B22222\", \"direction\": 1}}";
  });
  return {"vertical", "vertical CJK, 24-40 characters at 40 pt, no fitting", text, count};
}

// Many small labels: short text, no fitting, no outline, no shadow.
JobSet Plain(std::mt19937* rng, int count) {
  const std::string text = JobArray(count, [&](std::ostringstream& job, int i) {
    job << "{\"size\": [240, 60], \"output\": \"label" << i << ".png\", \"ui\": {"
        << "\"default\": \"" << Words(rng, static_cast<size_t>(Between(rng, 5, 20))) << "\", "
        << "\"font\": \"" << (i % 2 ? "serif" : "sans") << "\", \"size\": " << Between(rng, 14, 24)
        << ", \"line_height\": 28, \"area\": [8, 8, 224, 44], \"fill\": \"#202020\"}}";
  });
  return {"plain", "small labels, 5-20 characters, no fitting, outline or shadow", text, count};
}

struct Generator {
  const char* name;
  JobSet (*make)(std::mt19937*, int);
};

const Generator kGenerators[] = {
    {"banners", Banners},
    {"vertical-fit", VerticalFit},
    {"vertical", Vertical},
    {"plain", Plain},
};

int IndexOf(const std::string& name) {
  for (size_t i = 0; i < std::size(kGenerators); ++i)
    if (name == kGenerators[i].name) return static_cast<int>(i);
  return -1;
}

}  // namespace

const std::vector<std::string>& JobSetNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const Generator& g : kGenerators) list.push_back(g.name);
    return list;
  }();
  return names;
}

bool MakeJobSet(const std::string& name, int count, JobSet* out) {
  int index = IndexOf(name);
  if (index < 0) return false;
  std::mt19937 rng(20261207 + static_cast<unsigned>(index));
  *out = kGenerators[index].make(&rng, count);
  return true;
}

std::vector<SetCount> InProcessCounts(int scale) {
  return {{"banners", 2 * scale}, {"vertical-fit", 2 * scale}, {"vertical", 4 * scale},
          {"plain", 100 * scale}};
}

std::vector<SetCount> PeerCounts() {
  return {{"banners", 100}, {"vertical-fit", 40}, {"plain", 100}};
}

bool ApplyCounts(const std::string& text, std::vector<SetCount>* counts) {
  std::vector<SetCount> result = *counts;
  std::stringstream items(text);
  std::string item;
  while (std::getline(items, item, ',')) {
    size_t equals = item.find('=');
    if (equals == std::string::npos) return false;
    std::string name = item.substr(0, equals), number = item.substr(equals + 1);
    if (IndexOf(name) < 0 || number.empty() || number.size() > 7 ||
        number.find_first_not_of("0123456789") != std::string::npos)
      return false;
    int count = std::stoi(number);
    if (count > 1000000) return false;
    auto it = std::find_if(result.begin(), result.end(),
                           [&name](const SetCount& c) { return c.name == name; });
    if (it == result.end())
      result.push_back({name, count});
    else
      it->count = count;
  }
  result.erase(std::remove_if(result.begin(), result.end(),
                              [](const SetCount& c) { return c.count == 0; }),
               result.end());
  std::stable_sort(result.begin(), result.end(), [](const SetCount& a, const SetCount& b) {
    return IndexOf(a.name) < IndexOf(b.name);
  });
  *counts = result;
  return true;
}

std::string BenchFontList() {
  return "{\"sans\": \"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf\",\n"
         " \"serif\": \"/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf\",\n"
         " \"cjk\": \"/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf\"}\n";
}
