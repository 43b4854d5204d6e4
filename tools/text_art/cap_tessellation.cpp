#include "tools/text_art/cap_tessellation.h"

#include <GL/glu.h>

#include <array>
#include <deque>
#include <utility>

namespace {

// A point handed to the tessellator: its coordinates and its number.
struct TessPoint {
  std::array<GLdouble, 3> xyz;
  uint32_t number;
};

struct Session {
  CapTriangles* out;
  std::deque<TessPoint> added;  // points made by the combine callback, kept at fixed addresses
  bool failed = false;
};

void GLAPIENTRY OnBegin(GLenum, void*) {}

void GLAPIENTRY OnVertex(void* point, void* session) {
  static_cast<Session*>(session)->out->triangles.push_back(static_cast<TessPoint*>(point)->number);
}

void GLAPIENTRY OnEnd(void*) {}

// With an edge-flag callback the tessellator gives separate triangles only.
void GLAPIENTRY OnEdgeFlag(GLboolean, void*) {}

void GLAPIENTRY OnCombine(GLdouble coords[3], void* /*neighbours*/[4], GLfloat /*weights*/[4],
                          void** result, void* data) {
  Session& session = *static_cast<Session*>(data);
  const uint32_t number = static_cast<uint32_t>(session.out->points.size());
  session.out->points.emplace_back(static_cast<float>(coords[0]), static_cast<float>(coords[1]));
  session.added.push_back({{coords[0], coords[1], 0.0}, number});
  *result = &session.added.back();
}

void GLAPIENTRY OnError(GLenum, void* session) {
  static_cast<Session*>(session)->failed = true;
}

template <class F>
_GLUfuncptr Callback(F f) {
  return reinterpret_cast<_GLUfuncptr>(f);
}

}  // namespace

bool TessellateCap(const GlyphOutline& outline, CapTriangles& out) {
  out = CapTriangles{};
  std::deque<TessPoint> given;
  for (const auto& contour : outline.contours) {
    for (const D3DXVECTOR2& p : contour) {
      given.push_back({{p.x, p.y, 0.0}, static_cast<uint32_t>(out.points.size())});
      out.points.push_back(p);
    }
  }
  GLUtesselator* tess = gluNewTess();
  if (tess == nullptr) return false;
  Session session{&out, {}};
  gluTessCallback(tess, GLU_TESS_BEGIN_DATA, Callback(OnBegin));
  gluTessCallback(tess, GLU_TESS_VERTEX_DATA, Callback(OnVertex));
  gluTessCallback(tess, GLU_TESS_END_DATA, Callback(OnEnd));
  gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, Callback(OnEdgeFlag));
  gluTessCallback(tess, GLU_TESS_COMBINE_DATA, Callback(OnCombine));
  gluTessCallback(tess, GLU_TESS_ERROR_DATA, Callback(OnError));
  gluTessProperty(tess, GLU_TESS_WINDING_RULE,
                  outline.evenOdd ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
  gluTessNormal(tess, 0.0, 0.0, 1.0);

  gluTessBeginPolygon(tess, &session);
  size_t next = 0;
  for (const auto& contour : outline.contours) {
    gluTessBeginContour(tess);
    for (size_t i = 0; i < contour.size(); ++i, ++next)
      gluTessVertex(tess, given[next].xyz.data(), &given[next]);
    gluTessEndContour(tess);
  }
  gluTessEndPolygon(tess);
  gluDeleteTess(tess);
  if (session.failed || out.triangles.size() % 3 != 0) return false;
  // Counter-clockwise whatever orientation the tessellator chose.
  for (size_t t = 0; t < out.triangles.size(); t += 3) {
    const D3DXVECTOR2 a = out.points[out.triangles[t]], b = out.points[out.triangles[t + 1]],
                      c = out.points[out.triangles[t + 2]];
    if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) < 0.0f)
      std::swap(out.triangles[t + 1], out.triangles[t + 2]);
  }
  return true;
}
