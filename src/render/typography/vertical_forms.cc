#include "render/typography/vertical_forms.h"

#include <algorithm>
#include <iterator>

#include "util/utf8.h"

namespace {

struct FormPair {
  char32_t character;
  char32_t form;
};

// Sorted by character. The full-width forms of the ASCII punctuation map to
// the forms that Unicode decomposes to that punctuation; ASCII punctuation
// itself is left alone, as vertical text sets it sideways with Latin text.
constexpr FormPair kForms[] = {
    {0x2013, 0xFE32},  // – en dash
    {0x2014, 0xFE31},  // — em dash
    {0x2025, 0xFE30},  // ‥ two dot leader
    {0x2026, 0xFE19},  // … horizontal ellipsis
    {0x3001, 0xFE11},  // 、
    {0x3002, 0xFE12},  // 。
    {0x3008, 0xFE3F},  // 〈
    {0x3009, 0xFE40},  // 〉
    {0x300A, 0xFE3D},  // 《
    {0x300B, 0xFE3E},  // 》
    {0x300C, 0xFE41},  // 「
    {0x300D, 0xFE42},  // 」
    {0x300E, 0xFE43},  // 『
    {0x300F, 0xFE44},  // 』
    {0x3010, 0xFE3B},  // 【
    {0x3011, 0xFE3C},  // 】
    {0x3014, 0xFE39},  // 〔
    {0x3015, 0xFE3A},  // 〕
    {0x3016, 0xFE17},  // 〖
    {0x3017, 0xFE18},  // 〗
    {0xFF01, 0xFE15},  // ！
    {0xFF08, 0xFE35},  // （
    {0xFF09, 0xFE36},  // ）
    {0xFF0C, 0xFE10},  // ，
    {0xFF1A, 0xFE13},  // ：
    {0xFF1B, 0xFE14},  // ；
    {0xFF1F, 0xFE16},  // ？
    {0xFF3B, 0xFE47},  // ［
    {0xFF3D, 0xFE48},  // ］
    {0xFF3F, 0xFE33},  // ＿
    {0xFF5B, 0xFE37},  // ｛
    {0xFF5D, 0xFE38},  // ｝
};

// Without a presentation form in Unicode: always turned.
bool AlwaysTurned(char32_t c) {
  return c == 0x30FC ||  // ー prolonged sound mark
         c == 0xFF5E ||  // ～ full-width tilde
         c == 0x301C;    // 〜 wave dash
}

// Upright without their form: the form only moves them within the cell.
bool UprightWithoutForm(char32_t c) {
  return c == 0x3001 || c == 0x3002 || c == 0xFF0C || c == 0xFF01 ||
         c == 0xFF1F;
}

}  // namespace

char32_t VerticalPresentationForm(char32_t c) {
  auto it = std::lower_bound(
      std::begin(kForms), std::end(kForms), c,
      [](const FormPair& p, char32_t value) { return p.character < value; });
  return it != std::end(kForms) && it->character == c ? it->form : 0;
}

std::vector<char32_t> VerticalPresentationForms() {
  std::vector<char32_t> forms;
  for (const FormPair& p : kForms)
    forms.push_back(p.form);
  std::sort(forms.begin(), forms.end());
  return forms;
}

std::string VerticalForms::Upright(const std::string& unit) const {
  const char32_t form = VerticalPresentationForm(UnitCodePoint(unit));
  if (form != 0 && fontHasGlyph_(form))
    return EncodeUtf8(form);
  return unit;
}

bool VerticalForms::Turned(const std::string& unit) const {
  const char32_t c = UnitCodePoint(unit);
  if (AlwaysTurned(c))
    return true;
  const char32_t form = VerticalPresentationForm(c);
  return form != 0 && !UprightWithoutForm(c) && !fontHasGlyph_(form);
}

bool TurnUnits(const VerticalForms& forms, int fontSize,
               MetricsSource* metrics, std::vector<Annotation>* annotations) {
  bool sizeSet = false;
  for (Annotation& a : *annotations) {
    if (a.turned || !forms.Turned(a.text))
      continue;
    if (!sizeSet) {
      metrics->SetFontSize(fontSize);
      sizeSet = true;
    }
    FontMetrics m;
    if (!metrics->Measure(a.text, &m))
      return false;
    // Upright, the unit's origin is (bx2 - bx1) / 2 left of the column's
    // middle and its ink top, by2 above the origin, is the top of the
    // cell's glyph area.
    const double middle = a.x + (m.bx2 - m.bx1) * 0.5;
    const double top = a.y - m.by2;
    // Turned clockwise, what lay above the baseline lies right of it: the
    // ascender reaches to x + ascender, the descender to x + descender.
    a.x = middle - (m.ascender + m.descender) * 0.5;
    a.y = top;
    a.turned = true;
  }
  return true;
}
