// The demo's links clicked as a viewer clicks them: the pointer moved over the middle of the line
// a link draws and its button pressed, both through SDL's event queue and the player's window
// procedure, with the picture fitted into windows that leave bars at its sides or above and
// below it.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "core/scene/ds_abobj.h"
#include "objects/text3d/ds_text_link.h"
#include "objects/text3d/ds_text_link_constructor.h"
#include "platform/app/dxut.h"
#include "platform/gfx/surface_pixels.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/shell/device_callbacks.h"
#include "player/support/player_fixture.h"

namespace scene_test {
namespace {

class WindowLinksTest : public PlayerTest {
 protected:
  // One frame at scene time t through the player's frame callbacks; answers the back buffer.
  std::vector<uint32_t> Frame(double t) {
    OnFrameMove(t, 0.0f, nullptr);
    gfx::Device* device = app::DXUTGetD3D9Device();
    OnD3D9FrameRender(device, t, 0.0f, nullptr);
    return gfx_test::BackBufferPixels(device);
  }

  // The middle of what only `link` draws on its slide at time t: the slide's frame with the
  // link alone against the frame with nothing on it.
  std::optional<app::WindowSize> DrawnMiddle(DS_SlideContainer& slide, const ZKW_RenderObj* link,
                                             double t) {
    for (const auto& object : slide.objects)
      object->SetActive(object.Get() == link);
    const std::vector<uint32_t> alone = Frame(t);
    for (const auto& object : slide.objects)
      object->SetActive(false);
    const std::vector<uint32_t> bare = Frame(t);
    slide.SetObjectsActive(true);
    Frame(t);
    const int width = window_->ClientSize().width;
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (size_t i = 0; i < alone.size(); ++i) {
      int most = 0;
      for (int shift : {0, 8, 16})
        most = std::max(most,
                        std::abs(int((alone[i] >> shift) & 0xFF) - int((bare[i] >> shift) & 0xFF)));
      if (most < 64) continue;
      const int x = int(i % size_t(width)), y = int(i / size_t(width));
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
    if (right < 0) return std::nullopt;
    return app::WindowSize{(left + right) / 2, (top + bottom) / 2};
  }

  // Moves the pointer to `at` in the window and presses the left button there, through SDL's
  // queue to the window procedure; answers whether the hand showed over the point. (The
  // offscreen driver gives a pointer no window: the events name the window themselves.)
  bool Click(app::WindowSize at) {
    SDL_WarpMouseInWindow(window_->Sdl(), at.width, at.height);
    app::SetCursor(app::Cursor::Arrow);
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SDL_GetWindowID(window_->Sdl());
    event.motion.x = at.width;
    event.motion.y = at.height;
    SDL_PushEvent(&event);
    for (const app::Message& m : Messages())
      app::DispatchMessage(m);
    const bool hand = app::CurrentCursor() == app::Cursor::Hand;
    event = SDL_Event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.windowID = SDL_GetWindowID(window_->Sdl());
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = SDL_PRESSED;
    event.button.x = at.width;
    event.button.y = at.height;
    SDL_PushEvent(&event);
    for (const app::Message& m : Messages())
      app::DispatchMessage(m);
    return hand;
  }
};

// The slide a run-time object leads to when it is a text link (sprite or quad).
std::optional<unsigned> LinkTarget(const ZKW_RenderObj* object) {
  const auto* made = dynamic_cast<const DS_ABObj*>(object);
  const DS_ABObj_Constructor* description = made != nullptr ? made->Description() : nullptr;
  if (const auto* quad = dynamic_cast<const DS_TextLink*>(description))
    return quad->targetSlide.Value();
  if (const auto* sprite = dynamic_cast<const DS_TextLinkConstructor*>(description))
    return sprite->targetSlide.Value();
  return std::nullopt;
}

int IndexOf(const DS_SlideShow_Light& scene, const DS_SlideContainer* slide) {
  for (size_t i = 0; i < scene.slides.size(); ++i)
    if (scene.slides[i].Get() == slide) return int(i);
  return -1;
}

// Every link of the menu, and the link back on each slide it leads to (one of them under a
// drifting, zoomed camera), is hit where it is drawn: the pointer over the middle of its line
// shows the hand, and a click there shows the link's slide.
TEST_F(WindowLinksTest, AClickOnALinksLineShowsItsSlide) {
  struct Case {
    app::WindowSize window;
    int fitMode;
  };
  const Case cases[] = {
      {{960, 300}, 1},   // bars left and right of the picture
      {{1280, 720}, 1},  // bars above and below it
      {{800, 360}, 2},   // the picture fills the window, a little of it cropped above and below
      {{1280, 720}, 0},  // the picture stretched over the window
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.window.width << " x " << c.window.height << ", fit mode " << c.fitMode);
    GetScenePlayer().Shutdown();
    ASSERT_TRUE(Start(std::nullopt, c.window));
    // The offscreen driver has no desktop pointer: with the window at the desktop's origin,
    // the pointer's desktop position is its position in the window.
    SDL_SetWindowPosition(window_->Sdl(), 0, 0);
    DS_SlideShow_Light& scene = *GetScenePlayer().scene;
    for (const auto& slide : scene.slides)
      slide->SetFitMode(c.fitMode);
    double t = 1.0;
    Frame(t);

    // The menu is the last slide; then each slide its links lead to.
    std::vector<unsigned> slides = {unsigned(scene.slides.size() - 1)};
    for (const auto& object : scene.slides.back()->objects)
      if (const auto target = LinkTarget(object.Get())) slides.push_back(*target);
    ASSERT_EQ(slides.size(), 4u) << "three links on the menu";
    for (const unsigned index : slides) {
      DS_SlideContainer& slide = *scene.slides.at(index);
      for (const auto& object : slide.objects) {
        const auto target = LinkTarget(object.Get());
        if (!target) continue;
        SCOPED_TRACE(testing::Message() << "the link from slide " << index << " to " << *target);
        // After the slide's fade-in.
        scene.JumpTo(index);
        t += 3.0;
        const auto middle = DrawnMiddle(slide, object.Get(), t);
        ASSERT_TRUE(middle) << "the link is drawn";
        SCOPED_TRACE(testing::Message()
                     << "drawn about (" << middle->width << ", " << middle->height << ")");
        EXPECT_TRUE(Click(*middle)) << "the hand over the link";
        EXPECT_EQ(IndexOf(scene, scene.currentSlide.Get()), int(*target));
        t += 1.0;
        Frame(t);
      }
    }
  }
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace scene_test
