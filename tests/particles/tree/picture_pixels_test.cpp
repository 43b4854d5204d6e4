#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "core/crt_rand.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

// Whether two pixels differ by at most `tolerance` in every channel (filtering blends a little of
// the neighbouring texels in).
bool Near(uint32_t a, uint32_t b, int tolerance = 12) {
  for (const int shift : {0, 8, 16, 24})
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

class PicturePixels : public TreeRenderTest {
 protected:
  // A system whose root stands at (32, 32) with one picture node of `count` particles of `size`
  // units; `picture` points at the node.
  std::unique_ptr<ZKW_PtclSys_Constructor> OnePicture(unsigned count, unsigned size) {
    auto system = std::make_unique<ZKW_PtclSys_Constructor>();
    system->Root().Physics().position.SetValue(D3DXVECTOR3(32, 32, 0));
    auto node = std::make_unique<ZKW_PtclSysNode_Picture>();
    node->SetPhysics(Group(count));
    node->size.SetValue(size);
    picture = node.get();
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(node)));
    return system;
  }

  // The run-time object of `system`, updated at `times` in turn and drawn once on `background`.
  RuntimeObjectList Draw(ZKW_PtclSys_Constructor& system, std::vector<float> times,
                         uint32_t background = 0xFF000000) {
    StartSlideOn(renderer_, 64, 64, background);
    RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(system.CreateRuntimeObject())};
    for (const float t : times)
      objects.front()->Update(t);
    ClearLog();
    Frame(renderer_, objects);
    return objects;
  }

  ZKW_PtclSysNode_Picture* picture = nullptr;
};

TEST_F(PicturePixels, AnAtlasAnimatesOrShowsARandomCell) {
  const DS_ImageFileLink link(u"atlas.png", 1);
  const std::vector<uint32_t> cells = {kRed, kGreen, kBlue, kWhite};  // 2 x 2, rows from the top
  // Mode 0 steps one cell a frame (the speed, 100 frames a second, is used unscaled).
  const uint32_t steps[] = {kRed, kGreen, kBlue, kWhite, kRed};
  for (size_t frames = 0; frames < 5; ++frames) {
    auto system = OnePicture(1, 32);
    UsePicture(*picture, link, 2, 2, 2, 2, cells, 2, 2);
    picture->texture.Source()->modeParam.RawValue() = 0;
    std::vector<float> times;
    for (size_t i = 0; i <= frames; ++i)
      times.push_back(0.1f * static_cast<float>(i));
    Draw(*system, times);
    EXPECT_TRUE(Near(PixelAt(32, 32), steps[frames])) << "after " << frames << " steps";
  }
  // Mode 1: a fixed random cell per particle.
  for (const unsigned seed : {1u, 2u, 3u, 4u}) {
    crt_srand(seed);
    auto system = OnePicture(1, 32);
    UsePicture(*picture, link, 2, 2, 2, 2, cells, 2, 2);
    picture->texture.Source()->modeParam.RawValue() = 1;
    Draw(*system, {0.0f, 0.5f});
    const ParticleRecord& p = *picture->physics->particles.at(0);
    const size_t cell =
        static_cast<size_t>(p.atlasCell[2]) * 2 + static_cast<size_t>(p.atlasCell[0]);
    EXPECT_TRUE(Near(PixelAt(32, 32), cells[cell])) << "seed " << seed;
  }
}

TEST_F(PicturePixels, FlipsMirrorThePictureInsideTheQuad) {
  const DS_ImageFileLink link(u"halves.png", 1);
  struct Case {
    bool horizontal;
    std::vector<uint32_t> texels;
    int ax, ay, bx, by;  // two pixels on either side of the mirror line
  };
  const Case cases[] = {{true, {kRed, kGreen, kRed, kGreen}, 22, 32, 42, 32},
                        {false, {kRed, kRed, kGreen, kGreen}, 32, 22, 32, 42}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.horizontal ? "horizontal" : "vertical");
    uint32_t plain[2] = {};
    for (const int flip : {0, 1}) {
      auto system = OnePicture(1, 32);
      UsePicture(*picture, link, 2, 2, 2, 2, c.texels);
      (c.horizontal ? picture->flipHorizontal : picture->flipVertical).SetValue(flip);
      Draw(*system, {0.0f});
      const uint32_t a = PixelAt(c.ax, c.ay), b = PixelAt(c.bx, c.by);
      if (flip == 0) {
        EXPECT_NE(a, b);
        plain[0] = a;
        plain[1] = b;
      } else {
        EXPECT_EQ(a, plain[1]);
        EXPECT_EQ(b, plain[0]);
      }
    }
    EXPECT_EQ(PixelAt(5, 5), 0xFF000000u) << "the quad stays where it was";
  }
}

