#include "tools/text_art/text_mesh.h"

#include <cmath>
#include <cstring>

#include "platform/gfx/fvf.h"
#include "platform/gfx/mesh/fvf_mesh.h"
#include "tools/text_art/cap_tessellation.h"
#include "tools/text_art/glyph_outline.h"

namespace {

// Neighbouring wall edges whose directions differ by less than this share a normal.
constexpr float kSmoothCos = 0.77f;  // about 40 degrees

struct Vertex {
  D3DXVECTOR3 position, normal;
};
static_assert(sizeof(Vertex) == 24);

struct MeshBuilder {
  std::vector<Vertex> vertices;
  std::vector<uint32_t> indices;
  std::vector<uint32_t> attributes;

  uint32_t Add(const D3DXVECTOR3& p, const D3DXVECTOR3& n) {
    vertices.push_back({p, n});
    return static_cast<uint32_t>(vertices.size() - 1);
  }
  void Face(uint32_t a, uint32_t b, uint32_t c, uint32_t attribute) {
    indices.insert(indices.end(), {a, b, c});
    attributes.push_back(attribute);
  }
};

D3DXVECTOR2 Outward(const D3DXVECTOR2& from, const D3DXVECTOR2& to, bool fillsRight) {
  D3DXVECTOR2 d = to - from;
  const float length = std::hypot(d.x, d.y);
  if (length > 0.0f) d *= 1.0f / length;
  // The filled side is to the right of a TrueType edge, so outside is to its left.
  return fillsRight ? D3DXVECTOR2(-d.y, d.x) : D3DXVECTOR2(d.y, -d.x);
}

void AddCaps(MeshBuilder& mesh, const CapTriangles& cap, const D3DXVECTOR2& at, float depth,
             uint32_t attribute) {
  const uint32_t front = static_cast<uint32_t>(mesh.vertices.size());
  for (const D3DXVECTOR2& p : cap.points)
    mesh.Add(D3DXVECTOR3(p.x + at.x, p.y + at.y, 0.0f), D3DXVECTOR3(0, 0, 1));
  const uint32_t back = static_cast<uint32_t>(mesh.vertices.size());
  for (const D3DXVECTOR2& p : cap.points)
    mesh.Add(D3DXVECTOR3(p.x + at.x, p.y + at.y, -depth), D3DXVECTOR3(0, 0, -1));
  for (size_t t = 0; t < cap.triangles.size(); t += 3) {
    const uint32_t a = cap.triangles[t], b = cap.triangles[t + 1], c = cap.triangles[t + 2];
    mesh.Face(front + a, front + b, front + c, attribute);
    mesh.Face(back + a, back + c, back + b, attribute);
  }
}

void AddWalls(MeshBuilder& mesh, const GlyphOutline& outline, const D3DXVECTOR2& at, float depth,
              uint32_t attribute) {
  for (const auto& contour : outline.contours) {
    const size_t n = contour.size();
    std::vector<D3DXVECTOR2> edgeNormal(n);  // of the edge from point i to point i + 1
    for (size_t i = 0; i < n; ++i)
      edgeNormal[i] = Outward(contour[i], contour[(i + 1) % n], outline.fillsRight);
    // The normal of edge i at its start and at its end: shared with the neighbouring edge
    // where the outline bends gently.
    auto blended = [&](size_t edge, size_t other) {
      const D3DXVECTOR2 a = edgeNormal[edge], b = edgeNormal[other];
      if (a.x * b.x + a.y * b.y < kSmoothCos) return a;
      D3DXVECTOR2 sum = a + b;
      const float length = std::hypot(sum.x, sum.y);
      return length > 0.0f ? sum * (1.0f / length) : a;
    };
    for (size_t i = 0; i < n; ++i) {
      const size_t j = (i + 1) % n;
      const D3DXVECTOR2 p = contour[i] + at, q = contour[j] + at;
      const D3DXVECTOR2 np = blended(i, (i + n - 1) % n), nq = blended(i, j);
      const D3DXVECTOR3 startNormal(np.x, np.y, 0.0f), endNormal(nq.x, nq.y, 0.0f);
      const uint32_t pf = mesh.Add(D3DXVECTOR3(p.x, p.y, 0.0f), startNormal);
      const uint32_t qf = mesh.Add(D3DXVECTOR3(q.x, q.y, 0.0f), endNormal);
      const uint32_t qb = mesh.Add(D3DXVECTOR3(q.x, q.y, -depth), endNormal);
      const uint32_t pb = mesh.Add(D3DXVECTOR3(p.x, p.y, -depth), startNormal);
      // Counter-clockwise seen from outside, whichever side the outline fills.
      if (outline.fillsRight) {
        mesh.Face(pf, qf, qb, attribute);
        mesh.Face(pf, qb, pb, attribute);
      } else {
        mesh.Face(pf, qb, qf, attribute);
        mesh.Face(pf, pb, qb, attribute);
      }
    }
  }
}

// The quad of a box from (x0, y0) to (x1, y1).
void SetBounds(MediaQuad& quad, float x0, float y0, float x1, float y1) {
  quad.SetRect(x1 - x0, y1 - y0, D3DXVECTOR3((x0 + x1) * 0.5f, (y0 + y1) * 0.5f, 0.0f));
}

}  // namespace

