#include "render/text/glyph_shapes.h"

#include FT_OUTLINE_H

#include <cstdlib>

namespace {

struct Decomposer {
  std::vector<PathStep>* steps;
  bool open = false;
};

float U(FT_Pos v) { return static_cast<float>(v); }

int MoveTo(const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  if (d->open)
    d->steps->push_back({'Z', {0, 0, 0}, {0, 0, 0}});
  d->steps->push_back({'M', {U(to->x), 0, 0}, {U(to->y), 0, 0}});
  d->open = true;
  return 0;
}

int LineTo(const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  d->steps->push_back({'L', {U(to->x), 0, 0}, {U(to->y), 0, 0}});
  return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  d->steps->push_back(
      {'Q', {U(control->x), U(to->x), 0}, {U(control->y), U(to->y), 0}});
  return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to,
            void* user) {
  auto* d = static_cast<Decomposer*>(user);
  d->steps->push_back({'C',
                       {U(c1->x), U(c2->x), U(to->x)},
                       {U(c1->y), U(c2->y), U(to->y)}});
  return 0;
}

void LoadOutline(FT_Face face, uint32_t glyph, GlyphShape* shape) {
  if (FT_Load_Glyph(face, glyph,
                    FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP |
                        FT_LOAD_NO_HINTING) != 0 ||
      face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
    return;
  FT_Outline_Funcs funcs = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
  Decomposer d{&shape->outline};
  if (FT_Outline_Decompose(&face->glyph->outline, &funcs, &d) != 0) {
    shape->outline.clear();
    return;
  }
  if (d.open)
    shape->outline.push_back({'Z', {0, 0, 0}, {0, 0, 0}});
}

// The pixel size COLR glyphs are rendered at, and then scaled like a
// strike: one bitmap per glyph whatever the sizes a run goes through.
constexpr FT_UInt kColourPpem = 128;

// The largest strike: scaled down, it gives the sharpest glyph.
int LargestStrike(FT_Face face) {
  int best = 0;
  for (int i = 1; i < face->num_fixed_sizes; ++i)
    if (face->available_sizes[i].y_ppem > face->available_sizes[best].y_ppem)
      best = i;
  return best;
}

void LoadColour(EngineFont* font, uint32_t glyph, GlyphShape* shape) {
  FT_Face face = font->face.get();
  double ppem = kColourPpem;
  if (font->scalable) {
    if (FT_Set_Pixel_Sizes(face, 0, kColourPpem) != 0)
      return;
  } else {
    const int strike = LargestStrike(face);
    if (FT_Select_Size(face, strike) != 0)
      return;
    ppem = face->available_sizes[strike].y_ppem / 64.0;
  }
  if (FT_Load_Glyph(face, glyph, FT_LOAD_COLOR) != 0)
    return;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
      FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
    return;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_BGRA || bitmap.width == 0 ||
      bitmap.rows == 0 || ppem <= 0)
    return;
  ColourBitmap& out = shape->bitmap;
  out.width = static_cast<int>(bitmap.width);
  out.height = static_cast<int>(bitmap.rows);
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  out.ppem = ppem;
  out.rgba.resize(static_cast<size_t>(out.width) * out.height * 4);
  for (int row = 0; row < out.height; ++row) {
    const unsigned char* src = bitmap.buffer + row * bitmap.pitch;
    unsigned char* dst = &out.rgba[static_cast<size_t>(row) * out.width * 4];
    for (int col = 0; col < out.width; ++col, src += 4, dst += 4) {
      // Premultiplied BGRA to straight RGBA.
      const unsigned a = src[3];
      auto straight = [a](unsigned v) {
        if (a == 0)
          return static_cast<unsigned char>(0);
        const unsigned s = (v * 255 + a / 2) / a;
        return static_cast<unsigned char>(s > 255 ? 255 : s);
      };
      dst[0] = straight(src[2]);
      dst[1] = straight(src[1]);
      dst[2] = straight(src[0]);
      dst[3] = static_cast<unsigned char>(a);
    }
  }
  shape->colour = true;
}

}  // namespace

const GlyphShape& GlyphShapes::Get(EngineFont* font, uint32_t glyph) {
  auto key = std::make_pair(static_cast<const EngineFont*>(font), glyph);
  auto found = shapes_.find(key);
  if (found != shapes_.end())
    return found->second;
  GlyphShape& shape = shapes_[key];
  if (font->colour)
    LoadColour(font, glyph, &shape);
  if (!shape.colour && font->scalable)
    LoadOutline(font->face.get(), glyph, &shape);
  return shape;
}
