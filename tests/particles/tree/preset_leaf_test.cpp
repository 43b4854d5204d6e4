#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/crt_rand.h"
#include "core/link/ds_named_file_link.h"
#include "particles/behaviour/sources/parent_sources.h"
#include "particles/tree/preset/party_balloon.h"
#include "particles/tree/preset/pstree_leaf.h"
#include "particles/tree/preset/pstree_root.h"
#include "player/resources/zkw_texture_src.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

std::unique_ptr<ZKW_PSTree_Leaf> ReadLeaf(const std::vector<uint8_t>& bytes, bool* whole) {
  std::unique_ptr<ZKW_IOF_Item> item = ReadItem(bytes, whole);
  auto* leaf = dynamic_cast<ZKW_PSTree_Leaf*>(item.get());
  if (leaf != nullptr) item.release();
  return std::unique_ptr<ZKW_PSTree_Leaf>(leaf);
}

// A leaf record of an older version, written field by field from `leaf` as that version held it.
std::vector<uint8_t> OldLeaf(const ZKW_PSTree_Leaf& leaf, uint32_t version) {
  return Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    WriteRecordHeader(a, u"ZKW_PSTree_Leaf", version);
    WriteFileLink(a, leaf.blurEffectLink);
    if (version >= 2) {
      WriteAlerterTextureSRC(a, leaf.texture);
    } else {
      WriteNamedFileLinkData(a, *leaf.texture.Source());
      io.WriteUInt32(leaf.texture.speed.Value());
      io.WriteInt32(leaf.texture.direction.Value());
    }
    io.WriteInt32(leaf.flipVertical.Value());
    io.WriteInt32(leaf.flipHorizontal.Value());
    io.WriteUInt32(leaf.size.Value());
    WriteColorSetParams(a, leaf.colours);
    io.WriteInt32(leaf.blend.Value());
    io.WriteInt32(leaf.glowMode.Value());
    io.WriteUInt32(leaf.glowBlurSize.Value());
    io.WriteUInt32(leaf.glowColour.Value());
    io.WriteUInt32(leaf.glowBrightness.Value());
    io.WriteInt32(leaf.glowRepeats.Value());
    if (version == 3) {
      io.WriteUInt32(leaf.sizeSpread.value.Value());
      io.WriteUInt32(leaf.sizeSpread.spread.Value());
    }
    if (version >= 4) WriteGraphSpreadPrm(a, leaf.sizeSpread);
    if (version >= 3) io.WriteUInt32(leaf.stretchDirection.Value());
    if (version >= 5) {
      io.WriteUInt32(leaf.pivotX.Value());
      io.WriteUInt32(leaf.pivotY.Value());
    }
    leaf.ZKW_PSTree_Node::Save(a);
  });
}

class PresetLeaf : public TreeRenderTest {};

TEST_F(PresetLeaf, RecordsOfEveryVersionRead) {
  ZKW_PSTree_Leaf leaf(DS_SafePtr<ZKW_PtclSys_Geometry>(std::make_unique<ZKW_PSGeometry_Point>()));
  auto pictures = std::make_unique<ZKW_ResIDTex>();
  pictures->links = {DS_ImageFileLink(u"pictures.dll", 12)};
  leaf.texture.SetValueSilently(
      DS_SafePtr<ZKW_TextureSRC>(std::unique_ptr<ZKW_TextureSRC>(std::move(pictures))));
  leaf.texture.speed.SetValue(150);
  leaf.texture.direction.SetValue(1);
  leaf.flipVertical.SetValue(1);
  leaf.size.SetValue(40);
  leaf.colours.opacity.SetValue(30);
  leaf.blend.SetValue(1);
  leaf.glowMode.SetValue(2);
  leaf.glowBlurSize.SetValue(25);
  leaf.glowColour.SetValue(0x102030);
  leaf.glowBrightness.SetValue(80);
  leaf.glowRepeats.SetValue(2);
  leaf.sizeSpread.value.SetValue(70);
  leaf.sizeSpread.spread.SetValue(40);
  leaf.stretchDirection.SetValue(90);
  leaf.pivotX.SetValue(0);
  leaf.pivotY.SetValue(100);
  leaf.AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::make_unique<ZKW_PSTree_Stem>()));

  const std::vector<uint8_t> bytes = Saved(leaf);
  EXPECT_EQ(OldLeaf(leaf, 5), bytes);
  for (uint32_t version = 1; version <= 5; ++version) {
    SCOPED_TRACE(version);
    bool whole = false;
    auto read = ReadLeaf(OldLeaf(leaf, version), &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole);
    ASSERT_NE(read->texture.Source(), nullptr);
    EXPECT_EQ(read->texture.Source()->links.at(0).Key(), leaf.texture.Source()->links[0].Key());
    EXPECT_EQ(read->texture.speed.Value(), 150u);
    EXPECT_EQ(read->glowRepeats.Value(), 2);
    EXPECT_FLOAT_EQ(read->glowBrightness.Scaled(), 1.6f);
    EXPECT_EQ(read->children.Value().size(), 1u);
    EXPECT_EQ(read->sizeSpread.value.Value(), version >= 3 ? 70u : 100u);
    EXPECT_EQ(read->sizeSpread.spread.Value(), version >= 3 ? 40u : 0u);
    EXPECT_EQ(read->stretchDirection.Value(), version >= 3 ? 90u : 0u);
    EXPECT_NEAR(read->stretchDirection.Matrix()(0, 1), version >= 3 ? 1.0f : 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(read->pivotX.Scaled(), version >= 5 ? -0.5f : 0.0f);
    EXPECT_FLOAT_EQ(read->pivotY.Scaled(), version >= 5 ? 0.5f : 0.0f);
    if (version == 5) EXPECT_EQ(Saved(*read), bytes);
  }
}

