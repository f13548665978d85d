#include "render/typography/vertical_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/fake_metrics.h"
#include "support/layout_items.h"
#include "util/utf8.h"
#include "render/typography/typography.h"

namespace {

using Doubles = std::vector<double>;
using Strings = std::vector<std::string>;

std::string U8(char32_t c) { return EncodeUtf8(c); }

TEST(VerticalFormsTest, PresentationFormsOfPunctuation) {
  EXPECT_EQ(VerticalPresentationForm(0x300C), 0xFE41u);  // 「
  EXPECT_EQ(VerticalPresentationForm(0x300D), 0xFE42u);  // 」
  EXPECT_EQ(VerticalPresentationForm(0x3001), 0xFE11u);  // 、
  EXPECT_EQ(VerticalPresentationForm(0x3002), 0xFE12u);  // 。
  EXPECT_EQ(VerticalPresentationForm(0xFF08), 0xFE35u);  // （
  EXPECT_EQ(VerticalPresentationForm(0xFF09), 0xFE36u);  // ）
  EXPECT_EQ(VerticalPresentationForm(0x2026), 0xFE19u);  // …
  EXPECT_EQ(VerticalPresentationForm(0x2014), 0xFE31u);  // —
  EXPECT_EQ(VerticalPresentationForm(0xFF3F), 0xFE33u);  // ＿
  for (char32_t none : {U'A', U'(', U'\u30FC', U'\u4E00', U'\uFE41'})
    EXPECT_EQ(VerticalPresentationForm(none), 0u) << std::hex << none;

  const std::vector<char32_t> forms = VerticalPresentationForms();
  EXPECT_TRUE(std::is_sorted(forms.begin(), forms.end()));
  for (char32_t form : forms)
    EXPECT_TRUE((form >= 0xFE10 && form <= 0xFE19) ||
                (form >= 0xFE30 && form <= 0xFE4F))
        << std::hex << form;
}

// EmCell with the ascender 16 and descender -4 that turning reads.
FontMetrics UprightCell(const std::string& text, int size) {
  FontMetrics cell = EmCell(text, size);
  cell.ascender = 16;
  cell.descender = -4;
  return cell;
}

// A font with the forms of 「 and 、 only.
bool FewForms(char32_t c) { return c == 0xFE41 || c == 0xFE11; }

TEST(VerticalFormsTest, FormsWhereTheFontHasThemTurnedOtherwise) {
  const VerticalForms forms(FewForms);
  EXPECT_EQ(forms.Upright("「"), U8(0xFE41));
  EXPECT_EQ(forms.Upright("、"), U8(0xFE11));
  EXPECT_FALSE(forms.Turned(forms.Upright("「")));
  // 」 and （ have forms the font lacks: turned.
  EXPECT_EQ(forms.Upright("」"), "」");
  EXPECT_TRUE(forms.Turned("」"));
  EXPECT_TRUE(forms.Turned("（"));
  // ー ～ 〜 have no form: always turned.
  for (const char* mark : {"ー", "～", "〜"}) {
    EXPECT_EQ(forms.Upright(mark), mark);
    EXPECT_TRUE(forms.Turned(mark)) << mark;
  }
  // 。！？ without their forms stay upright; ideographs, letters and
  // broken units are left alone.
  for (const std::string unit : {"。", "！", "？", "，", "国", "A", "\x80" "A"}) {
    EXPECT_EQ(forms.Upright(unit), unit);
    EXPECT_FALSE(forms.Turned(unit)) << unit;
  }
}

TEST(VerticalFormsTest, TurnedUnitKeepsItsCell) {
  // Upright at (171, 16): column middle 171 + (19 - 1) / 2 = 180, glyph
  // area from 16 - 16 = 0. Turned, its origin goes to the top of the glyph
  // area, ascender 16 and descender -4 centred: x = 180 - 6.
  FakeMetrics m(UprightCell);
  std::vector<Annotation> annotations = {{171, 16, "ー"}, {171, 36, "国"}};
  ASSERT_TRUE(TurnUnits(VerticalForms(FewForms), 20, &m, &annotations));
  EXPECT_EQ(annotations[0].x, 174);
  EXPECT_EQ(annotations[0].y, 0);
  EXPECT_TRUE(annotations[0].turned);
  EXPECT_EQ(annotations[1].x, 171);
  EXPECT_EQ(annotations[1].y, 36);
  EXPECT_FALSE(annotations[1].turned);
  EXPECT_EQ(m.sizes, (std::vector<int>{20}));
  EXPECT_EQ(m.measured.size(), 1u);  // only the turned unit
}

TEST(VerticalFormsTest, ColumnsWithFormsTurnedUnitsAndBlockAlignment) {
  // Area 0..200 x 100, column width 40, every unit an em of 20.
  TextInfo info = ColumnItem(0, 0, 200, 100);
  info.verticalForms = true;
  FakeMetrics m(UprightCell);
  const std::vector<std::string> units = Units("「あー」");
  for (bool wrap : {false, true}) {
    info.wrapWords = wrap;
    const Layout layout =
        LayOutColumnsTypeset(info, 0, units, &m, FewForms, false);
    EXPECT_EQ(Texts(layout), (Strings{U8(0xFE41), "あ", "ー", "」"}));
    EXPECT_EQ(Xs(layout), (Doubles{171, 171, 174, 174}));
    EXPECT_EQ(Ys(layout), (Doubles{16, 36, 40, 60}));
    std::vector<bool> turned;
    for (const Annotation& a : layout.annotations)
      turned.push_back(a.turned);
    EXPECT_EQ(turned, (std::vector<bool>{false, false, true, true}));
  }
  // Centred across the area: ink from 172 (upright bx1) to 190, middle
  // 181: everything 81 to the left.
  info.blockAlign = 2;
  const Layout centred =
      LayOutColumnsTypeset(info, 0, units, &m, FewForms, false);
  EXPECT_EQ(Xs(centred), (Doubles{90, 90, 93, 93}));
}

}  // namespace
