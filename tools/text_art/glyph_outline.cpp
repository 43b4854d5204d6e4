#include "tools/text_art/glyph_outline.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace {

struct Walk {
  GlyphOutline* outline;
  float scale;  // ems per font unit
  float slant;
  float step;
  D3DXVECTOR2 last;

  D3DXVECTOR2 Point(const FT_Vector* v) const {
    const float x = static_cast<float>(v->x) * scale, y = static_cast<float>(v->y) * scale;
    return {x + slant * y, y};
  }
  void Add(const D3DXVECTOR2& p) {
    std::vector<D3DXVECTOR2>& contour = outline->contours.back();
    if (contour.empty() || contour.back().x != p.x || contour.back().y != p.y) contour.push_back(p);
    last = p;
  }
  // Lines enough that none is much longer than the step, for a curve whose control polygon is
  // `length` long.
  int Pieces(float length) const {
    return std::clamp(static_cast<int>(std::ceil(length / step)), 1, 64);
  }
};

Walk& Of(void* user) {
  return *static_cast<Walk*>(user);
}

int MoveTo(const FT_Vector* to, void* user) {
  Walk& walk = Of(user);
  walk.outline->contours.emplace_back();
  walk.Add(walk.Point(to));
  return 0;
}

int LineTo(const FT_Vector* to, void* user) {
  Walk& walk = Of(user);
  walk.Add(walk.Point(to));
  return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  Walk& walk = Of(user);
  const D3DXVECTOR2 p0 = walk.last, p1 = walk.Point(control), p2 = walk.Point(to);
  const D3DXVECTOR2 a = p1 - p0, b = p2 - p1;
  const int n = walk.Pieces(std::hypot(a.x, a.y) + std::hypot(b.x, b.y));
  for (int i = 1; i <= n; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(n), u = 1.0f - t;
    walk.Add(p0 * (u * u) + p1 * (2.0f * u * t) + p2 * (t * t));
  }
  return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  Walk& walk = Of(user);
  const D3DXVECTOR2 p0 = walk.last, p1 = walk.Point(c1), p2 = walk.Point(c2), p3 = walk.Point(to);
  const D3DXVECTOR2 a = p1 - p0, b = p2 - p1, c = p3 - p2;
  const int n = walk.Pieces(std::hypot(a.x, a.y) + std::hypot(b.x, b.y) + std::hypot(c.x, c.y));
  for (int i = 1; i <= n; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(n), u = 1.0f - t;
    walk.Add(p0 * (u * u * u) + p1 * (3.0f * u * u * t) + p2 * (3.0f * u * t * t) +
             p3 * (t * t * t));
  }
  return 0;
}

}  // namespace

bool LoadGlyphOutline(const TextFont& font, uint32_t index, GlyphOutline& out, float step) {
  out = GlyphOutline{};
  FT_Face face = font.Face();
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
      face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
    return false;
  FT_Outline& outline = face->glyph->outline;
  out.evenOdd = (outline.flags & FT_OUTLINE_EVEN_ODD_FILL) != 0;
  out.fillsRight = FT_Outline_Get_Orientation(&outline) != FT_ORIENTATION_POSTSCRIPT;
  Walk walk{
      &out, 1.0f / font.UnitsPerEm(), font.Oblique() ? TextFont::kObliqueSlant : 0.0f, step, {}};
  FT_Outline_Funcs funcs{};
  funcs.move_to = MoveTo;
  funcs.line_to = LineTo;
  funcs.conic_to = ConicTo;
  funcs.cubic_to = CubicTo;
  if (FT_Outline_Decompose(&outline, &funcs, &walk) != 0) return false;

  // Closed contours: drop a last point that repeats the first, and contours without area.
  auto& contours = out.contours;
  for (auto& contour : contours) {
    if (contour.size() > 1 && contour.back().x == contour.front().x &&
        contour.back().y == contour.front().y)
      contour.pop_back();
  }
  contours.erase(std::remove_if(contours.begin(), contours.end(),
                                [](const auto& contour) { return contour.size() < 3; }),
                 contours.end());
  if (contours.empty()) return false;
  out.minX = out.minY = INFINITY;
  out.maxX = out.maxY = -INFINITY;
  for (const auto& contour : contours) {
    for (const D3DXVECTOR2& p : contour) {
      out.minX = std::min(out.minX, p.x), out.maxX = std::max(out.maxX, p.x);
      out.minY = std::min(out.minY, p.y), out.maxY = std::max(out.maxY, p.y);
    }
  }
  return true;
}
