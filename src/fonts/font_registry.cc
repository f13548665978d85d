#include "fonts/font_registry.h"

#include <rapidjson/document.h>

#include "util/file.h"
#include "util/json_input.h"
#include "util/log.h"

FontMap kFontInfoMaps;

const char* UnsafeFontPathReason(const std::string& path) {
  if (!path.empty() && (path[0] == '@' || path[0] == '-' || path[0] == '^'))
    return "begins with '@', '-' or '^'";
  for (unsigned char c : path) {
    if (c == '\'' || c == '\\')
      return "contains a quote or a backslash";
    if (c < 0x20 || c == 0x7F)
      return "contains a control character";
  }
  return nullptr;
}

namespace {

// The font list's text parsed; false unless it is one JSON object.
bool ParseFontList(const std::string& text, rapidjson::Document* doc) {
  ParseInputJson(text, doc);
  return !doc->HasParseError() && doc->IsObject();
}

void AddFontMembers(const rapidjson::Document& doc, FontMap* fonts,
                    std::vector<std::string>* notes) {
  for (auto it = doc.MemberBegin(); it != doc.MemberEnd(); ++it) {
    // Names and paths end at their first NUL, as C strings do.
    std::string name(it->name.GetString());
    if (!it->value.IsString()) {
      notes->push_back("Quillmark : font \"" + Printable(name) +
                       "\" left out: its value is not a string");
      continue;
    }
    std::string path(it->value.GetString());
    if (const char* reason = UnsafeFontPathReason(path)) {
      notes->push_back("Quillmark : font \"" + Printable(name) +
                       "\" left out: its path " + reason);
      continue;
    }
    fonts->emplace(std::move(name), std::move(path));  // first one counts
  }
}

}  // namespace

void AddFontList(const std::string& text, FontMap* fonts,
                 std::vector<std::string>* notes) {
  rapidjson::Document doc;
  if (ParseFontList(text, &doc))
    AddFontMembers(doc, fonts, notes);
}

void ReadFontList(const std::string& path, FontMap* fonts) {
  std::string text;
  if (!ReadFileContent(path.c_str(), text))
    return;
  rapidjson::Document doc;
  if (!ParseFontList(text, &doc)) {
    QMLog("%s",
          DescribeParseFailure(path, text, doc, JsonRoot::kObject).c_str());
    return;
  }
  std::vector<std::string> notes;
  AddFontMembers(doc, fonts, &notes);
  for (const std::string& note : notes)
    QMLog("%s", note.c_str());
}

std::string FontFor(const FontMap& fonts, const std::string& name) {
  auto it = fonts.find(name);
  if (it == fonts.end())
    it = fonts.begin();
  return it->second;
}

void LoadFontFiles(std::string path) { ReadFontList(path, &kFontInfoMaps); }

std::string GetFont(const char* name) { return FontFor(kFontInfoMaps, name); }
