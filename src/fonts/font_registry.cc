#include "fonts/font_registry.h"

#include <rapidjson/document.h>

#include "util/file.h"
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

void AddFontList(const std::string& text, FontMap* fonts,
                 std::vector<std::string>* notes) {
  rapidjson::Document doc;
  // Iterative parsing: deep nesting cannot exhaust the stack.
  doc.Parse<rapidjson::kParseIterativeFlag>(text.c_str());
  if (doc.HasParseError() || !doc.IsObject())
    return;
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

void LoadFontFiles(std::string path) {
  std::string text;
  if (!ReadFileContent(path.c_str(), text))
    return;
  std::vector<std::string> notes;
  AddFontList(text, &kFontInfoMaps, &notes);
  for (const std::string& note : notes)
    QMLog("%s", note.c_str());
}

std::string GetFont(const char* name) {
  auto it = kFontInfoMaps.find(name);
  if (it == kFontInfoMaps.end())
    it = kFontInfoMaps.begin();
  return it->second;
}
