// The measurement savings must never change a layout: the cache gives back
// exactly what was measured, classes share measurements only when a probe
// proves them equal, and the vertical em shortcut falls back to measuring
// everything when one unit disagrees.

#include <gtest/gtest.h>

#include <cstring>

#include "support/fake_metrics.h"
#include "support/layout_items.h"
#include "render/layout/horizontal_layout.h"
#include "render/metrics/metrics_cache.h"
#include "render/layout/vertical_layout.h"

namespace {

// A font whose advance widths depend on the character and the size, with
// fractional values so that any mix-up shows.
FontMetrics Proportional(const std::string& text, int size) {
  FontMetrics m{};
  m.charWidth = size;
  m.charHeight = size + 1;
  double w = 0;
  for (unsigned char c : text) w += size * (0.35 + (c % 7) * 0.05) + 0.125;
  m.textW = w;
  m.textH = size * 1.17;
  m.bx1 = 0.5;
  m.bx2 = w - 0.25;
  m.by2 = size * 0.73 + (text.empty() ? 0 : text[0] % 3);
  return m;
}

bool SameAnnotations(const Layout& a, const Layout& b) {
  if (a.fontSize != b.fontSize || a.metricsFailed != b.metricsFailed ||
      a.annotations.size() != b.annotations.size())
    return false;
  for (size_t i = 0; i < a.annotations.size(); ++i) {
    const Annotation& x = a.annotations[i];
    const Annotation& y = b.annotations[i];
    if (std::memcmp(&x.x, &y.x, sizeof(double)) != 0 ||
        std::memcmp(&x.y, &y.y, sizeof(double)) != 0 || x.text != y.text)
      return false;
  }
  return true;
}

// `item` with `text` at `size`, centred and fitted.
TextInfo CentredAndFitted(TextInfo item, const std::string& text, int size,
                          int lineHeight) {
  item.text = text;
  item.fontSize = size;
  item.lineHeight = lineHeight;
  item.alignment = 2;
  item.adjustToFit = true;
  return item;
}

TextInfo Banner() {
  return CentredAndFitted(LineItem(10, 5, 300, 90),
                          "Every unit measured once, whatever the pass", 40, 44);
}

TEST(MetricsCacheTest, MeasuresEachTextOnceForAClassAndSize) {
  MetricsCache cache;
  FakeMetrics fake(Proportional);
  CachedMetrics cached(&fake, &cache, "font", "font/a");
  FontMetrics first, again, other;
  cached.SetFontSize(20);
  ASSERT_TRUE(cached.Measure("x", &first));
  ASSERT_TRUE(cached.Measure("x", &again));
  EXPECT_EQ(0, std::memcmp(&first, &again, sizeof(FontMetrics)));
  EXPECT_EQ(1, fake.Count("x", 20));
  EXPECT_EQ(1, fake.Count(kProbeText, 20));  // once, to place the class

  cached.SetFontSize(21);
  ASSERT_TRUE(cached.Measure("x", &other));
  EXPECT_EQ(1, fake.Count("x", 21));
  EXPECT_NE(first.textW, other.textW);
  EXPECT_EQ(2u, cache.entries());  // x at 20 and 21; the probe is not kept
}

TEST(MetricsCacheTest, FailuresAreNotRemembered) {
  MetricsCache cache;
  FakeMetrics fake(Proportional);
  fake.FailOn("bad");
  CachedMetrics cached(&fake, &cache, "font", "font/a");
  cached.SetFontSize(12);
  FontMetrics m;
  EXPECT_FALSE(cached.Measure("bad", &m));
  EXPECT_FALSE(cached.Measure("bad", &m));
  EXPECT_EQ(2, fake.Count("bad", 12));
}

TEST(MetricsCacheTest, AnUnreadableFontMeasuresNothing) {
  MetricsCache cache;
  FakeMetrics fake(Proportional);
  fake.FailOn(kProbeText);
  CachedMetrics cached(&fake, &cache, "font", "font/a");
  cached.SetFontSize(12);
  FontMetrics m;
  EXPECT_FALSE(cached.Measure("a", &m));
  EXPECT_EQ(0, fake.Count("a", 12));
}

TEST(MetricsCacheTest, ClassesShareOnlyWhenTheProbeMeasuresTheSame) {
  MetricsCache cache;
  FakeMetrics first(Proportional);
  CachedMetrics a(&first, &cache, "font", "font/stroke 4");
  a.SetFontSize(30);
  FontMetrics m;
  ASSERT_TRUE(a.Measure("shared", &m));

  // Another pass whose settings leave the metrics alone: its probe matches,
  // so it measures nothing it already knows.
  FakeMetrics second(Proportional);
  CachedMetrics b(&second, &cache, "font", "font/stroke 0");
  b.SetFontSize(30);
  ASSERT_TRUE(b.Measure("shared", &m));
  EXPECT_EQ(0, second.Count("shared", 30));

  // Settings that change the metrics (here every width grows): the probe
  // differs, so everything is measured anew.
  FakeMetrics wider([](const std::string& t, int s) {
    FontMetrics m = Proportional(t, s);
    m.textW += 1;
    return m;
  });
  CachedMetrics c(&wider, &cache, "font", "font/stroke 9");
  c.SetFontSize(30);
  FontMetrics measured;
  ASSERT_TRUE(c.Measure("shared", &measured));
  EXPECT_EQ(1, wider.Count("shared", 30));
  EXPECT_EQ(Proportional("shared", 30).textW + 1, measured.textW);

  // The same settings with another font file share nothing.
  FakeMetrics otherFont(Proportional);
  CachedMetrics d(&otherFont, &cache, "other font", "other font/stroke 4");
  d.SetFontSize(30);
  ASSERT_TRUE(d.Measure("shared", &m));
  EXPECT_EQ(1, otherFont.Count("shared", 30));
}

TEST(MetricsReuseTest, HorizontalLayoutIsTheSameThroughTheCache) {
  for (bool fit : {false, true}) {
    TextInfo info = Banner();
    info.adjustToFit = fit;
    std::vector<std::string> units = Units(info.text);
    FakeMetrics direct(Proportional);
    Layout expected = LayOutHorizontal(info, 1.5f, units, &direct);

    MetricsCache cache;
    FakeMetrics underlying(Proportional);
    CachedMetrics cached(&underlying, &cache, "font", "font/a");
    Layout first = LayOutHorizontal(info, 1.5f, units, &cached);
    EXPECT_TRUE(SameAnnotations(expected, first)) << fit;
    EXPECT_EQ(expected.fontSize, first.fontSize);
    EXPECT_LT(underlying.measured.size(), direct.measured.size());

    // A second pass of the same class measures nothing at all.
    size_t before = underlying.measured.size();
    CachedMetrics again(&underlying, &cache, "font", "font/a");
    Layout second = LayOutHorizontal(info, 1.5f, units, &again);
    EXPECT_TRUE(SameAnnotations(expected, second));
    EXPECT_EQ(before, underlying.measured.size());
  }
}

TextInfo Poster() {
  return CentredAndFitted(ColumnItem(10, 10, 150, 300),
                          "春眠不觉晓处处闻啼鸟夜来风雨声花落知多少", 60, 48);
}

// Metrics where every unit of a size has the font's em size, as in a real
// font: charWidth and charHeight depend on the size alone.
FontMetrics Uniform(const std::string& text, int size) {
  FontMetrics m = Proportional(text, size);
  m.charWidth = size + 0.5;
  m.charHeight = size * 1.25;
  return m;
}

// The vertical layout of `info` with the em shortcut, measured by
// `shortcut`, after checking that it is the layout without the shortcut.
Layout CheckedShortcut(const TextInfo& info, float inset,
                       const FakeMetrics::Rule& rule, FakeMetrics* shortcut) {
  const std::vector<std::string> units = Units(info.text);
  FakeMetrics every(rule);
  const Layout expected = LayOutVertical(info, inset, units, &every, false);
  const Layout fast = LayOutVertical(info, inset, units, shortcut, true);
  EXPECT_TRUE(SameAnnotations(expected, fast))
      << "fit " << info.adjustToFit << ", inset " << inset;
  return fast;
}

TEST(MetricsReuseTest, VerticalShortcutGivesTheSameLayoutWithFarFewerQueries) {
  for (bool fit : {false, true}) {
    for (float inset : {0.0f, 2.0f}) {
      TextInfo info = Poster();
      info.adjustToFit = fit;
      FakeMetrics shortcut(Uniform);
      const Layout fast = CheckedShortcut(info, inset, Uniform, &shortcut);
      ASSERT_FALSE(fast.annotations.empty());
      if (fit) {
        EXPECT_LT(fast.fontSize, info.fontSize);  // it did shrink
        // One em query per size, then each unit once at the final size.
        size_t passes = static_cast<size_t>(info.fontSize - fast.fontSize + 1);
        EXPECT_EQ(passes + Units(info.text).size(), shortcut.measured.size());
      }
    }
  }
}

TEST(MetricsReuseTest, VerticalShortcutFallsBackWhenAUnitDisagrees) {
  // One character is taller than the font's em at every size: the columns
  // laid out from the em size alone would be wrong.
  auto odd = [](const std::string& text, int size) {
    FontMetrics m = Uniform(text, size);
    if (text == "鸟") m.charHeight += 7;
    return m;
  };
  FakeMetrics shortcut(odd);
  CheckedShortcut(Poster(), 1.0f, odd, &shortcut);
  // The fallback measured every unit at the starting size, as the
  // straightforward layout does.
  EXPECT_EQ(1, shortcut.Count("鸟", Poster().fontSize));
}

TEST(MetricsReuseTest, VerticalShortcutChecksEvenWhenNothingFits) {
  TextInfo info = Poster();
  info.areaWidth = 3;  // nothing fits at any size with uniform ems
  // ...but one character is narrow enough that the real layout differs.
  auto odd = [](const std::string& text, int size) {
    FontMetrics m = Uniform(text, size);
    if (text == "春") m.charWidth = 0.25;
    return m;
  };
  FakeMetrics shortcut(odd);
  CheckedShortcut(info, 0.0f, odd, &shortcut);
}

}  // namespace
