#include <gtest/gtest.h>

#include "core/scene/ds_abobj.h"
#include "player/render/matrix_values.h"
#include "renderer_fixture.h"
#include "renderers/light/picture_below_check.h"

namespace renderer_test {
namespace {

constexpr uint32_t kPicture = 0xFF336699;

// A fake object that only counts: it reports readers and copies as told, switches through the
// base Render (unless told not to), and notes what it found when drawn.
class CountingObject : public ZKW_RenderObj {
 public:
  CountingObject(int below, bool copy = false, bool switches = true)
      : ZKW_RenderObj(nullptr), below_(below), copy_(copy), switches_(switches) {}

  void Update(float) override {}
  int NeedsPictureBelow() const override { return IsActive() ? below_ : 0; }
  bool NeedsTargetCopy() const override { return copy_; }
  bool KeepsTargetCopy() const override { return keeps; }
  void Render(DS_2D_Light& renderer, int* count) override {
    // Copy-needing objects are switched by the pass; readers switch through the base.
    if (switches_ && !copy_) {
      ZKW_RenderObj::Render(renderer, count);
    } else {
      Draw(renderer);
    }
    countAfter = *count;
  }
  void Draw(DS_2D_Light& renderer) override {
    ++draws;
    flags = renderer.renderFlags;
    read = renderer.GetTargetTextureSlot()->Get();
    gfx::Device* device = CurrentDevice();
    gfx::ComPtr<gfx::Surface> surface;
    EXPECT_EQ(device->GetRenderTarget(0, surface.Put()), gfx::kOk);
    target = surface.Get();
    targetTexture = surface->Container();
    if (fill != 0) device->Clear(0, nullptr, gfx::ClearFlags::Target, fill, 1, 0);
    device->SetRenderState(gfx::RenderState::SrcBlend, gfx::Blend::One);
  }

  bool keeps = false;
  uint32_t fill = 0;
  int draws = 0;
  int countAfter = -1;
  uint32_t flags = 0;
  gfx::Texture* read = nullptr;
  gfx::Surface* target = nullptr;
  gfx::Texture* targetTexture = nullptr;

 private:
  int below_;
  bool copy_;
  bool switches_;
};

class PlainDescription : public DS_ABObj_Constructor {
 public:
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override { return nullptr; }
};

// A run-time object at a depth that notes the camera-offset translation it is drawn with.
class DepthObject : public DS_ABObj {
 public:
  explicit DepthObject(unsigned depth) : DS_ABObj(std::make_unique<PlainDescription>()) {
    Description()->depth.SetValue(depth);
  }
  void Update(float) override {}
  void Draw(DS_2D_Light&) override { seen = RenderContextTlsSlot::Get()->cameraOffsetTranslation; }
  D3DXMATRIX seen;
};

template <class T>
DS_SafePtr<ZKW_RenderObj> Handle(T*& out, T* object) {
  out = object;
  return DS_SafePtr<ZKW_RenderObj>(std::unique_ptr<ZKW_RenderObj>(object));
}

// A renderer kind with an offscreen pass of its own, which it ends in Compose.
class OffscreenKind : public DS_2D_Light {
 public:
  bool NeedsOffscreenPass() const override { return true; }
  void Compose(void* context) override {
    EndTargets(false);
    DS_2D_Light::Compose(context);
  }
};

class ObjectPass : public RendererTest {
 protected:
  ObjectPass() : RendererTest(32, 32) {}

  void SetUp() override {
    RendererTest::SetUp();
    picture_ = ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 32, 32, kPicture);
  }

  uint32_t Centre(gfx::Texture* texture) { return Pixels(texture)[16 * 32 + 16]; }