TEST_F(PicturePixels, VertexAlphaAndTechniques) {
  const DS_ImageFileLink link(u"white.png", 1);
  struct Case {
    int additive;
    uint32_t background;
    int red, green;
    const char* technique;
  };
  // Alpha 0.5 at opacity 255 gives a vertex alpha of 127; the tint keeps red only.
  const Case cases[] = {{0, 0xFF000000, 127, 0, "BlendNormal_PMTexture"},
                        {0, 0xFF808080, 127 + 64, 64, "BlendNormal_PMTexture"},
                        {1, 0xFF808080, 255, 128, "BlendSum_PMTexture"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.technique);
    auto system = OnePicture(1, 32);
    // The time-modulated translucency of 50 %, as the clock hands it on.
    system->Root().Physics().translucency.modulated = 0.5f;
    UsePicture(*picture, link, 2, 2, 2, 2, std::vector<uint32_t>(4, kWhite));
    picture->colour.SetValue(0x0000FF);
    picture->additive.SetValue(c.additive);
    const RuntimeObjectList objects = Draw(*system, {0.0f}, c.background);
    const auto& batch = static_cast<ZKW_PtclSys_Obj&>(*objects.front()).Batches().at(0);
    EXPECT_EQ(batch.QuadCount(), 1u);
    const uint32_t pixel = PixelAt(32, 32);
    EXPECT_NEAR(int((pixel >> 16) & 0xFF), c.red, 2);
    EXPECT_NEAR(int((pixel >> 8) & 0xFF), c.green, 2);
    EXPECT_TRUE(std::any_of(Log().begin(), Log().end(), [&](const gfx::FrameLogEntry& e) {
      return e.technique == c.technique;
    }));
  }
}

TEST_F(PicturePixels, WithoutAnEffectOrAPictureNothingIsDrawn) {
  auto system = OnePicture(3, 32);
  picture->effectLink = DS_HLSLEffectFile(u"nowhere.dll", 99999);
  UsePicture(*picture, DS_ImageFileLink(u"white.png", 1), 2, 2, 2, 2,
             std::vector<uint32_t>(4, kWhite));
  const RuntimeObjectList objects = Draw(*system, {0.0f});
  EXPECT_EQ(static_cast<ZKW_PtclSys_Obj&>(*objects.front()).Batches().at(0).QuadCount(), 0u);
  EXPECT_EQ(PixelAt(32, 32), 0xFF000000u);

  auto noPicture = OnePicture(3, 32);
  const RuntimeObjectList none = Draw(*noPicture, {0.0f});
  EXPECT_EQ(static_cast<ZKW_PtclSys_Obj&>(*none.front()).Batches().at(0).QuadCount(), 0u);
}

TEST_F(PicturePixels, ABatchOfTwentyThousandQuadsDrawsEveryQuad) {
  constexpr unsigned kCount = 20000;
  auto system = OnePicture(kCount, 4);
  system->Root().Physics().position.SetValue(D3DXVECTOR3(0, 0, 0));
  UsePicture(*picture, DS_ImageFileLink(u"white.png", 1), 2, 2, 2, 2,
             std::vector<uint32_t>(4, kWhite));
  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(system->CreateRuntimeObject())};
  ParticleList& particles = picture->physics->particles;
  ASSERT_EQ(particles.size(), kCount);
  for (ParticleHandle& p : particles)
    p->Position() = D3DXVECTOR3(6, 6, 0);
  particles.back()->Position() = D3DXVECTOR3(50, 50, 0);  // in the batch's second block
  objects.front()->Update(0.0f);
  ClearLog();
  Frame(renderer_, objects);
  EXPECT_EQ(PixelAt(50, 50), kWhite) << "the last quad";
  EXPECT_EQ(PixelAt(30, 30), 0xFF000000u);
  uint64_t indices = 0;
  for (const gfx::FrameLogEntry& e : Log())
    if (e.technique == "BlendNormal_PMTexture") indices += e.vertexCount;
  EXPECT_EQ(indices, uint64_t{6} * kCount);
}

}  // namespace
}  // namespace tree_test
