// The text art tools on the DejaVu faces of fonts-dejavu-core.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <utility>

#include "tools/text_art/text_mesh.h"
#include "tools/text_art/text_picture.h"

namespace {

class TextArtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const FaceChoice choice = ChooseDejaVuFace(u"Arial", 400, false);
    if (!std::filesystem::exists(choice.file))
      GTEST_SKIP() << choice.file << " is missing: install fonts-dejavu-core (tools/setup.sh)";
    std::string error;
    font_ = TextFont::Open(choice, &error);
    ASSERT_NE(font_, nullptr) << error;
  }

  std::unique_ptr<TextFont> font_;
};

struct MeshVertex {
  D3DXVECTOR3 position, normal;
};

std::vector<MeshVertex> Vertices(const GlyphMeshBlock& block) {
  std::vector<MeshVertex> vertices(block.vertexCount);
  std::memcpy(vertices.data(), block.vertices.data(), block.vertices.size());
  return vertices;
}

bool Inside(const D3DXVECTOR2& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b,
            const D3DXVECTOR3& c) {
  auto side = [&](const D3DXVECTOR3& u, const D3DXVECTOR3& v) {
    return (v.x - u.x) * (p.y - u.y) - (v.y - u.y) * (p.x - u.x);
  };
  const float s0 = side(a, b), s1 = side(b, c), s2 = side(c, a);
  return (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
}

TEST(FontFaces, StoredFaceNamesMapToTheDejaVuFamilyOfTheirKind) {
  struct Case {
    const char16_t* face;
    int weight;
    const char* file;
  };
  const Case cases[] = {
      {u"Arial", 400, "DejaVuSans.ttf"},
      {u"Tahoma", 700, "DejaVuSans-Bold.ttf"},
      {u"Times New Roman", 400, "DejaVuSerif.ttf"},
      {u"Georgia", 800, "DejaVuSerif-Bold.ttf"},
      {u"Microsoft Sans Serif", 400, "DejaVuSans.ttf"},
      {u"COURIER NEW", 600, "DejaVuSansMono-Bold.ttf"},
      {u"Consolas", 400, "DejaVuSansMono.ttf"},
      {u"", 0, "DejaVuSans.ttf"},
  };
  for (const Case& c : cases) {
    const FaceChoice choice = ChooseDejaVuFace(c.face, c.weight, false);
    EXPECT_EQ(choice.file, std::filesystem::path(kDejaVuDirectory) / c.file);
    EXPECT_FALSE(choice.oblique);
  }
  EXPECT_TRUE(ChooseDejaVuFace(u"Arial", 400, true).oblique) << "slanted from the upright face";
}

TEST_F(TextArtTest, KerningPullsAVTogether) {
  auto width = [&](bool kerning) {
    const auto glyphs = ShapeText(*font_, u"AV", 1000, kerning);
    EXPECT_EQ(glyphs.size(), 2u);
    return glyphs.back().x + glyphs.back().advance;
  };
  EXPECT_LT(width(true), width(false) - 10);
}

TEST_F(TextArtTest, APictureUsesAPowerOfTwoCanvasFromItsTopLeft) {
  TextPictureStyle style;
  style.pixelSize = 32;
  style.colour = 0xFF336699;
  const TextPicture picture = DrawTextPicture(*font_, u"Wave", style);
  EXPECT_EQ(picture.width & (picture.width - 1), 0u);
  EXPECT_EQ(picture.height & (picture.height - 1), 0u);
  EXPECT_GT(picture.usedWidth, 60u);
  EXPECT_LE(picture.usedWidth, picture.width);
  EXPECT_FLOAT_EQ(picture.UsedU(), float(picture.usedWidth) / float(picture.width));
  uint32_t covered = 0, outside = 0;
  for (uint32_t y = 0; y < picture.height; ++y) {
    for (uint32_t x = 0; x < picture.width; ++x) {
      const uint32_t pixel = picture.At(x, y);
      if ((pixel >> 24) == 0) continue;
      EXPECT_EQ(pixel & 0xFFFFFF, 0x336699u);
      ++covered;
      outside += x >= picture.usedWidth || y >= picture.usedHeight || x < style.padding ||
                 y < style.padding;
    }
  }
  EXPECT_GT(covered, 100u);
  EXPECT_EQ(outside, 0u) << "the ink lies inside the used part, within the padding";
  // The picture file holds the used part.
  const std::vector<uint8_t> dds = UsedPartAsDds(picture);
  ASSERT_GT(dds.size(), 128u);
  uint32_t height = 0, width = 0;
  std::memcpy(&height, dds.data() + 12, 4);
  std::memcpy(&width, dds.data() + 16, 4);
  EXPECT_EQ(width, picture.usedWidth);
  EXPECT_EQ(height, picture.usedHeight);
}

TEST_F(TextArtTest, TheLetterOKeepsItsHoleInPictureAndMesh) {
  TextPictureStyle style;
  style.pixelSize = 64;
  style.padding = 0;
  const TextPicture picture = DrawTextPicture(*font_, u"o", style);
  GlyphSet set;
  std::string error;
  ASSERT_TRUE(BuildTextMesh(*font_, u"o", 0.2f, set, &error)) << error;
  const D3DXVECTOR3 c1 = set.glyphBounds[0].corners[0].Value();
  const D3DXVECTOR3 c4 = set.glyphBounds[0].corners[3].Value();
  const D3DXVECTOR2 middle((c1.x + c4.x) / 2, (c1.y + c4.y) / 2);
  const D3DXVECTOR2 ring(c1.x + (c4.x - c1.x) * 0.04f, middle.y);
  const auto vertices = Vertices(set.mesh);
  int coverMiddle = 0, coverRing = 0;
  for (size_t f = 0; f < set.mesh.faceCount; ++f) {
    const D3DXVECTOR3& a = vertices[set.mesh.indices[3 * f]].position;
    const D3DXVECTOR3& b = vertices[set.mesh.indices[3 * f + 1]].position;
    const D3DXVECTOR3& c = vertices[set.mesh.indices[3 * f + 2]].position;
    if (a.z != 0 || b.z != 0 || c.z != 0) continue;  // the front cap only
    coverMiddle += Inside(middle, a, b, c);
    coverRing += Inside(ring, a, b, c);
  }
  EXPECT_EQ(coverMiddle, 0) << "the hole stays open";
  EXPECT_GE(coverRing, 1);

  // The picture: along the middle row the ink has a clear gap between its two strokes.
  const uint32_t y = picture.usedHeight / 2;
  auto ink = [&](uint32_t x) { return (picture.At(x, y) >> 24) > 128; };
  uint32_t left = 0, right = picture.usedWidth - 1;
  while (left < right && !ink(left))
    ++left;
  while (right > left && !ink(right))
    --right;
  ASSERT_LT(left + 4, right);
  EXPECT_LT(picture.At((left + right) / 2, y) >> 24, 10u);
}

TEST_F(TextArtTest, MeshesAreWatertightFacingOutwardsWithOneSubsetPerDrawnGlyph) {
  GlyphSet set;
  std::string error;
  ASSERT_TRUE(BuildTextMesh(*font_, u"Bo g%", 0.25f, set, &error)) << error;
  const GlyphMeshBlock& mesh = set.mesh;
  EXPECT_EQ(mesh.fvf, 0x012u);
  EXPECT_EQ(mesh.stride, 24u);
  EXPECT_TRUE(mesh.Drawable());
  ASSERT_EQ(set.glyphBounds.size(), 4u) << "the space draws nothing and has no subset";
  EXPECT_EQ(std::set<uint32_t>(mesh.attributes.begin(), mesh.attributes.end()),
            (std::set<uint32_t>{1, 2, 3, 4}));

  // Welded by position, every edge of a glyph is walked once each way: no gaps, no flaps.
  const auto vertices = Vertices(mesh);
  using Point = std::tuple<float, float, float>;
  std::map<Point, uint32_t> weld;
  auto id = [&](uint16_t index) {
    const D3DXVECTOR3& p = vertices[index].position;
    return weld.emplace(Point{p.x, p.y, p.z}, uint32_t(weld.size())).first->second;
  };
  std::map<std::tuple<uint32_t, uint32_t, uint32_t>, int> edges;  // glyph, from, to
  int inward = 0;
  for (size_t f = 0; f < mesh.faceCount; ++f) {
    const uint16_t* corner = &mesh.indices[3 * f];
    const uint32_t ids[3] = {id(corner[0]), id(corner[1]), id(corner[2])};
    for (int k = 0; k < 3; ++k)
      ++edges[{mesh.attributes[f], ids[k], ids[(k + 1) % 3]}];
    // The face's winding agrees with its vertices' normals.
    const D3DXVECTOR3 a = vertices[corner[0]].position, b = vertices[corner[1]].position,
                      c = vertices[corner[2]].position;
    const D3DXVECTOR3 e1 = b - a, e2 = c - a;
    const D3DXVECTOR3 n(e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z,
                        e1.x * e2.y - e1.y * e2.x);
    for (int k = 0; k < 3; ++k) {
      const D3DXVECTOR3& normal = vertices[corner[k]].normal;
      inward += n.x * normal.x + n.y * normal.y + n.z * normal.z < 0;
    }
  }
  EXPECT_EQ(inward, 0);
  int open = 0, doubled = 0;
  for (const auto& [edge, count] : edges) {
    const auto& [glyph, from, to] = edge;
    const auto back = edges.find({glyph, to, from});
    open += back == edges.end();
    doubled += count != 1;
  }
  EXPECT_EQ(open, 0);
  EXPECT_EQ(doubled, 0);

  // Bounds: each glyph's inside the text's; the caps at z = 0 and -depth.
  const D3DXVECTOR3 t1 = set.textBounds.corners[0].Value(), t4 = set.textBounds.corners[3].Value();
  for (const MediaQuad& glyph : set.glyphBounds) {
    EXPECT_GE(glyph.corners[0].Value().x, t1.x);
    EXPECT_LE(glyph.corners[3].Value().y, t4.y);
  }
  float minZ = 0, maxZ = -1;
  for (const MeshVertex& v : vertices)
    minZ = std::min(minZ, v.position.z), maxZ = std::max(maxZ, v.position.z);
  EXPECT_FLOAT_EQ(minZ, -0.25f);
  EXPECT_EQ(maxZ, 0.0f);
}

TEST_F(TextArtTest, ATextWithoutInkHasNoGlyphs) {
  GlyphSet set;
  ASSERT_TRUE(BuildTextMesh(*font_, u"  ", 0.1f, set));
  EXPECT_TRUE(set.glyphBounds.empty());
  EXPECT_EQ(set.mesh.faceCount, 0u);
  EXPECT_FALSE(set.mesh.Drawable());
}

}  // namespace