  gfx::Texture* picture_ = nullptr;
};

// Breaches of the picture-below contract, caught instead of ending the test program.
struct CapturedBreaches {
  CapturedBreaches() {
    previous = SetPictureBelowBreachHandler(
        [this](const std::string& message) { messages.push_back(message); });
  }
  ~CapturedBreaches() { SetPictureBelowBreachHandler(std::move(previous)); }
  std::vector<std::string> messages;
  PictureBelowBreachHandler previous;
};

TEST_F(ObjectPass, WithoutReadersEverythingDrawsOnTheBackBuffer) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  CountingObject *a, *b;
  RuntimeObjectList objects{Handle(a, new CountingObject(0)), Handle(b, new CountingObject(0))};
  Frame(renderer, objects);
  EXPECT_EQ(b->target, BackBuffer());
  EXPECT_EQ(a->read, picture_);
  EXPECT_EQ(renderer.targetTexture.Get(), picture_);
  EXPECT_EQ(BackBufferPixels()[16 * 32 + 16], kPicture);
  EXPECT_EQ(renderer.renderFlags, 0u);
  EXPECT_EQ(device_->State().Get(gfx::RenderState::SrcBlend), gfx::Blend::SrcAlpha)
      << "the pass resets the blend after every object";
}

TEST_F(ObjectPass, OneReaderReadsTheBackgroundDrawnOffScreen) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  gfx::Texture* texture0 = renderer.targets.textures[0].Get();
  CountingObject* reader;
  RuntimeObjectList objects{Handle(reader, new CountingObject(1))};
  Frame(renderer, objects);
  EXPECT_EQ(reader->target, BackBuffer());
  EXPECT_EQ(reader->read, texture0);
  EXPECT_EQ(reader->countAfter, 0);
  EXPECT_EQ(reader->flags & DS_2D_Light::kFreshTarget, DS_2D_Light::kFreshTarget);
  EXPECT_EQ(Centre(texture0), kPicture);
  EXPECT_EQ(BackBufferPixels()[16 * 32 + 16], 0x00FFFFFFu)
      << "restored and cleared for the reader, which redraws the whole picture";
  EXPECT_FALSE(renderer.targets.Begun());
  EXPECT_TRUE(renderer.savedViews.empty());
}

TEST_F(ObjectPass, TwoReadersPingPong) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  gfx::Texture* texture0 = renderer.targets.textures[0].Get();
  gfx::Texture* texture1 = renderer.targets.textures[1].Get();
  CountingObject *upper, *lower;
  RuntimeObjectList objects{Handle(upper, new CountingObject(1)),
                            Handle(lower, new CountingObject(1))};
  Frame(renderer, objects);
  EXPECT_EQ(lower->targetTexture, texture1);
  EXPECT_EQ(lower->read, texture0);
  EXPECT_EQ(lower->countAfter, 1);
  EXPECT_EQ(upper->target, BackBuffer());
  EXPECT_EQ(upper->read, texture1);
  EXPECT_EQ(upper->countAfter, 0);
}

TEST_F(ObjectPass, AKindWithItsOwnPassEndsTheTargetsInCompose) {
  OffscreenKind renderer;
  StartSlide(renderer);
  CountingObject* reader;
  RuntimeObjectList objects{Handle(reader, new CountingObject(1))};
  Frame(renderer, objects);
  EXPECT_EQ(reader->countAfter, 1) << "the reader only ping-pongs";
  EXPECT_EQ(reader->targetTexture, renderer.targets.textures[1].Get());
  EXPECT_FALSE(renderer.targets.Begun());
  EXPECT_TRUE(renderer.savedViews.empty());
}

TEST_F(ObjectPass, ACopyNeedingObjectGetsThePictureBelowItsLayer) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  CountingObject *copier, *plain;
  RuntimeObjectList objects{Handle(copier, new CountingObject(1, true)),
                            Handle(plain, new CountingObject(0))};
  plain->fill = 0xFF00FF00;
  Frame(renderer, objects);
  EXPECT_EQ(plain->flags & DS_2D_Light::kLayerSplit, DS_2D_Light::kLayerSplit);
  EXPECT_NE(plain->target, BackBuffer());
  EXPECT_EQ(copier->target, BackBuffer());
  EXPECT_EQ(copier->flags & DS_2D_Light::kLayerSplit, 0u);
  ASSERT_NE(copier->read, nullptr);
  EXPECT_EQ(Centre(copier->read), 0xFF00FF00u) << "the copier reads the layer";
  EXPECT_EQ(BackBufferPixels()[16 * 32 + 16], kPicture) << "the picture below the layer";
}

