#include "job/job_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "fonts/font_registry.h"
#include "util/log.h"
#include "util/numeric.h"

namespace {

using rapidjson::Value;

// A JSON integer, or a whole-valued number such as 48.0, within 32 bits.
bool ReadInt32(const Value& v, int* out) {
  if (v.IsInt()) {
    *out = v.GetInt();
    return true;
  }
  if (!v.IsNumber())
    return false;
  double d = v.GetDouble();
  if (d != std::trunc(d) || d < -2147483648.0 || d > 2147483647.0)
    return false;
  *out = static_cast<int>(d);
  return true;
}

// A string, up to its first NUL.
bool ReadString(const Value& v, std::string* out) {
  if (!v.IsString())
    return false;
  *out = v.GetString();
  return true;
}

// Any JSON number, rounded to float.
bool ReadFloat(const Value& v, float* out) {
  if (!v.IsNumber())
    return false;
  *out = NarrowToFloat(v.GetDouble());
  return true;
}

// trunc(float(value) x scale), the product in single precision. False when
// the result does not fit an int.
bool Scale(int value, float scale, int* out) {
  float product = static_cast<float>(value) * scale;
  if (!(std::fabs(product) < 2147483648.0f))
    return false;
  *out = static_cast<int>(product);
  return true;
}

// A BCP 47 tag in its plain form: subtags of 1 to 8 letters or digits
// joined by hyphens, the first of 2 to 8 letters (or "x" or "i").
bool IsLanguageTag(const char* tag, size_t length) {
  if (length == 0 || length > 64)
    return false;
  size_t start = 0;
  bool first = true;
  for (size_t i = 0; i <= length; ++i) {
    if (i < length && tag[i] != '-') {
      const char c = tag[i];
      const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
      if (!letter && !(c >= '0' && c <= '9' && !first))
        return false;
      continue;
    }
    const size_t n = i - start;
    if (n == 0 || n > 8)
      return false;
    if (first && n == 1 && tag[start] != 'x' && tag[start] != 'X' &&
        tag[start] != 'i' && tag[start] != 'I')
      return false;
    first = false;
    start = i + 1;
  }
  return true;
}

int MapAlignment(int align) {
  if (align == 1)
    return kAlignEnd;
  if (align == 2)
    return kAlignCentre;
  return kAlignStart;
}

struct CanvasReader {
  CanvasRead* read;
  TextInfo* info;
  const FontMap* fonts;  // the names "fallback" may use; null: any
  const char* overflowKey = nullptr;  // first key whose scaling overflowed

  void Ignore(const char* key, const char* why) {
    read->ignored.push_back({key, why});
  }

  void String(const char* key, const Value& v, std::string* field) {
    if (!ReadString(v, field))
      Ignore(key, "not a string");
  }

  void Colour(const char* key, const Value& v, std::string* field) {
    if (!ReadString(v, field)) {
      Ignore(key, "not a string");
      return;
    }
    std::vector<std::string>& keys = read->colourKeys;
    if (std::find(keys.begin(), keys.end(), key) == keys.end())
      keys.push_back(key);
  }

  bool Int(const char* key, const Value& v, int* out) {
    if (ReadInt32(v, out))
      return true;
    Ignore(key, "not a whole number in the 32-bit range");
    return false;
  }

  void ScaledInt(const char* key, const Value& v, int* field) {
    int raw;
    if (Int(key, v, &raw) && !Scale(raw, info->scale, field))
      Overflow(key);
  }

  void Overflow(const char* key) {
    if (overflowKey == nullptr)
      overflowKey = key;
  }

  void Area(const Value& v) {
    int edges[4];
    bool ok = v.IsArray() && v.Size() >= 4;
    for (rapidjson::SizeType i = 0; ok && i < 4; ++i)
      ok = ReadInt32(v[i], &edges[i]);
    if (!ok) {
      Ignore("area", "not four whole numbers in the 32-bit range");
      return;
    }
    info->areaX = static_cast<float>(edges[0]);
    info->areaY = static_cast<float>(edges[1]);
    info->areaWidth = static_cast<float>(edges[2]);
    info->areaHeight = static_cast<float>(edges[3]);
  }

