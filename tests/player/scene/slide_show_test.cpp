#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "player/support/probe_object.h"
#include "player/support/scene_fixture.h"

namespace scene_test {
namespace {

using SlideShowTest = SceneTest;

// Two slides of fade-in 1, hold 10, fade-out 1: the first opens at its full picture, the second
// comes in from black, and after it the first comes again.
TEST_F(SlideShowTest, FadesFollowTheSlideTimingAndWrap) {
  DS_SlideShow_Light& scene = Play(WriteSlides({{}, {}}));
  struct Step {
    double time;
    int slide;
    float alpha;
    int red;  // of the white picture under the black overlay
  };
  const Step steps[] = {
      {5.0, 0, 0.0f, 255},    // opens at the end of its fade-in: slide start 4.0
      {15.0, 0, 0.0f, 255},   // (11 - 11) / 1
      {15.5, 0, 0.5f, 127},   // half way through the fade-out
      {16.01, 1, 1.0f, 0},    // the next slide starts from black
      {16.51, 1, 0.5f, 127},  //
      {17.01, 1, 0.0f, 255},  // fully in
      {28.0, 1, 1.0f, 0},     // 11.99 s in: its fade-out is about over
      {28.05, 0, 1.0f, 0},    // the first slide again
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.time);
    const uint32_t pixel = Frame(step.time);
    EXPECT_EQ(CurrentIndex(), step.slide);
    EXPECT_NEAR(scene.FadeAlpha(), step.alpha, 0.01f);
    EXPECT_NEAR(Red(pixel), step.red, 3);
  }
  EXPECT_DOUBLE_EQ(scene.slideStart, 28.05);
}

// The fade overlay is drawn only while it darkens the picture.
TEST_F(SlideShowTest, AClearFadeOverlayIsNotDrawn) {
  Play(WriteSlides({{}, {}}));
  device_->EnableFrameLog(true);
  auto draws = [&](double t) {
    const size_t before = device_->CurrentFrameLog().size();
    Frame(t);
    const auto& log = device_->CurrentFrameLog();
    return std::count_if(log.begin() + ptrdiff_t(before), log.end(),
                         [](const auto& e) { return e.kind == gfx::FrameLogEntry::Kind::Draw; });
  };
  const auto clear = draws(5.0), fading = draws(15.5);
  EXPECT_EQ(fading, clear + 1);
  EXPECT_EQ(draws(6.0), clear);
  device_->EnableFrameLog(false);
}

TEST_F(SlideShowTest, ASlideOfModeOneStaysAndFadesOnlyIn) {
  SlideSpec stays;
  stays.mode = DS_SlideContainer::kStays;
  DS_SlideShow_Light& scene = Play(WriteSlides({stays, stays}));
  for (double t : {5.0, 16.5, 100.0, 10000.0}) {
    Frame(t);
    EXPECT_EQ(CurrentIndex(), 0) << t;
    EXPECT_EQ(scene.FadeAlpha(), 0.0f) << t;
  }
  scene.JumpTo(1);
  EXPECT_NEAR(Red(Frame(10000.5)), 127, 3);
  EXPECT_EQ(Red(Frame(20000.0)), 255);
  EXPECT_EQ(CurrentIndex(), 1);
}

TEST_F(SlideShowTest, ASingleSlideNeverFades) {
  DS_SlideShow_Light& scene = Play(WriteSlides({{1.0f, 1.0f, 1.0f}}));
  for (double t : {0.0, 2.5, 3.5, 50.0}) {
    EXPECT_EQ(Red(Frame(t)), 255) << t;
    EXPECT_EQ(scene.FadeAlpha(), 0.0f);
    EXPECT_EQ(CurrentIndex(), 0);
  }
}

TEST_F(SlideShowTest, ZeroFadesNeverDivideByZero) {
  DS_SlideShow_Light& scene = Play(WriteSlides({{0.0f, 2.0f, 0.0f}, {0.0f, 2.0f, 0.0f}}));
  EXPECT_EQ(Red(Frame(1.0)), 255);
  EXPECT_EQ(Red(Frame(2.9)), 255);
  EXPECT_EQ(Red(Frame(3.1)), 255);  // changed at once, with nothing to fade
  EXPECT_EQ(CurrentIndex(), 1);
  EXPECT_EQ(scene.FadeAlpha(), 0.0f);
}

TEST_F(SlideShowTest, JumpsRestartTheSlideAndIgnoreIndexesPastTheEnd) {
  DS_SlideShow_Light& scene = Play(WriteSlides({{}, {}}));
  Frame(5.0);
  Frame(7.0);
  scene.JumpTo(0);  // the current slide: it restarts at the last update's time
  EXPECT_EQ(scene.slideStart, 7.0);
  EXPECT_NEAR(scene.FadeAlpha(), 0.0f, 0.0f);
  Frame(7.25);
  EXPECT_NEAR(scene.FadeAlpha(), 0.75f, 1e-5f);
  EXPECT_EQ(scene.nextSlide, 1u);

  scene.JumpTo(2);  // the slide count
  scene.JumpTo(~0u);
  EXPECT_EQ(scene.slideStart, 7.0);
  EXPECT_EQ(CurrentIndex(), 0);

  scene.JumpTo(1);
  EXPECT_EQ(CurrentIndex(), 1);
  EXPECT_EQ(scene.nextSlide, 0u);
  EXPECT_EQ(scene.slideStart, 7.25);
}

// Slide time stays exact long after start: the absolute time is kept in double until the slide
// time is taken.
TEST_F(SlideShowTest, SlideTimeKeepsItsPrecisionAfterDays) {
  DS_SlideShow_Light& scene = Play(WriteSlides({{}, {}}));
  const double start = 3.0 * 24 * 3600;  // three days of play: a float step is 1/64 s here
  Frame(start);                          // the slide started at start - 1
  Frame(start + 10.0 + 0.4321);          // 0.4321 s into its fade-out
  EXPECT_NEAR(scene.FadeAlpha(), 0.4321f, 1e-4f);
}

// Entries without a slide or without a renderer are passed over; with nothing playable the
// scene draws nothing and the frame stays black.
TEST_F(SlideShowTest, SlidesThatCannotPlayArePassedOver) {
  DS_SlideShow_Light& scene = Play(WriteSlides({{}, {}}));
  scene.slides[0]->renderer = DS_SafePtr<DS_2D_Light>();  // a renderer class that was unknown
  scene.slides.emplace_back();                            // a slide class that was unknown

  EXPECT_EQ(Red(Frame(scene, 5.0)), 255);
  EXPECT_EQ(CurrentIndex(scene), 1);
  // The only playable slide: nothing changes and nothing fades.
  EXPECT_EQ(Red(Frame(scene, 50.0)), 255);
  EXPECT_EQ(CurrentIndex(scene), 1);
  scene.JumpTo(0);
  scene.JumpTo(2);
  EXPECT_EQ(CurrentIndex(scene), 1);

  DS_SlideShow_Light nothing;
  nothing.slides.emplace_back();
  EXPECT_EQ(Frame(nothing, 1.0), 0xFF000000u);
  EXPECT_FALSE(nothing.currentSlide);
}

// A device reset may bring a back buffer of another size (going full screen does): the slide
// that shows is fitted into the new one, and the fade covers all of it.
TEST_F(SlideShowTest, AResetToAnotherBackBufferSizeRefitsTheSlide) {
  DS_SlideShow_Light& scene = Play(WriteSlides({{}, {}}));  // 8 x 4 white pictures
  EXPECT_EQ(Red(Frame(5.0)), 255);

  scene.OnLostDevice();
  gfx::PresentParameters params = device_->GetPresentParameters();
  params.backBufferWidth = width_ = 128;
  params.backBufferHeight = height_ = 96;
  ASSERT_EQ(device_->Reset(params), gfx::kOk);
  GetDeviceValues() = DeviceValues{device_.Get(), width_, height_, 3};
  scene.ResetRenderer(0);

  // Fitted inside: 128 x 64 with bars of 16 rows above and below, half faded out.
  Frame(15.5);
  const auto px = BackBufferPixels();
  for (const auto& [x, y] : {std::pair{1, 17}, {126, 17}, {1, 78}, {126, 78}, {64, 48}})
    EXPECT_NEAR(Red(px[y * 128 + x]), 127, 3) << x << "," << y;
  for (const auto& [x, y] : {std::pair{64, 14}, {64, 81}})
    EXPECT_EQ(px[y * 128 + x] & 0xFFFFFF, 0u) << x << "," << y;
}

// Pictures keep no copy in memory once uploaded (their textures are managed and GL keeps
// their bytes across a loss): after a loss and reset the slide shows exactly what it showed.
TEST_F(SlideShowTest, AResetAfterPicturesDroppedTheirCopiesShowsTheSamePixels) {
  const int w = 32, h = 16;
  gfx_image_test::Words pattern(size_t(w) * h);
  for (size_t i = 0; i < pattern.size(); ++i)
    pattern[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8 & 0xFFFFFF);
  ProjectBuilder project;
  for (int i = 0; i < 2; ++i) {
    DS_SlideContainer& slide = project.AddSlide(1.0f, 10.0f, 1.0f);
    ProjectBuilder::RendererOf(slide)->backgroundLink = project.StorePicture(
        u"pattern.png",
        gfx_image_test::EncodePicture(gfx_image_test::FileKind::Png, w, h, 3, pattern));
  }
  DS_SlideShow_Light& scene = Play(project.Write());
  Frame(5.0);
  const std::vector<uint32_t> before = BackBufferPixels();

  scene.OnLostDevice();
  device_->SimulateLoss();
  device_->EndSimulatedLoss();
  ASSERT_EQ(device_->Reset(device_->GetPresentParameters()), gfx::kOk);
  scene.ResetRenderer(0);
  Frame(5.0);
  EXPECT_EQ(BackBufferPixels(), before);
}

ProbeObject& ProbeOf(const DS_SafePtr<ZKW_RenderObj>& object) {
  return *static_cast<ProbeObject*>(object.Get());
}

// Objects get the time since their slide started; a slide that ends or is left deactivates
// its objects, a slide that starts activates them.
TEST_F(SlideShowTest, ObjectsFollowTheirSlide) {
  ProjectBuilder project;
  for (int i = 0; i < 2; ++i) {
    DS_SlideContainer& slide = project.AddSlide(1.0f, 1.0f, 1.0f);
    ProjectBuilder::RendererOf(slide)->backgroundLink =
        project.StorePicture(u"white.png", SolidPng(0xFFFFFFFF));
    slide.savedObjects.push_back(std::make_unique<ProbeDescription>());
    slide.savedExtraObjects.push_back(std::make_unique<ProbeDescription>());
  }
  DS_SlideShow_Light& scene = project.Root();
  for (const auto& slide : scene.slides)
    slide->Start();
  ProbeObject& first = ProbeOf(scene.slides[0]->objects[0]);
  ProbeObject& firstExtra = ProbeOf(scene.slides[0]->extraObjects[0]);
  ProbeObject& second = ProbeOf(scene.slides[1]->objects[0]);

  Frame(scene, 10.0);
  ASSERT_FALSE(first.updates.empty());
  EXPECT_FLOAT_EQ(first.updates.back(), 1.0f);  // the slide started 1 s (its fade-in) ago
  EXPECT_FALSE(firstExtra.updates.empty());
  EXPECT_TRUE(second.updates.empty());
  EXPECT_EQ(first.activations, std::vector<bool>{true});

  Frame(scene, 12.5);  // 3.5 s in: the slide changes
  EXPECT_EQ(first.activations, (std::vector<bool>{true, false}));
  EXPECT_EQ(firstExtra.activations, (std::vector<bool>{true, false}));
  EXPECT_EQ(second.activations, std::vector<bool>{true});
  EXPECT_FALSE(first.IsActive());
  ASSERT_FALSE(second.updates.empty());

  scene.JumpTo(0);
  EXPECT_EQ(second.activations, (std::vector<bool>{true, false}));
  EXPECT_TRUE(first.IsActive());
}

// Render targets belong to the slide that shows, and only while a pass reads the picture below:
// a plain slide makes none, a slide whose renderer draws off screen makes them on its first
// frame, and they go when another slide takes over, so that playing on holds no more: the next
// slide that draws off screen takes the very textures given back.
TEST_F(SlideShowTest, OnlyTheShowingSlideHoldsRenderTargetsAndOnlyWithReaders) {
  ProjectBuilder project;
  const char16_t* renderers[] = {u"FakeUndervater", u"DS_2D_Light", u"FakeUndervater"};
  for (const char16_t* renderer : renderers) {
    DS_SlideContainer& slide = project.AddSlide(1.0f, 1.0f, 1.0f, renderer);
    ProjectBuilder::RendererOf(slide)->backgroundLink =
        project.StorePicture(u"white.png", SolidPng(0xFFFFFFFF));
  }
  DS_SlideShow_Light& scene = Play(project.Write());
  auto holds = [&](int index) {
    return bool(scene.slides[size_t(index)]->renderer->targets.current);
  };
  EXPECT_FALSE(holds(0) || holds(1) || holds(2)) << "nothing is made before a frame";
  auto textures = [&](int index) {
    std::set<gfx::Texture*> out;
    for (const auto& t : scene.slides[size_t(index)]->renderer->targets.textures)
      out.insert(t.Get());
    return out;
  };
  Frame(10.0);
  EXPECT_TRUE(holds(0));
  const std::set<gfx::Texture*> first = textures(0);
  Frame(12.5);  // the plain slide: no reader
  ASSERT_EQ(CurrentIndex(), 1);
  EXPECT_FALSE(holds(0) || holds(1) || holds(2));
  Frame(15.6);
  ASSERT_EQ(CurrentIndex(), 2);
  EXPECT_TRUE(holds(2));
  EXPECT_EQ(textures(2), first);
  EXPECT_FALSE(holds(0) || holds(1));
  scene.JumpTo(0);
  Frame(15.7);
  EXPECT_TRUE(holds(0));
  EXPECT_FALSE(holds(1) || holds(2));
}

}  // namespace
}  // namespace scene_test
