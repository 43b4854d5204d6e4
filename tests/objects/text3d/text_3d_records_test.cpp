// The 3D text's record through the writing stream: both versions, and glyph mesh blocks that
// cannot make a mesh.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/param/recording_control.h"
#include "objects/text3d/glyph_fixture.h"
#include "objects/text3d/text3d_fixture.h"
#include "objects/text3d/zkw_3d_tex.h"

namespace text3d_test {
namespace {

using Text3dRecordsTest = Text3dTest;

std::unique_ptr<ZKW_3DTex> Filled(GlyphSet glyphs = Boxes(2)) {
  auto t = std::make_unique<ZKW_3DTex>();
  t->position.SetValue(D3DXVECTOR3(1, 2, 3));
  t->depth.SetValue(50);
  t->ambient.SetValue(0x40);
  t->lightAngleB.SetValue(10);
  t->lightAngleA.SetValue(20);
  t->rotationAxis.SetValue(2);
  t->objectMotion.SetValue(3);
  t->objectAmplitude.SetValue(15);
  t->objectSpeed.SetValue(40);
  t->glyphMotion.SetValue(4);
  t->glyphLoop.SetValue(1);
  t->glyphAmplitude.SetValue(60);
  t->glyphSpeed.SetValue(150);
  t->glyphDelay.SetValue(120);
  t->glyphPeriod.SetValue(7);
  t->SetGlyphs(glyphs);
  t->arcAngle.SetValue(30);
  t->arcSide.SetValue(1);
  t->text.text.SetValue(u"3D");
  t->text.font.size.SetValue(24);
  t->name = u"three";
  return t;
}

std::vector<uint8_t> Record(const DS_IOF_Item& item) {
  return Written([&](DS_IOF_Archive& a) { item.Save(a); });
}

// Where the "ZKW_Text" record begins in a 3D text's record: its name as a stored wide string.
ptrdiff_t TextRecordAt(const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> name = {0xFF, 0xFE, 0xFF, 8};
  for (char16_t c : std::u16string_view(u"ZKW_Text"))
    name.insert(name.end(), {uint8_t(c), 0});
  const auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
  EXPECT_NE(at, bytes.end());
  return at - bytes.begin();
}

// The record of `text` as version 1 writes it: the arc's two fields left out.
std::vector<uint8_t> Version1(const ZKW_3DTex& text) {
  std::vector<uint8_t> bytes = Record(text);
  const ptrdiff_t at = TextRecordAt(bytes);
  bytes.erase(bytes.begin() + at - 8, bytes.begin() + at);
  // The version follows the class name "ZKW_3DTex": 4 bytes of header, 9 units.
  bytes[4 + 18] = 1;
  return bytes;
}

TEST_F(Text3dRecordsTest, Version2ReadsBackWhatItWritesAndMakesTheMesh) {
  const auto written = Record(*Filled());
  bool failed = true;
  uint64_t remaining = 1;
  auto read = ReadText<ZKW_3DTex>(written, &failed, &remaining);
  ASSERT_NE(read, nullptr);
  EXPECT_FALSE(failed);
  EXPECT_EQ(remaining, 0u);
  EXPECT_EQ(Record(*read), written);

  EXPECT_EQ(read->position.Value().z, 3.0f);
  EXPECT_FLOAT_EQ(read->Depth(), 0.201f);
  EXPECT_EQ(read->spare, 1);
  EXPECT_FLOAT_EQ(read->glyphSpeed.Scaled(), 1.5f);
  EXPECT_FLOAT_EQ(read->glyphDelay.Scaled(), 0.12f);
  EXPECT_FLOAT_EQ(read->glyphPeriod.Scaled(), 1.4f);
  EXPECT_EQ(read->arcAngle.Value(), 30u);
  EXPECT_EQ(read->arcSide.Value(), 1);
  EXPECT_EQ(read->text.font.size.Value(), 24u);
  ASSERT_TRUE(read->mesh) << "a drawable block makes the mesh";
  EXPECT_EQ(read->mesh->GetNumFaces(), 24u);
  EXPECT_EQ(read->mesh->AttributeTable().size(), 2u);
  EXPECT_EQ(read->glyphMatrices.size(), 2u);
}

TEST_F(Text3dRecordsTest, Version1HasNoArcAndIsWrittenBackAsVersion2) {
  auto text = Filled();
  const auto v1 = Version1(*text);
  ZKW_3DTex target;
  target.arcAngle.SetValue(45);
  target.arcSide.SetValue(1);
  RecordingControl arc("arc", nullptr, &target.arcAngle);
  ReadArchive source(v1);
  EXPECT_EQ(ReadBaseHeader(source.archive()), 1u);
  target.ReadBody(source.archive(), 1);
  EXPECT_FALSE(source.archive().Failed());
  EXPECT_EQ(source.Remaining(), 0u);
  EXPECT_EQ(target.arcAngle.Value(), 0u);
  EXPECT_EQ(arc.calls, 1) << "told, since it was not 0";
  EXPECT_EQ(target.arcSide.Value(), 0);
  EXPECT_EQ(target.name, u"three");

  text->arcAngle.SetValue(0);
  text->arcSide.SetValue(0);
  EXPECT_EQ(Record(target), Record(*text));
}

// A glyph set of two boxes with one change to its mesh block.
GlyphSet Damaged(const std::function<void(GlyphMeshBlock&)>& damage) {
  GlyphSet glyphs = Boxes(2);
  damage(glyphs.mesh);
  return glyphs;
}

TEST_F(Text3dRecordsTest, ABlockThatMakesNoMeshIsReadWholeAndKept) {
  struct Case {
    const char* what;
    std::function<void(GlyphMeshBlock&)> damage;
  };
  const Case cases[] = {
      {"a stride that is not the FVF's vertex size",
       [](GlyphMeshBlock& b) {
         b.stride = 28;
         b.vertices.resize(size_t(b.stride) * b.vertexCount);
       }},
      {"an FVF without position",
       [](GlyphMeshBlock& b) {
         b.fvf = gfx::Fvf::Normal;
         b.stride = 12;
         b.vertices.resize(size_t(b.stride) * b.vertexCount);
       }},
      {"an index past the vertices",
       [](GlyphMeshBlock& b) { b.indices[5] = uint16_t(b.vertexCount); }},
      {"no faces",
       [](GlyphMeshBlock& b) {
         b.faceCount = 0;
         b.indices.clear();
         b.attributes.clear();
       }},
      {"32-bit indices asked for",
       [](GlyphMeshBlock& b) { b.options |= gfx::MeshOption::Use32Bit; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto text = Filled(Damaged(c.damage));
    // A second record behind it shows that the stream stays in step.
    auto next = Filled();
    next->name = u"next";
    std::vector<uint8_t> bytes = Record(*text);
    const std::vector<uint8_t> second = Record(*next);
    bytes.insert(bytes.end(), second.begin(), second.end());

    ReadArchive source(bytes);
    std::unique_ptr<DS_ABObj_Constructor> first = ReadByName(source.archive(), GetObjectRegistry());
    std::unique_ptr<DS_ABObj_Constructor> after = ReadByName(source.archive(), GetObjectRegistry());
    EXPECT_FALSE(source.archive().Failed());
    EXPECT_EQ(source.Remaining(), 0u);
    auto* damaged = dynamic_cast<ZKW_3DTex*>(first.get());
    auto* intact = dynamic_cast<ZKW_3DTex*>(after.get());
    ASSERT_NE(damaged, nullptr);
    ASSERT_NE(intact, nullptr);
    const bool drawable = std::string(c.what) == "32-bit indices asked for";
    EXPECT_EQ(bool(damaged->mesh), drawable) << "indices are 16-bit whatever the options say";
    EXPECT_EQ(Record(*damaged), Record(*text)) << "nothing is lost";
    EXPECT_EQ(intact->name, u"next");
    EXPECT_TRUE(intact->mesh);
  }
}

TEST_F(Text3dRecordsTest, CountsPastTheBytesLeftFailTheStreamBeforeAnythingIsMade) {
  struct Case {
    const char* what;
    uint32_t faces, vertices, stride;
  };
  const Case cases[] = {
      {"huge F", 0x80000000u, 4, 24},
      {"10 F wrapping 32 bits to 4", 0x1999999Au, 0, 24},
      {"huge V", 1, 0xFFFFFFFFu, 24},
      {"huge S", 1, 4, 0xFFFFFFFFu},
      {"S x V + 10 F past 64 bits", 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GlyphSet glyphs;
    glyphs.mesh.faceCount = c.faces;
    glyphs.mesh.vertexCount = c.vertices;
    glyphs.mesh.stride = c.stride;
    glyphs.mesh.fvf = gfx::Fvf::Xyz | gfx::Fvf::Normal;
    bool failed = false;
    auto read = ReadText<ZKW_3DTex>(Record(*Filled(glyphs)), &failed);
    EXPECT_TRUE(failed);
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(read->mesh);
    EXPECT_TRUE(read->glyphs.mesh.vertices.empty());
    EXPECT_TRUE(read->glyphs.glyphBounds.empty());
  }
}

TEST_F(Text3dRecordsTest, AGlyphCountPastTheBytesLeftFailsTheStream) {
  std::vector<uint8_t> bytes = Version1(*Filled());
  // Version 1 ends with the two glyph bounds and then the ZKW_Text record; the count is the Dword
  // before the bounds.
  const size_t count = size_t(TextRecordAt(bytes)) - 2 * 48 - 4;
  ASSERT_EQ(bytes[count], 2);
  bytes[count + 3] = 0x10;
  bool failed = false;
  auto read = ReadText<ZKW_3DTex>(bytes, &failed);
  EXPECT_TRUE(failed);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->glyphs.glyphBounds.empty());
  EXPECT_TRUE(read->glyphMatrices.empty());
}

}  // namespace
}  // namespace text3d_test