TEST_F(ObjectPass, DepthGivesParallax) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  Context().cameraOffset = D3DXVECTOR3(10, 20, 0);
  struct Case {
    unsigned depth;
    float f;
  } cases[] = {{50, 1}, {100, 0}, {200, -0.5f}, {0, 0}};
  for (const Case& c : cases) {
    DepthObject* object;
    RuntimeObjectList objects{Handle(object, new DepthObject(c.depth))};
    renderer.RenderObjects(objects, 0);
    EXPECT_EQ(object->seen, TranslationMatrix(10 * c.f, 20 * c.f, 0)) << c.depth;
  }
}

// The picture below a layer is the whole frame drawn so far: the last reader puts it back
// unmoved, whatever depth the object drawn before it had while the camera moves.
TEST_F(ObjectPass, ThePictureBelowALayerComesBackWithoutParallax) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  Context().cameraActive = true;  // a camera that looks at the picture's centre
  Context().cameraOffset = D3DXVECTOR3(8, 0, 0);
  CountingObject* copier;
  DepthObject* near;
  RuntimeObjectList objects{Handle(copier, new CountingObject(1, true)),
                            Handle(near, new DepthObject(50))};
  Frame(renderer, objects);
  EXPECT_EQ(near->seen, TranslationMatrix(8, 0, 0));
  const auto px = BackBufferPixels();
  for (int x : {1, 16, 30})
    EXPECT_EQ(px[16 * 32 + x], kPicture) << x;
}

TEST_F(ObjectPass, AReaderThatNeverSwitchesDoesNotLoseTheFrame) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  CountingObject* silent;
  RuntimeObjectList objects{Handle(silent, new CountingObject(1, false, false))};
  CapturedBreaches breaches;
  Frame(renderer, objects);
  EXPECT_EQ(breaches.messages.size(), kChecksPictureBelowContract ? 1u : 0u);
  EXPECT_FALSE(renderer.targets.Begun());
  EXPECT_EQ(CurrentTarget(), BackBuffer());
  EXPECT_EQ(BackBufferPixels()[16 * 32 + 16], kPicture);

  // Switching without begun targets keeps drawing on the frame.
  int count = 1;
  renderer.SwitchTarget(&count, true);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(CurrentTarget(), BackBuffer());
  EXPECT_EQ(renderer.EndTargets(true), &renderer.targets.current);
  EXPECT_EQ(BackBufferPixels()[16 * 32 + 16], kPicture);
}

// Without targets (none could be made) the pass draws straight on the frame: readers read the
// background picture, and the view, its stack and the fit mode are those of the frame, frame
// after frame.
TEST_F(ObjectPass, WithoutTargetsReadersDrawOnTheFrame) {
  for (bool offscreenKind : {false, true}) {
    SCOPED_TRACE(offscreenKind ? "kind with its own pass" : "plain renderer");
    std::unique_ptr<DS_2D_Light> renderer =
        offscreenKind ? std::make_unique<OffscreenKind>() : std::make_unique<DS_2D_Light>();
    GetDeviceValues().targetScaleLimit = 0;  // no size to make them at
    StartSlide(*renderer);
    ASSERT_FALSE(renderer->targets.current);
    const float right = renderer->viewQuad.Right();
    for (int frame = 0; frame < 2; ++frame) {
      CountingObject *upper, *lower;
      RuntimeObjectList objects{Handle(upper, new CountingObject(1)),
                                Handle(lower, new CountingObject(1))};
      Frame(*renderer, objects);
      EXPECT_EQ(lower->target, BackBuffer());
      EXPECT_EQ(upper->target, BackBuffer());
      EXPECT_EQ(lower->read, picture_);
      EXPECT_TRUE(renderer->savedViews.empty());
      EXPECT_TRUE(renderer->savedTargetViews.empty());
      EXPECT_FLOAT_EQ(renderer->viewQuad.Right(), right);
      EXPECT_EQ(Context().fitMode, 1);
      EXPECT_EQ(BackBufferPixels()[16 * 32 + 16], kPicture);
    }
    GetDeviceValues().targetScaleLimit = 3;
  }
}