TEST_F(PresetLeaf, BlendTechniquesFallBackToNormal) {
  ZKW_PSTree_Leaf leaf;
  UsePicture(leaf, DS_ImageFileLink(u"white.png", 1), 2, 2, 2, 2, std::vector<uint32_t>(4, ~0u));
  const struct {
    int blend;
    bool premultiplied;
    const char* technique;
  } cases[] = {{0, false, "BlendNormal"},        {0, true, "BlendNormal_AlphaPM"},
               {1, false, "BlendSum"},           {1, true, "BlendSum"},
               {2, true, "BlendNormal_AlphaPM"}, {-1, false, "BlendNormal"}};
  for (const auto& c : cases) {
    leaf.blend.SetValue(c.blend);
    leaf.texture.Source()->premultiplied = c.premultiplied;
    EXPECT_STREQ(leaf.BlendTechnique(), c.technique) << c.blend;
  }
  leaf.glowMode.SetValue(2);
  EXPECT_EQ(leaf.NeedsPictureBelow(), 1);
  leaf.glowMode.SetValue(1);
  EXPECT_EQ(leaf.NeedsPictureBelow(), 0);
}

// The four corners of the first quad of `batch`.
std::vector<DX_V::PCT2> FirstQuad(ParticleQuadBatch& batch) {
  DX_V::PCT2* v = batch.LockVertices();
  if (v == nullptr) return {};
  std::vector<DX_V::PCT2> quad(v, v + 4);
  batch.UnlockVertices();
  return quad;
}

TEST_F(PresetLeaf, CornersCellsPivotAndAlpha) {
  const struct {
    uint32_t columns, rows;
    float halfHeight;
  } grids[] = {{1, 1, 16.0f}, {4, 2, 32.0f}};
  for (const auto& g : grids) {
    SCOPED_TRACE(g.columns);
    ZKW_PSTree_Leaf leaf;
    UsePicture(leaf, DS_ImageFileLink(u"wide.png", 1), 256, 128, 2, 2,
               std::vector<uint32_t>(4, ~0u), g.columns, g.rows);
    leaf.size.SetValue(64);
    ParticleHandle parent = MakeChildParticle({});
    parent->floats[ParticleRecord::kAlpha] = 0.5f;
    ParticleHandle p = MakeChildParticle(parent);
    p->floats[ParticleRecord::kAlpha] = 0.5f;
    p->Position() = D3DXVECTOR3(100, 50, 0);
    leaf.source->particles = {p};
    crt_srand(3);
    leaf.OnTextureChanged();
    EXPECT_FLOAT_EQ(p->presetCell[0], 1.0f / g.columns);
    EXPECT_FLOAT_EQ(p->presetCell[1], 1.0f / g.rows);
    crt_srand(3);
    EXPECT_FLOAT_EQ(p->presetCell[2], float(crt_rand() % g.columns) / g.columns);
    EXPECT_FLOAT_EQ(p->presetCell[3], float(crt_rand() % g.rows) / g.rows);

    QuadBatches batches(1);
    size_t index = 0;
    leaf.FillVertices(batches, &index);
    EXPECT_EQ(index, 1u);
    ASSERT_EQ(batches[0].QuadCount(), 1u);
    const std::vector<DX_V::PCT2> quad = FirstQuad(batches[0]);
    ASSERT_EQ(quad.size(), 4u);
    const float xs[4] = {-32, -32, 32, 32};
    const float ys[4] = {g.halfHeight, -g.halfHeight, g.halfHeight, -g.halfHeight};
    const float us[4] = {0, 0, 1, 1}, vs[4] = {1, 0, 1, 0};
    for (int n = 0; n < 4; ++n) {
      EXPECT_NEAR(quad[n].x, 100 + xs[n], 1e-3f) << n;
      EXPECT_NEAR(quad[n].y, 50 + ys[n], 1e-3f) << n;
      EXPECT_NEAR(quad[n].u, p->presetCell[0] * us[n] + p->presetCell[2], 1e-6f) << n;
      EXPECT_NEAR(quad[n].v, p->presetCell[1] * vs[n] + p->presetCell[3], 1e-6f) << n;
      EXPECT_EQ(quad[n].diffuse >> 24, 63u) << "opacity 255 x alpha 0.5 x parent 0.5";
    }

    // Pivot x 0: the particle sits at the quad's left edge.
    leaf.pivotX.SetValue(0);
    leaf.FillVertices(batches, &(index = 0));
    const std::vector<DX_V::PCT2> moved = FirstQuad(batches[0]);
    ASSERT_EQ(moved.size(), 4u);
    EXPECT_NEAR(moved[0].x, 100.0f, 1e-3f);
    EXPECT_NEAR(moved[2].x, 164.0f, 1e-3f);
  }
}

