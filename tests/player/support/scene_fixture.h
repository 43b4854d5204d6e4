#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/chrono/chrono_clock.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx_image/picture_bytes.h"
#include "player/document/doc_res_manager.h"
#include "player/project/load_project.h"
#include "player/render/render_context.h"
#include "player/render/render_fixture.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/support/every_class.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/project_builder.h"

namespace scene_test {

// A PNG of one colour (0xAARRGGBB).
inline std::vector<uint8_t> SolidPng(uint32_t colour, int width = 8, int height = 4) {
  return gfx_image_test::EncodePicture(gfx_image_test::FileKind::Png, width, height, 4,
                                       gfx_image_test::Words(size_t(width) * height, colour));
}

// The timing of one slide of a written project.
struct SlideSpec {
  float fadeIn = 1.0f;
  float hold = 10.0f;
  float fadeOut = 1.0f;
  int mode = 0;
  uint32_t colour = 0xFFFFFFFF;  // of its background picture
};

// Writes a project whose slides have plain renderers and one-colour backgrounds.
inline std::vector<uint8_t> WriteSlides(const std::vector<SlideSpec>& specs) {
  ProjectBuilder project;
  for (const SlideSpec& spec : specs) {
    DS_SlideContainer& slide = project.AddSlide(spec.fadeIn, spec.hold, spec.fadeOut);
    slide.mode.SetValueSilently(spec.mode);
    ProjectBuilder::RendererOf(slide)->backgroundLink =
        project.StorePicture(u"slide.png", SolidPng(spec.colour));
  }
  return project.Write();
}

// A headless device with a render context, a chrono clock and a private folder for project
// files; scenes are loaded from those files and driven with a fixed clock.
class SceneTest : public render_test::RenderTest {
 protected:
  SceneTest() : RenderTest(64, 32) {}

  void SetUp() override {
    RenderTest::SetUp();
    // Colour only, as the player's device draws from start-up on.
    device_->SetRenderState(gfx::RenderState::ColorWriteEnable, 7);
    RegisterEveryClass();
    RenderContextTlsSlot::Set(&context_);
    ChronoTlsSlot::Set(&clock_);
    static int counter = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("scene_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(folder_);
  }

  void TearDown() override {
    scene_.reset();
    DocumentTlsSlot::Reset();
    RenderContextTlsSlot::Set(nullptr);
    ChronoTlsSlot::Set(nullptr);
    std::filesystem::remove_all(folder_);
    RenderTest::TearDown();
  }

  std::filesystem::path Save(const std::vector<uint8_t>& bytes,
                             const std::string& name = "project.bin") {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
  }

  // Loads the bytes as a project and starts every slide.
  DS_SlideShow_Light& Play(const std::vector<uint8_t>& bytes) {
    scene_.reset();
    scene_ = LoadProject(Save(bytes));
    for (const auto& slide : scene_->slides)
      if (slide) slide->Start();
    return *scene_;
  }

  // One frame at absolute time t, as the player draws it; answers the centre pixel.
  uint32_t Frame(DS_SlideShow_Light& scene, double t) {
    scene.Update(t);
    EXPECT_EQ(device_->BeginScene(), gfx::kOk);
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1.0f, 0);
    scene.Render(0);
    device_->EndScene();
    return BackBufferPixels()[(height_ / 2) * width_ + width_ / 2];
  }
  uint32_t Frame(double t) { return Frame(*scene_, t); }

  // The back buffer's pixels whose colour differs from its first pixel's (objects drawn over a
  // picture of one colour).
  size_t PixelsUnlikeTheFirst() {
    const std::vector<uint32_t> pixels = BackBufferPixels();
    size_t count = 0;
    for (const uint32_t pixel : pixels)
      count += (pixel & 0xFFFFFF) != (pixels.front() & 0xFFFFFF);
    return count;
  }

  // The index of the current slide in the scene's list.
  static int CurrentIndex(const DS_SlideShow_Light& scene) {
    for (size_t i = 0; i < scene.slides.size(); ++i)
      if (scene.slides[i] && scene.slides[i] == scene.currentSlide) return int(i);
    return -1;
  }
  int CurrentIndex() const { return CurrentIndex(*scene_); }

  // Plays `scene` as the tests of a demo slide do: a frame at 0.5 s, a jump to the slide named
  // `name`, then frames every 0.05 s up to 3.5 s. Answers that slide's index, or the slide count
  // (nothing played) when no slide has the name.
  size_t PlayDemoSlide(DS_SlideShow_Light& scene, const zkw_string& name) {
    size_t index = scene.slides.size();
    for (size_t i = 0; i < scene.slides.size(); ++i)
      if (scene.slides[i] && scene.slides[i]->name.Value() == name) index = i;
    if (index == scene.slides.size()) return index;
    Frame(scene, 0.5);
    scene.JumpTo(index);
    for (double t = 0.5; t < 3.5; t += 0.05)
      Frame(scene, t);
    return index;
  }

  // The last run-time object of kind T on slide `index`; null when there is none.
  template <class T>
  static T* FindObject(const DS_SlideShow_Light& scene, size_t index) {
    T* found = nullptr;
    for (const auto& object : scene.slides.at(index)->objects)
      if (auto* typed = dynamic_cast<T*>(object.Get())) found = typed;
    return found;
  }

  // Plays the demo slide named `name` (PlayDemoSlide) and answers its last run-time object of
  // kind T; null when there is no such slide or object.
  template <class T>
  T* PlayDemoObject(DS_SlideShow_Light& scene, const zkw_string& name) {
    const size_t index = PlayDemoSlide(scene, name);
    return index < scene.slides.size() ? FindObject<T>(scene, index) : nullptr;
  }

  RenderContext context_;
  ChronoClock clock_;
  std::filesystem::path folder_;
  std::unique_ptr<DS_SlideShow_Light> scene_;
};

// The red channel of a 0xAARRGGBB pixel.
inline int Red(uint32_t pixel) {
  return int((pixel >> 16) & 0xFF);
}

}  // namespace scene_test