TEST_F(ObjectPass, ViewsPushAndPop) {
  DS_2D_Light renderer;
  const QuadCorners before = renderer.viewQuad;
  renderer.PopView();
  EXPECT_EQ(renderer.viewQuad.Right(), before.Right());
  EXPECT_EQ(renderer.pushedView, 0);

  StartSlide(renderer);
  // The document's scene view follows the view.
  EXPECT_FLOAT_EQ(Doc().sceneView.scaleX, 1.0f);
  EXPECT_EQ(Doc().sceneView.pictureWidth, 32u);
  EXPECT_FLOAT_EQ(Doc().sceneView.quad.Right(), 32);

  const float right = renderer.viewQuad.Right();
  renderer.PushView(16, 8, 3);
  EXPECT_EQ(renderer.pushedView, 1);
  EXPECT_FLOAT_EQ(renderer.viewQuad.Right(), 16);
  EXPECT_EQ(Context().fitMode, 3);
  renderer.SetViewQuad(QuadCorners{});  // ignored while a view is pushed
  EXPECT_FLOAT_EQ(renderer.viewQuad.Right(), 16);
  renderer.PopView();
  EXPECT_EQ(renderer.pushedView, 0);
  EXPECT_FLOAT_EQ(renderer.viewQuad.Right(), right);
  EXPECT_EQ(Context().fitMode, 1);
  EXPECT_TRUE(renderer.savedViews.empty());
}

// Target passes and pushed views keep their saved views apart: each restores its own, however
// the two nest.
TEST_F(ObjectPass, TargetPassesAndPushedViewsSaveTheirViewsApart) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  const float frame = renderer.viewQuad.Right();
  const float targets = float(renderer.targets.width);

  // A view pushed inside a target pass.
  renderer.BeginTargets();
  EXPECT_FLOAT_EQ(renderer.viewQuad.Right(), targets);
  renderer.PushView(16, 8, 3);
  EXPECT_EQ(renderer.savedViews.size(), 1u);
  EXPECT_EQ(renderer.savedTargetViews.size(), 1u);
  renderer.PopView();
  EXPECT_FLOAT_EQ(renderer.viewQuad.Right(), targets);
  renderer.EndTargets(false);
  EXPECT_FLOAT_EQ(renderer.viewQuad.Right(), frame);

  // A target pass ended while a view is pushed goes back to the frame's view, not to the view
  // the push saved; the push, popped later, stays in the frame's view and fit.
  renderer.BeginTargets();
  renderer.PushView(16, 8, 3);
  renderer.EndTargets(false);
  EXPECT_FLOAT_EQ(renderer.viewQuad.Right(), frame);
  EXPECT_TRUE(renderer.savedTargetViews.empty());
  EXPECT_EQ(renderer.savedViews.size(), 1u) << "the push is still open";
  renderer.PopView();
  EXPECT_TRUE(renderer.savedViews.empty());
  EXPECT_FLOAT_EQ(renderer.viewQuad.Right(), frame);
  EXPECT_EQ(Context().fitMode, 1);

  // A pop with nothing pushed inside a target pass leaves the targets' view.
  renderer.BeginTargets();
  renderer.PopView();
  EXPECT_FLOAT_EQ(renderer.viewQuad.Right(), targets);
  renderer.EndTargets(false);
  EXPECT_FLOAT_EQ(renderer.viewQuad.Right(), frame);
}

// A run-time object with a named description that switches the target `switches` times
// while it announces `announced` readers.
class MiscountingObject : public DS_ABObj {
 public:
  MiscountingObject(int announced, int switches)
      : DS_ABObj(std::make_unique<PlainDescription>()), announced_(announced), switches_(switches) {
    Description()->name = u"Sparkles";
  }
  void Update(float) override {}
  int NeedsPictureBelow() const override { return announced_; }
  void Render(DS_2D_Light& renderer, int* count) override {
    for (int i = 0; i < switches_; ++i)
      renderer.SwitchTarget(count, true);
  }