TEST_F(PresetLeaf, WithoutAPictureTheBatchStaysEmpty) {
  ZKW_PSTree_Leaf leaf;
  leaf.source->particles = {MakeChildParticle({})};
  QuadBatches batches(1);
  size_t index = 0;
  EXPECT_EQ(leaf.UpdateParticles(0.1f, {}), 1u);
  leaf.FillVertices(batches, &index);
  EXPECT_EQ(batches[0].QuadCount(), 0u);
  index = 0;
  leaf.Render(batches, &index, renderer_, nullptr);
  EXPECT_EQ(index, 1u);
}

class PresetLeafPixels : public TreeRenderTest {
 protected:
  // A root with one leaf of a point source drawing a `size`-unit white quad at the centre.
  std::unique_ptr<ZKW_PSTree_Root> OneLeaf(unsigned size) {
    auto root = std::make_unique<ZKW_PSTree_Root>();
    root->keepGuid = 1;  // placed, so it keeps its position
    root->position.SetValue(D3DXVECTOR3(32, 32, 0));
    auto point = std::make_unique<ZKW_PSGeometry_Point>();
    point->size.value.SetValue(100);
    auto node =
        std::make_unique<ZKW_PSTree_Leaf>(DS_SafePtr<ZKW_PtclSys_Geometry>(std::move(point)));
    node->size.SetValue(size);
    leaf = node.get();
    UsePicture(*leaf, DS_ImageFileLink(u"leaf.png", 1), 2, 2, 2, 2,
               std::vector<uint32_t>(4, 0xFFFFFFFF));
    root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(node)));
    return root;
  }

  RuntimeObjectList Draw(ZKW_PSTree_Root& root, uint32_t background) {
    return DrawOnce(root, background);
  }

  ZKW_PSTree_Leaf* leaf = nullptr;
};

int Red(uint32_t pixel) {
  return int((pixel >> 16) & 0xFF);
}

TEST_F(PresetLeafPixels, BothBlendsAndAScreenGlow) {
  const struct {
    int blend;
    const char* technique;
  } blends[] = {{0, "BlendNormal_AlphaPM"}, {1, "BlendSum"}};
  for (const auto& b : blends) {
    SCOPED_TRACE(b.technique);
    auto root = OneLeaf(16);
    leaf->blend.SetValue(b.blend);
    Draw(*root, 0xFF404040);
    EXPECT_TRUE(Drew(b.technique));
    EXPECT_GT(Red(PixelAt(32, 32)), 0xF0) << "white over grey, laid or added";
    EXPECT_EQ(PixelAt(4, 4), 0xFF404040u);
    EXPECT_EQ(PixelAt(45, 32), 0xFF404040u) << "no glow";
  }

  // A yellow glow screened over the grey around the quad; the quads go into the glow surface
  // with the leaf's own blend.
  auto root = OneLeaf(16);
  leaf->blend.SetValue(1);
  leaf->glowMode.SetValue(2);
  leaf->glowColour.SetValue(0x00FFFF);
  leaf->glowBrightness.SetValue(100);
  leaf->glowRepeats.SetValue(1);
  EXPECT_EQ(leaf->NeedsPictureBelow(), 1);
  Draw(*root, 0xFF404040);
  EXPECT_TRUE(Drew("DrawGlowScreen"));
  EXPECT_FALSE(Drew("DrawGlowNormal"));
  EXPECT_EQ(std::count_if(Log().begin(), Log().end(),
                          [](const gfx::FrameLogEntry& e) {
                            return e.kind == gfx::FrameLogEntry::Kind::Draw &&
                                   e.technique == "BlendSum";
                          }),
            2);
  const uint32_t beside = PixelAt(42, 32);
  EXPECT_GT(Red(beside), 0x50);
  EXPECT_GT(int((beside >> 8) & 0xFF), 0x50);
  EXPECT_LT(int(beside & 0xFF), 0x50) << "yellow, no blue";
  EXPECT_GT(Red(PixelAt(32, 32)), 0xF0);
}

