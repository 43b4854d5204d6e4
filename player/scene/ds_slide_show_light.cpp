#include "player/scene/ds_slide_show_light.h"

#include "core/chrono/chrono_clock.h"
#include "core/registry/read_by_name.h"
#include "core/scene/zkw_render_obj.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/music/ds_audio_file.h"
#include "player/render/color_quad_mesh.h"
#include "player/render/device_desc.h"
#include "player/render/render_context.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"

DS_SlideShow_Light::DS_SlideShow_Light() : renderContext(std::unique_ptr<RenderContext>()) {}

DS_SlideShow_Light::~DS_SlideShow_Light() {
  fadeOverlay.reset();
  // The thread must not keep pointing at a context that goes with this scene.
  if (renderContext.Count() == 1 && RenderContextTlsSlot::Get() == renderContext.Get())
    RenderContextTlsSlot::Set(nullptr);
  renderContext.Release();
}

bool DS_SlideShow_Light::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_SlideShow_Light", kVersion);
  DS_IOF_Virtual& io = archive.io();
  uint32_t count = 0;
  for (const auto& slide : slides)
    if (slide) ++count;
  io.WriteDword(count);
  for (const auto& slide : slides)
    if (slide) slide->Save(archive);
  count = 0;
  for (const auto& track : playlist)
    if (track) ++count;
  io.WriteDword(count);
  for (const auto& track : playlist)
    if (track) track->Save(archive);
  io.WriteInt32(setting.Value());
  return true;
}

size_t DS_SlideShow_Light::NextPlayable(size_t from) const {
  const size_t n = slides.size();
  for (size_t i = 0; i < n; ++i) {
    const size_t at = (from + i) % n;
    if (slides[at] && slides[at]->Playable()) return at;
  }
  return n;
}

size_t DS_SlideShow_Light::PlayableCount() const {
  size_t count = 0;
  for (const auto& slide : slides)
    if (slide && slide->Playable()) ++count;
  return count;
}

void DS_SlideShow_Light::SetFade(float alpha) {
  fadeAlpha_ = alpha;
  if (fadeOverlay) fadeOverlay->SetCornerAlphas(alpha, alpha, alpha, alpha);
}

void DS_SlideShow_Light::Update(double time) {
  TickChronoClock(ChronoTlsSlot::Get(), time);
  currentTime = time;

  if (currentSlide && fadeOverlay) {
    if (PlayableCount() >= 2) {
      const DS_SlideContainer* slide = currentSlide.Get();
      int mode = slide->mode.Value();
      float fadeIn = slide->fadeIn.Value();
      float hold = slide->hold.Value();
      float fadeOut = slide->fadeOut.Value();
      if (mode != DS_SlideContainer::kStays && time - slideStart > (fadeOut + hold) + fadeIn) {
        if (DS_SafePtr<DS_2D_Light> r = currentSlide->renderer) r->PopView();
        currentSlide->SetObjectsActive(false);
        const size_t next = NextPlayable(nextSlide);
        currentSlide = slides[next];
        slideStart = time;
        nextSlide = next + 1 < slides.size() ? static_cast<unsigned>(next + 1) : 0;
        RestartSlide();
        slide = currentSlide.Get();
        mode = slide->mode.Value();
        fadeIn = slide->fadeIn.Value();
        hold = slide->hold.Value();
        fadeOut = slide->fadeOut.Value();
      }
      const double e = time - slideStart;
      float alpha = 0.0f;
      if (fadeIn > e) {
        alpha = static_cast<float>((fadeIn - e) / fadeIn);
      } else if (mode != DS_SlideContainer::kStays && e > fadeIn + hold) {
        alpha = static_cast<float>((e - (fadeIn + hold)) / fadeOut);
      }
      SetFade(alpha);
    }
  } else {
    if (currentSlide) {
      if (DS_SafePtr<DS_2D_Light> r = currentSlide->renderer) r->PopView();
    }
    const size_t first = NextPlayable(0);
    if (first == slides.size()) {
      currentSlide = DS_SafePtr<DS_SlideContainer>();
      return;
    }
    currentSlide = slides[first];
    slideStart = time - currentSlide->fadeIn.Value();
    nextSlide = first + 1 < slides.size() ? static_cast<unsigned>(first + 1) : 0;
    RestartSlide();
    fadeOverlay = std::make_unique<ColorQuadMesh>();
    QuadCorners screen;
    fadeOverlay->InitScreen(GetScreenQuad(screen), 0x00000000);
    fadeAlpha_ = 0.0f;
  }

  const float e = static_cast<float>(time - slideStart);
  DS_SafePtr<DS_SlideContainer> slide = currentSlide;
  if (DS_SafePtr<DS_2D_Light> r = slide->renderer) r->Update(e);
  for (const RuntimeObjectList* list : {&slide->objects, &slide->extraObjects}) {
    const RuntimeObjectList walk = *list;
    for (const auto& object : walk)
      if (object) object->AdvanceTime(e);
  }
}