  void Apply(const Value& name, const Value& v) {
    // Names match exactly: "size" followed by an escaped NUL is not "size".
    auto is = [&name](const char* key) {
      return name.GetStringLength() == std::strlen(key) &&
             std::memcmp(name.GetString(), key, name.GetStringLength()) == 0;
    };
    const char* key = name.GetString();
    int n;
    if (is("default")) {
      String(key, v, &info->text);
    } else if (is("font")) {
      String(key, v, &info->fontName);
    } else if (is("size")) {
      ScaledInt(key, v, &info->fontSize);
    } else if (is("align")) {
      if (Int(key, v, &n))
        info->alignment = MapAlignment(n);
    } else if (is("line_height")) {
      ScaledInt(key, v, &info->lineHeight);
    } else if (is("fill")) {
      Colour(key, v, &info->fillColor);
    } else if (is("background")) {
      Colour(key, v, &info->backgroundColor);
    } else if (is("area")) {
      Area(v);
    } else if (is("shadow")) {
      Colour(key, v, &info->shadowColor);
    } else if (is("s_size")) {
      Int(key, v, &info->shadowSize);
    } else if (is("s_dist")) {
      Int(key, v, &info->shadowDistance);
    } else if (is("s_angle")) {
      Int(key, v, &info->shadowAngle);
    } else if (is("s_alpha")) {
      if (!ReadFloat(v, &info->shadowAlpha))
        Ignore(key, "not a number");
    } else if (is("stroke")) {
      Colour(key, v, &info->strokeColor);
    } else if (is("width")) {
      if (Int(key, v, &n))
        info->strokeWidth = static_cast<float>(n);
    } else if (is("strokeOverFill")) {
      info->strokeOverFill = v.IsTrue();  // anything but true gives false
    } else if (is("adjustToFit")) {
      info->adjustToFit = v.IsTrue();
    } else if (is("ignoreLineHeight")) {
      info->ignoreLineHeight = v.IsTrue();
    } else if (is("scale")) {
      float s;
      if (!ReadFloat(v, &s)) {
        Ignore(key, "not a number");
        return;
      }
      info->scale = s;
      if (!Scale(info->fontSize, s, &info->fontSize) ||
          !Scale(info->lineHeight, s, &info->lineHeight))
        Overflow(key);
    } else if (is("direction")) {
      Int(key, v, &info->direction);
    } else if (is("wrap")) {
      if (v.IsString() && v.GetStringLength() == 4 &&
          std::memcmp(v.GetString(), "word", 4) == 0)
        info->wrapWords = true;
      else
        Ignore(key, "not \"word\"");
    } else if (is("valign")) {
      if (ReadInt32(v, &n) && n >= 0 && n <= 2)
        info->blockAlign = n;
      else
        Ignore(key, "not 0, 1 or 2");
    } else if (is("vertical_forms")) {
      if (v.IsBool())
        info->verticalForms = v.IsTrue();
      else
        Ignore(key, "not true or false");
    } else if (is("min_size")) {
      // A size in pixels, as drawn: "scale" does not change it.
      if (ReadInt32(v, &n) && n >= kMinFontSize)
        info->minFontSize = n;
      else
        Ignore(key, "not a whole number of 5 or more");
    } else if (is("shape")) {
      if (v.IsBool())
        info->shapeText = v.IsTrue();
      else
        Ignore(key, "not true or false");
    } else if (is("fallback")) {
      Fallback(v);
    } else if (is("bidi")) {
      if (v.IsString() && std::strcmp(v.GetString(), "ltr") == 0 &&
          v.GetStringLength() == 3)
        info->bidi = kBidiLtr;
      else if (v.IsString() && std::strcmp(v.GetString(), "rtl") == 0 &&
               v.GetStringLength() == 3)
        info->bidi = kBidiRtl;
      else
        Ignore(key, "not \"ltr\" or \"rtl\"");
    } else if (is("lang")) {
      if (v.IsString() && IsLanguageTag(v.GetString(), v.GetStringLength()))
        info->language = v.GetString();
      else
        Ignore(key, "not a BCP 47 language tag");
    } else {
      read->unknownUiKeys.emplace_back(name.GetString(), name.GetStringLength());
    }
  }

  // "fallback": a list of font names, each of them in the font list. Any
  // list, even an empty one, asks for the text engine; a name that is not a
  // registered font is left out with a word, the others kept in order.
  void Fallback(const Value& v) {
    if (!v.IsArray()) {
      Ignore("fallback", "not a list of font names");
      return;
    }
    info->fallbackFonts.clear();
    info->shapeText = true;
    for (rapidjson::SizeType i = 0; i < v.Size(); ++i) {
      const Value& name = v[i];
      if (!name.IsString()) {
        Ignore("fallback", "an entry is not a string");
        continue;
      }
      std::string font(name.GetString(), name.GetStringLength());
      if (fonts != nullptr && fonts->count(font) == 0) {
        read->ignored.push_back(
            {"fallback", "font \"" + Printable(font.substr(0, 120)) +
                           "\" is not in the font list"});
        continue;
      }
      info->fallbackFonts.push_back(std::move(font));
    }
  }