 private:
  int announced_, switches_;
};

TEST_F(ObjectPass, ThePictureBelowCheckNamesAnObjectThatSwitchesOnceTooOften) {
  if (!kChecksPictureBelowContract) GTEST_SKIP() << "only debug builds check the contract";
  DS_2D_Light renderer;
  StartSlide(renderer);
  CapturedBreaches breaches;
  MiscountingObject *greedy, *fair;
  CountingObject* copier;
  RuntimeObjectList objects{Handle(greedy, new MiscountingObject(1, 2)),
                            Handle(fair, new MiscountingObject(1, 1)),
                            Handle(copier, new CountingObject(1, true))};
  Frame(renderer, objects);
  ASSERT_EQ(breaches.messages.size(), 1u) << "the pass's switch counts for the copier";
  const std::string& message = breaches.messages[0];
  EXPECT_NE(message.find("\"Sparkles\" (renderer_test::(anonymous namespace)::MiscountingObject)"),
            std::string::npos)
      << message;
  EXPECT_NE(message.find("announced 1 reader(s)"), std::string::npos) << message;
  EXPECT_NE(message.find("switched the target 2 time(s)"), std::string::npos) << message;

  // An object that is not drawn must announce nothing.
  breaches.messages.clear();
  MiscountingObject* hidden;
  RuntimeObjectList inactive{Handle(hidden, new MiscountingObject(1, 1))};
  hidden->SetActive(false);
  renderer.RenderObjects(inactive, 0);
  ASSERT_EQ(breaches.messages.size(), 1u);
  EXPECT_NE(breaches.messages[0].find("is not drawn but announced 1"), std::string::npos)
      << breaches.messages[0];
}

TEST_F(ObjectPass, ChangingThePictureLinkRefreshesTheView) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  const DS_ImageFileLink wide(u"wide.dll", 7);
  ProvidePicture(wide, 64, 16, 0xFFFFFFFF);
  renderer.backgroundLink = wide;
  renderer.backgroundLink.NotifyChanged(nullptr);
  EXPECT_EQ(renderer.GetPictureWidth(), 64u);
  EXPECT_EQ(renderer.camera.frameWidth.Value(), 51u);
  EXPECT_EQ(Doc().sceneView.pictureWidth, 64u);
  EXPECT_FLOAT_EQ(Doc().sceneView.quad.Top(), 12);  // 64 x 16 fitted into 32 x 32
  EXPECT_EQ(renderer.GetTargetTextureSlot(), &renderer.targetTexture);
}

TEST_F(ObjectPass, TargetsAreMadeByAPassWithReadersAtTheLargestScaleThatCanBeMade) {
  DS_2D_Light renderer;
  StartSlide(renderer);
  renderer.ResetDeviceState();
  EXPECT_FALSE(renderer.targets.current) << "a reset drops them; nothing has read since";
  auto pass = [&] {
    renderer.BeginTargets();
    renderer.EndTargets(false);
  };
  pass();
  EXPECT_EQ(renderer.targets.width, 96u) << "three times the back buffer";
  gfx::Caps caps;
  EXPECT_EQ(device_->GetDeviceCaps(&caps), gfx::kOk);
  // Twice this width is past the device's largest texture; once is not.
  const uint32_t wide = caps.maxTextureWidth / 2 + 1;
  GetDeviceValues().backBufferWidth = wide;
  GetDeviceValues().backBufferHeight = 1;
  renderer.ResetDeviceState();
  EXPECT_FALSE(renderer.targets.current) << "the old size went with the reset";
  pass();
  EXPECT_EQ(renderer.targets.width, wide);
  EXPECT_EQ(renderer.targets.height, 1u);
  renderer.ReleaseDeviceObjects();
  EXPECT_FALSE(renderer.targets.current);
  EXPECT_FALSE(renderer.targetTexture);
}

}  // namespace
}  // namespace renderer_test
