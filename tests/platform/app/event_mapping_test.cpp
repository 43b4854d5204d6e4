#include "platform/app/event_mapping.h"

#include <gtest/gtest.h>

#include "platform/audio/music_graph.h"

namespace {

SDL_Event Key(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.windowID = 7;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  return e;
}

SDL_Event Button(Uint8 button, int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.windowID = 7;
  e.button.button = button;
  e.button.x = x;
  e.button.y = y;
  return e;
}

SDL_Event WindowEvent(Uint8 what) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = 7;
  e.window.event = what;
  return e;
}

TEST(EventMapping, KeysThatCloseAndKeysThatDoNot) {
  const struct {
    SDL_Keycode sym;
    Uint16 mod;
    uint32_t message;
  } cases[] = {
      {SDLK_a, KMOD_NONE, app::msg::KeyDown},        {SDLK_ESCAPE, KMOD_NONE, app::msg::KeyDown},
      {SDLK_LSHIFT, KMOD_LSHIFT, app::msg::KeyDown}, {SDLK_SPACE, KMOD_CTRL, app::msg::KeyDown},
      {SDLK_F4, KMOD_NONE, app::msg::KeyDown},       {SDLK_a, KMOD_LALT, app::msg::SysKeyDown},
      {SDLK_F4, KMOD_RALT, app::msg::SysKeyDown},    {SDLK_LALT, KMOD_NONE, app::msg::SysKeyDown},
      {SDLK_F10, KMOD_NONE, app::msg::SysKeyDown},
  };
  for (const auto& c : cases) {
    const auto m = app::MapEvent(Key(c.sym, c.mod));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->message, c.message) << SDL_GetKeyName(c.sym) << " mod " << c.mod;
    EXPECT_EQ(m->sdlWindowId, 7u);
  }
}

TEST(EventMapping, MouseWindowAndUserEvents) {
  auto m = app::MapEvent(Button(SDL_BUTTON_LEFT, 10, 21), 2.0f, 1.5f);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->message, app::msg::LButtonDown);
  EXPECT_EQ(app::PointX(m->lParam), 20) << "drawable pixels";
  EXPECT_EQ(app::PointY(m->lParam), 31);
  EXPECT_FALSE(app::MapEvent(Button(SDL_BUTTON_RIGHT, 1, 1)));

  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  m = app::MapEvent(motion);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->message, app::msg::SetCursor);
  EXPECT_EQ(m->lParam & 0xFFFF, app::kHitClient);

  EXPECT_EQ(app::MapEvent(WindowEvent(SDL_WINDOWEVENT_EXPOSED))->message, app::msg::Paint);
  EXPECT_EQ(app::MapEvent(WindowEvent(SDL_WINDOWEVENT_CLOSE))->message, app::msg::Close);
  EXPECT_FALSE(app::MapEvent(WindowEvent(SDL_WINDOWEVENT_MOVED)));
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_TRUE(app::MapEvent(quit)->allWindows);

  int target = 0;
  SDL_Event music{};
  music.type = audio::MusicEventType();
  music.user.data2 = &target;
  m = app::MapEvent(music);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->message, app::msg::Music);
  EXPECT_EQ(m->target, &target);

  SDL_Event command{};
  command.type = app::CommandEventType();
  command.user.code = int(app::kCloseCommand);
  command.user.data1 = &target;
  m = app::MapEvent(command);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->message, app::msg::Command);
  EXPECT_EQ(m->wParam, app::kCloseCommand);
}

}  // namespace