void DS_SlideShow_Light::Render(int arg) {
  DS_SafePtr<DS_SlideContainer> slide = currentSlide;
  if (!slide) return;
  DS_SafePtr<DS_2D_Light> r = slide->renderer;
  if (!r) return;
  slide->RenderPass(slide->objects, arg);
  r->Compose(nullptr);
  // A clear overlay changes no pixel: it is drawn only while the slide fades.
  if (fadeOverlay && fadeAlpha_ > 0.0f) r->DrawFadeOverlay(fadeOverlay.get());
  if (gfx::Device* device = CurrentDevice())
    device->SetRenderState(gfx::RenderState::AlphaBlendEnable, 0);
}

void DS_SlideShow_Light::OnLostDevice() {
  for (const auto& slide : slides)
    if (slide) slide->OnLostDevice();
}

void DS_SlideShow_Light::ResetRenderer(unsigned) {
  if (!currentSlide) return;
  DS_SafePtr<DS_2D_Light> r = currentSlide->renderer;
  if (!r) return;
  // The back buffer may have changed its size (going full screen does): the slide's view and
  // the fade follow it.
  ViewBackBuffer(*r);
  if (fadeOverlay) {
    QuadCorners screen;
    fadeOverlay->InitScreen(GetScreenQuad(screen), 0x00000000);
    fadeOverlay->SetCornerAlphas(fadeAlpha_, fadeAlpha_, fadeAlpha_, fadeAlpha_);
  }
  r->ResetDeviceState();
}

void DS_SlideShow_Light::ViewBackBuffer(DS_2D_Light& renderer) {
  gfx::SurfaceDesc backBuffer;
  if (GetBackBufferDesc(backBuffer).width == 0) return;
  QuadCorners view;
  view.FromBackBuffer();
  renderer.SetViewQuad(view);
}

void DS_SlideShow_Light::RestartSlide() {
  DS_SafePtr<DS_SlideContainer> slide = currentSlide;
  if (!slide) return;
  // Only the showing slide draws: the others' render targets go until they show again.
  for (const auto& other : slides)
    if (other && other != slide && other->renderer && other->renderer != slide->renderer)
      other->renderer->ReleaseTargets();
  DS_SafePtr<DS_2D_Light> r = slide->renderer;
  if (!r) return;
  ViewBackBuffer(*r);
  r->EnableCamera(true);
  const RuntimeObjectList walk = slide->objects;
  for (const auto& object : walk)
    if (object) object->OnSlideRestart();
  r->ResetDeviceState();
  slide->SetObjectsActive(true);
}

QuadCorners& DS_SlideShow_Light::GetScreenQuad(QuadCorners& out) {
  out.FromBackBuffer();
  return out;
}

void DS_SlideShow_Light::AttachRenderContext(std::unique_ptr<RenderContext> context) {
  if (context) renderContext = DS_SafePtr<RenderContext>(std::move(context));
  if (renderContext) RenderContextTlsSlot::Set(renderContext.Get());
}

bool DS_SlideShow_Light::CanJumpTo(unsigned index) const {
  return index < slides.size() && slides[index] && slides[index]->Playable();
}

void DS_SlideShow_Light::JumpTo(unsigned index) {
  if (!CanJumpTo(index)) return;
  if (currentSlide) currentSlide->SetObjectsActive(false);
  currentSlide = slides[index];
  nextSlide = index + 1 < slides.size() ? index + 1 : 0;
  slideStart = currentTime;
  RestartSlide();
}

void ReadSlides(DS_IOF_Archive& archive, std::vector<DS_SafePtr<DS_SlideContainer>>& slides) {
  // An empty class name and a version: the least a slide record takes.
  constexpr uint64_t kMinRecordBytes = 8;
  uint32_t count = 0;
  archive.io().ReadDword(count);
  if (!archive.io().CountFits(count, kMinRecordBytes)) {
    return;
  }
  for (uint32_t i = 0; i < count && !archive.Failed(); ++i)
    slides.emplace_back(ReadByName(archive, GetSlideReaderRegistry()));
}