  // The key whose value is beyond kMaxMagnitude, or nullptr.
  const char* OutOfRangeKey() const {
    if (overflowKey != nullptr)
      return overflowKey;
    if (std::abs(info->fontSize) > kMaxMagnitude)
      return "size";
    if (std::abs(info->lineHeight) > kMaxMagnitude)
      return "line_height";
    if (std::fabs(info->strokeWidth) > kMaxMagnitude)
      return "width";
    if (std::abs(info->shadowSize) > kMaxMagnitude)
      return "s_size";
    if (std::abs(info->shadowDistance) > kMaxMagnitude)
      return "s_dist";
    return nullptr;
  }
};

// The first member named `name`, or nullptr.
const Value* Find(const Value& object, const char* name) {
  auto it = object.FindMember(name);
  return it == object.MemberEnd() ? nullptr : &it->value;
}

}  // namespace

bool ParseJob(const std::string& text, rapidjson::Document* doc) {
  ParseInputJson(text, doc);
  return !doc->HasParseError() && doc->IsArray();
}

CanvasRead ReadCanvas(const Value& canvas, const Setting& flags, float scale,
                      const JobDefaults& defaults, const FontMap* fonts) {
  CanvasRead read;
  if (!canvas.IsObject())
    return read;
  const Value* size = Find(canvas, "size");
  const Value* ui = Find(canvas, "ui");
  const Value* output = Find(canvas, "output");
  if (size == nullptr || !size->IsArray() || ui == nullptr ||
      !ui->IsObject() || output == nullptr || !output->IsString())
    return read;
  read.isCanvas = true;
  read.info.outputPath = output->GetString();
  for (auto it = canvas.MemberBegin(); it != canvas.MemberEnd(); ++it) {
    std::string name(it->name.GetString(), it->name.GetStringLength());
    if (name != "size" && name != "ui" && name != "output")
      read.unknownCanvasKeys.push_back(name);
  }

  char reason[160];
  int width, height;
  if (size->Size() < 2 || !ReadInt32((*size)[0], &width) ||
      !ReadInt32((*size)[1], &height)) {
    read.skipReason = "\"size\" needs two whole numbers in the 32-bit range";
    return read;
  }
  if (width <= 0 || height <= 0) {
    snprintf(reason, sizeof(reason), "\"size\" %d x %d is not positive",
             width, height);
    read.skipReason = reason;
    return read;
  }
  if (width > kMaxCanvasSide || height > kMaxCanvasSide) {
    snprintf(reason, sizeof(reason),
             "\"size\" %d x %d is larger than the limit of %d pixels a side",
             width, height, kMaxCanvasSide);
    read.skipReason = reason;
    return read;
  }

  TextInfo* info = &read.info;
  info->canvasWidth = width;
  info->canvasHeight = height;
  info->adjustToFit = flags.adjustToFit;
  info->ignoreLineHeight = flags.ignoreLineHeight;
  info->scale = scale;
  info->wrapWords = defaults.wrapWords;
  info->blockAlign = defaults.blockAlign;
  info->verticalForms = defaults.verticalForms;
  info->shapeText = defaults.shapeText;

  CanvasReader reader{&read, info, fonts};
  for (auto it = ui->MemberBegin(); it != ui->MemberEnd(); ++it)
    reader.Apply(it->name, it->value);
  if (const char* key = reader.OutOfRangeKey()) {
    snprintf(reason, sizeof(reason),
             "\"%s\" gives a value beyond the limit of %d", key,
             kMaxMagnitude);
    read.skipReason = reason;
  }
  return read;
}

std::vector<std::string> ReadingMessages(int index, const CanvasRead& read) {
  std::vector<std::string> lines;
  char prefix[64];
  snprintf(prefix, sizeof(prefix), "Quillmark : canvas %d", index);
  for (const IgnoredMember& member : read.ignored)
    lines.push_back(std::string(prefix) + ": \"ui\" key \"" + member.key +
                    "\" ignored: " + member.why);
  if (!read.skipReason.empty())
    lines.push_back(std::string(prefix) + " skipped: " + read.skipReason);
  return lines;
}