TEST_F(PresetLeaf, BalloonRecordsRoundTrip) {
  ZKW_PartyBalloon balloon;
  balloon.firstLightMapOpacity.SetValue(30);
  balloon.secondLightMapOpacity.SetValue(100);
  balloon.glowMode.SetValue(2);
  balloon.size.SetValue(24);
  EXPECT_EQ(balloon.NeedsPictureBelow(), 0) << "it never switches the target";
  const std::vector<uint8_t> bytes = Saved(balloon);
  bool whole = false;
  std::unique_ptr<ZKW_IOF_Item> item = ReadItem(bytes, &whole);
  auto* read = dynamic_cast<ZKW_PartyBalloon*>(item.get());
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_FLOAT_EQ(read->firstLightMapOpacity.Scaled(), 0.3f);
  EXPECT_EQ(read->size.Value(), 24u);
  EXPECT_EQ(Saved(*read), bytes);
}

TEST_F(PresetLeafPixels, WithoutAnEffectNothingIsDrawnButTheTargetIsSwitched) {
  auto root = OneLeaf(16);
  root->effectLink = DS_HLSLEffectFile(u"nowhere.dll", 99999);
  leaf->glowMode.SetValue(2);
  // The frame checks that the announced reader of the picture below switched the target.
  Draw(*root, 0xFF404040);
  EXPECT_EQ(PixelAt(32, 32), 0xFF404040u);
}

TEST_F(PresetLeafPixels, BalloonLightMaps) {
  const DS_ImageFileLink links[3] = {DS_ImageFileLink(u"balloon.png", 1),
                                     DS_ImageFileLink(u"highlight.png", 2),
                                     DS_ImageFileLink(u"shade.png", 3)};
  const uint32_t texels[3] = {0xFF404040, 0xFF808080, 0xFF808080};
  const struct {
    unsigned first, second;
    int grey;
  } cases[] = {{0, 100, 0x20}, {100, 0, 0xC0}, {0, 0, 0x40}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.grey);
    auto root = std::make_unique<ZKW_PSTree_Root>();
    root->keepGuid = 1;
    root->position.SetValue(D3DXVECTOR3(32, 32, 0));
    auto point = std::make_unique<ZKW_PSGeometry_Point>();
    point->size.value.SetValue(100);
    auto balloon =
        std::make_unique<ZKW_PartyBalloon>(DS_SafePtr<ZKW_PtclSys_Geometry>(std::move(point)));
    balloon->size.SetValue(16);
    balloon->firstLightMapOpacity.SetValue(c.first);
    balloon->secondLightMapOpacity.SetValue(c.second);
    auto source = std::make_unique<ZKW_ImgFileTex>();
    source->links = {links[0], links[1], links[2]};
    for (int i = 0; i < 3; ++i)
      ProvideFrames(links[i], 2, 2, 2, 2, std::vector<uint32_t>(4, texels[i]));
    source->premultiplied = true;
    balloon->texture.SetValueSilently(DS_SafePtr<ZKW_TextureSRC>(std::move(source)));
    ZKW_PartyBalloon* drawn = balloon.get();
    root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(balloon)));
    RuntimeObjectList objects = Draw(*root, 0xFF000000);
    EXPECT_TRUE(Drew("PartyBalloon"));
    EXPECT_NEAR(Red(PixelAt(32, 32)), c.grey, 3);
    if (c.first == 0 && c.second == 100) {
      float opacities[3] = {};
      gfx::Effect* effect = drawn->TreeEffect();
      ASSERT_NE(effect, nullptr) << "the running copy's";
      effect->GetFloatArray("LightMapsOpacity", opacities, 3);
      EXPECT_EQ(opacities[0], 1.0f);
      EXPECT_EQ(opacities[1], 0.0f);
      EXPECT_EQ(opacities[2], 1.0f);
    }
    // Once the running copy is gone, the shared nodes no longer reach it.
    objects.clear();
    EXPECT_EQ(drawn->TreeEffect(), nullptr);
  }
}

}  // namespace
}  // namespace tree_test
