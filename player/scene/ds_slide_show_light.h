#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/ds_safe_ptr.h"
#include "core/object/ds_iof_item.h"
#include "core/param/media_param_tb.h"
#include "player/render/quad_corners.h"

class ColorQuadMesh;
class DS_2D_Light;
class DS_AudioFile;
class DS_SlideContainer;
class RenderContext;

// The root of a played scene: its slides and its music playlist. Every frame it decides which
// slide shows and how far it has faded in or out, animates that slide, and draws it with a black
// fade overlay on top. Main thread only.
//
// The first slide opens without a fade; every later one fades in from black, holds, fades out and
// gives way to the next (after the last the first follows again). A slide whose mode is
// DS_SlideContainer::kStays stays until a jump; a show of one slide never fades. Slide entries
// without a slide or without a renderer are passed over; with none playable nothing is drawn.
class DS_SlideShow_Light : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 2;

  DS_SlideShow_Light();
  ~DS_SlideShow_Light() override;
  DS_SlideShow_Light(const DS_SlideShow_Light&) = delete;
  DS_SlideShow_Light& operator=(const DS_SlideShow_Light&) = delete;

  // "DS_SlideShow_Light" version 2: the slides, the playlist, the setting.
  bool Save(DS_IOF_Archive& archive) const override;
  // The current slide and the fade overlay; `arg` is handed on to the slide's pass.
  virtual void Render(int arg);
  // Every slide drops its device objects.
  virtual void OnLostDevice();
  // The current slide's renderer views the back buffer as it is after the reset and sets its
  // default device state again; the fade overlay covers the new back buffer.
  virtual void ResetRenderer(unsigned arg);
  // One frame at absolute time `time` in seconds: the chrono clock, the slide timing and fade,
  // then the renderer and every object with the time since the slide started.
  virtual void Update(double time);
  // Makes the current slide ready to play from its start.
  virtual void RestartSlide();
  // The whole back buffer in pixels.
  virtual QuadCorners& GetScreenQuad(QuadCorners& out);

  // The scene takes the render context over and makes it the thread's current one.
  void AttachRenderContext(std::unique_ptr<RenderContext> context);
  // Shows slide `index` from its start; an index past the slides, or of a slide that cannot
  // play, is ignored.
  void JumpTo(unsigned index);
  // Whether JumpTo(index) would show a slide.
  bool CanJumpTo(unsigned index) const;

  // The overlay's alpha: 0 shows the slide, 1 hides it in black.
  float FadeAlpha() const { return fadeAlpha_; }

  DS_SafePtr<DS_SlideContainer> currentSlide;
  std::vector<DS_SafePtr<DS_SlideContainer>> slides;
  std::vector<DS_SafePtr<DS_AudioFile>> playlist;
  // Kept and written back; the player gives it no meaning.
  MediaParamTB<int> setting{1};
  // Absolute times stay double: a float would lose the slide time's precision after hours.
  double slideStart = 0.0;
  unsigned nextSlide = 1;
  std::unique_ptr<ColorQuadMesh> fadeOverlay;
  double currentTime = 0.0;
  DS_SafePtr<RenderContext> renderContext;

 private:
  // The first playable slide from `from` on, wrapping; the slide count when none can play.
  size_t NextPlayable(size_t from) const;
  size_t PlayableCount() const;
  void SetFade(float alpha);
  // The renderer's view becomes the whole back buffer (when there is one).
  static void ViewBackBuffer(DS_2D_Light& renderer);

  float fadeAlpha_ = 0.0f;
};

// Reads a Dword count, then that many slide records by class name. An entry whose class is not
// registered stays in the list as an empty handle (and the stream stops there).
void ReadSlides(DS_IOF_Archive& archive, std::vector<DS_SafePtr<DS_SlideContainer>>& slides);

// Shows slide `index` of the player's scene (text links call it when clicked).
void JumpToSlide(unsigned index);
