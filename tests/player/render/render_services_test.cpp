#include <gtest/gtest.h>

#include "core/startup/thread_slots.h"
#include "player/document/scene_view.h"
#include "player/render/prerender_surface.h"
#include "player/render/render_context.h"
#include "player/render/scene_mapping.h"
#include "player/render/texture_helpers.h"
#include "player/resources/texture_ref.h"
#include "player/support/document_fixture.h"

namespace document_test {
namespace {

using RenderServices = DocumentTest;

TEST_F(RenderServices, LosableObjectsRegisterAndRebuildAfterAReset) {
  {
    ZKW_PrerenderSurface a(32, 16), b(8, 8);
    EXPECT_NE(a.name, b.name) << "each has its own GUID";
    EXPECT_EQ(a.name.size(), 38u);
    EXPECT_EQ(Doc().losableRegistry.Entries().size(), 2u);
    EXPECT_FALSE(a.texture);
    Doc().OnResetDevice();
    ASSERT_TRUE(a.texture);
    EXPECT_EQ(a.texture->Width(), 32u);
    EXPECT_EQ(a.texture->GetUsage() & gfx::Usage::RenderTarget, gfx::Usage::RenderTarget);
    a.OnLostDevice();
    EXPECT_FALSE(a.texture);
  }
  EXPECT_TRUE(Doc().losableRegistry.Entries().empty());
}

TEST_F(RenderServices, TextureRefOfAnImageSet) {
  ImageTextureSet set;
  TextureRef ref;
  MakeTextureRef(set, ref);
  EXPECT_FALSE(ref.texture);
  EXPECT_FLOAT_EQ(ref.aspect, 1.0f);

  gfx::Texture* texture = nullptr;
  ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, gfx::Format::A8R8G8B8, gfx::Pool::Managed, &texture),
            gfx::kOk);
  set.textures.emplace_back(texture);
  set.width = 300;
  set.height = 150;
  set.aspect = 0.5f;
  MakeTextureRef(set, ref);
  EXPECT_EQ(ref.texture.Get(), texture);
  EXPECT_EQ(ref.width, 300u);
  EXPECT_FLOAT_EQ(ref.aspect, 0.5f);
}

TEST_F(RenderServices, PointToSceneMapsTheViewIntoThePicture) {
  RenderContext context;
  RenderContextTlsSlot::Set(&context);
  SceneView view;
  view.quad.SetRect(100, 50, 500, 250);
  view.pictureWidth = 1000;
  view.pictureHeight = 500;
  D3DXVECTOR3 p = PointToScene(view, 300, 150, 7);
  EXPECT_FLOAT_EQ(p.x, 500);
  EXPECT_FLOAT_EQ(p.y, 250);
  EXPECT_FLOAT_EQ(p.z, 7);

  // The fit factors of the camera block apply, divided by its zoom; a zoom of 0 counts as 1.
  context.Camera().fitScaleX = 0.5f;
  context.Camera().fitOffsetX = -100;
  context.Camera().cameraZoom = 0;
  p = PointToScene(view, 300, 150, 0);
  EXPECT_FLOAT_EQ(p.x, 500 * 0.5f + 100);

  // A view without width maps x to the offsets alone.
  view.quad.SetRect(100, 50, 100, 250);
  p = PointToScene(view, 300, 150, 0);
  EXPECT_TRUE(std::isfinite(p.x));
  RenderContextTlsSlot::Set(nullptr);
}

TEST_F(RenderServices, SceneBoundTests) {
  GetSceneView()->pictureWidth = 1000;
  GetSceneView()->pictureHeight = 500;
  const BoundLimits q{0.1f, 0.9f, 0.2f, 0.8f};  // x 100..900, y 100..400
  struct Case {
    SceneBoundTest test;
    BoundItem p;
    bool expected;
  } cases[] = {
      {OutsideLeft, {89, 0, 10, 0}, true},     {OutsideLeft, {90, 0, -10, 0}, false},
      {OutsideRight, {911, 0, 10, 0}, true},   {OutsideRight, {910, 0, 10, 0}, false},
      {OutsideBottom, {0, 411, 0, -10}, true}, {OutsideBottom, {0, 410, 0, 10}, false},
      {OutsideTop, {0, 89, 0, 10}, true},      {OutsideTop, {0, 90, 0, 10}, false},
      {CrossingTop, {0, 105, 0, 6}, true},     {CrossingTop, {0, 105, 0, 5}, false},
      {CrossingBottom, {0, 395, 0, 6}, true},  {CrossingBottom, {0, 395, 0, 5}, false},
      {CrossingLeft, {105, 0, 6, 0}, true},    {CrossingLeft, {105, 0, 5, 0}, false},
      {CrossingRight, {895, 0, 6, 0}, true},   {CrossingRight, {895, 0, 5, 0}, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(cases[i].test(cases[i].p, q), cases[i].expected) << "case " << i;
}

}  // namespace
}  // namespace document_test
