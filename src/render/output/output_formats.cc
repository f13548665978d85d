#include "render/output/output_formats.h"

#include <cctype>

namespace {

struct OutputFormat {
  const char* name;    // as an extension or prefix names it
  const char* format;  // ImageMagick's name
};

constexpr OutputFormat kOutputFormats[] = {
    {"PNG", "PNG"},   {"JPG", "JPEG"}, {"JPEG", "JPEG"}, {"WEBP", "WEBP"},
    {"TIF", "TIFF"},  {"TIFF", "TIFF"}, {"GIF", "GIF"},  {"BMP", "BMP"},
};

// ImageMagick's PNG sub-formats, named only by a prefix ("png32:out.png"):
// one pixel type for every image, whatever its colours.
constexpr OutputFormat kPrefixFormats[] = {
    {"PNG8", "PNG8"},   {"PNG24", "PNG24"}, {"PNG32", "PNG32"},
    {"PNG48", "PNG48"}, {"PNG64", "PNG64"},
};

}  // namespace

const char* OutputFormatFor(const std::string& name) {
  for (const OutputFormat& f : kOutputFormats)
    if (name == f.name)
      return f.format;
  return nullptr;
}

const char* PrefixFormatFor(const std::string& name) {
  for (const OutputFormat& f : kPrefixFormats)
    if (name == f.name)
      return f.format;
  return OutputFormatFor(name);
}

std::string OutputFormatNames() {
  std::string names;
  for (const OutputFormat& f : kOutputFormats) {
    if (!names.empty())
      names += ", ";
    for (const char* c = f.name; *c; ++c)
      names += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  }
  return names;
}

std::string OutputFormatPattern() {
  std::string pattern = "{";
  for (const OutputFormat& f : kOutputFormats) {
    if (pattern.size() > 1)
      pattern += ',';
    pattern += f.name;
  }
  for (const OutputFormat& f : kPrefixFormats)
    pattern += std::string(",") + f.name;
  return pattern + "}";
}

std::string FormatPrefixOf(const std::string& path) {
  const size_t colon = path.find(':');
  if (colon == std::string::npos || colon == 0)
    return "";
  for (size_t i = 0; i < colon; ++i)
    if (!std::isalnum(static_cast<unsigned char>(path[i])))
      return "";
  return path.substr(0, colon);
}

std::string OutputFileName(const std::string& path) {
  const std::string prefix = FormatPrefixOf(path);
  const std::string file =
      prefix.empty() ? path : path.substr(prefix.size() + 1);
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}