bool BuildTextMesh(const TextFont& font, std::u16string_view text, float depth, GlyphSet& out,
                   std::string* error, bool kerning) {
  auto fail = [&](const std::string& reason) {
    if (error != nullptr) *error = reason;
    return false;
  };
  MeshBuilder mesh;
  out.glyphBounds.clear();
  float x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  for (const ShapedGlyph& glyph : ShapeText(font, text, 1.0f, kerning)) {
    GlyphOutline outline;
    if (!LoadGlyphOutline(font, glyph.index, outline)) continue;
    CapTriangles cap;
    if (!TessellateCap(outline, cap))
      return fail("glyph " + std::to_string(glyph.index) + " cannot be cut into triangles");
    const uint32_t attribute = static_cast<uint32_t>(out.glyphBounds.size()) + 1;
    const D3DXVECTOR2 at(glyph.x, glyph.y);
    AddCaps(mesh, cap, at, depth, attribute);
    AddWalls(mesh, outline, at, depth, attribute);
    SetBounds(out.glyphBounds.emplace_back(), outline.minX + at.x, outline.minY + at.y,
              outline.maxX + at.x, outline.maxY + at.y);
    x0 = std::min(x0, outline.minX + at.x), y0 = std::min(y0, outline.minY + at.y);
    x1 = std::max(x1, outline.maxX + at.x), y1 = std::max(y1, outline.maxY + at.y);
  }
  if (mesh.vertices.size() > 0xFFFF)
    return fail(std::to_string(mesh.vertices.size()) + " vertices pass 16-bit indices");
  if (out.glyphBounds.empty()) x0 = y0 = x1 = y1 = 0.0f;
  SetBounds(out.textBounds, x0, y0, x1, y1);

  GlyphMeshBlock& block = out.mesh;
  block.faceCount = static_cast<uint32_t>(mesh.attributes.size());
  block.vertexCount = static_cast<uint32_t>(mesh.vertices.size());
  block.options = gfx::MeshOption::Managed;
  block.fvf = gfx::Fvf::Xyz | gfx::Fvf::Normal;
  block.stride = sizeof(Vertex);
  block.vertices.resize(mesh.vertices.size() * sizeof(Vertex));
  if (!mesh.vertices.empty())
    std::memcpy(block.vertices.data(), mesh.vertices.data(), block.vertices.size());
  block.indices.assign(mesh.indices.begin(), mesh.indices.end());
  block.attributes = std::move(mesh.attributes);
  return true;
}
