#include "core/float_to_int.h"
#include "core/scene/ds_abobj.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/document/scene_view.h"
#include "player/render/device_desc.h"
#include "player/render/matrix_values.h"
#include "player/render/render_context.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/light/picture_below_check.h"

namespace {

int ContextFitMode() {
  const RenderContext* context = RenderContextTlsSlot::Get();
  return context != nullptr ? context->fitMode : 1;
}

void ClearTarget(uint32_t colour) {
  if (gfx::Device* d = CurrentDevice())
    d->Clear(0, nullptr, gfx::ClearFlags::Target, colour, 1.0f, 0);
}

// The depth of an object's description in percent; 100 (the picture's) without one.
float DepthOf(const ZKW_RenderObj& object) {
  if (const auto* abObject = dynamic_cast<const DS_ABObj*>(&object)) {
    if (const DS_ABObj_Constructor* description = abObject->Description())
      return static_cast<float>(description->depth.Value());
  }
  return 100.0f;
}

}  // namespace

void DS_2D_Light::PushView(uint32_t width, uint32_t height, int mode) {
  savedFits.push_back(ContextFitMode());
  savedViews.push_back(viewQuad);
  savedFlags.push_back(pushedView);
  pushedView = 1;
  viewQuad.SetRect(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
  camera.ApplyView(viewQuad, PictureSize(), mode, true);
}

void DS_2D_Light::PopView() {
  if (savedViews.empty() || savedFits.empty() || savedFlags.empty()) return;
  viewQuad = savedViews.back();
  const int mode = savedFits.back();
  pushedView = savedFlags.back();
  savedViews.pop_back();
  savedFits.pop_back();
  savedFlags.pop_back();
  camera.ApplyView(viewQuad, PictureSize(), mode, pushedView != 0);
}

void DS_2D_Light::BeginTargets() {
  fitMode = ContextFitMode();
  // Made only now that a pass has readers. Without any size the renderer draws on the frame;
  // its readers read the picture itself.
  if (!targets.current) (void)CreateAtBackBufferMultiple(targets);
  targets.Begin();
  // Without targets the pass draws on the frame as it is, in the frame's view.
  if (!targets.Begun()) return;
  savedTargetViews.push_back({viewQuad, savedViews.size()});
  viewQuad.SetRect(0.0f, 0.0f, static_cast<float>(targets.width),
                   static_cast<float>(targets.height));
  camera.ApplyView(viewQuad, PictureSize(), 3, false);
}

ComRef<gfx::Texture>* DS_2D_Light::EndTargets(bool clear) {
  // Only what BeginTargets redirected is ended; the frame and the view stay otherwise.
  if (!targets.Begun()) return &targets.current;
  targets.End(clear);
  if (!savedTargetViews.empty()) {
    const SavedTargetView saved = savedTargetViews.back();
    savedTargetViews.pop_back();
    viewQuad = saved.view;
    // Views pushed inside the pass would pop back into the targets' view.
    for (size_t i = saved.pushDepth; i < savedViews.size() && i < savedFits.size(); ++i) {
      savedViews[i] = saved.view;
      savedFits[i] = fitMode;
    }
  }
  camera.ApplyView(viewQuad, PictureSize(), fitMode, false);
  return &targets.current;
}

ComRef<gfx::Texture>* DS_2D_Light::FlipTarget(bool clear) {
  const int previous = targets.currentIndex;
  // Without begun targets a flip would take drawing away from the frame.
  if (targets.Begun()) {
    targets.Select(targets.OtherIndex());
    if (clear) ClearTarget(0x00000000);
  }
  return &targets.textures[previous];
}

void DS_2D_Light::DrawWithBackgroundQuad(gfx::Texture* texture) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr || !background.vertices.buffer) return;
  SetViewProjection();
  RenderContext* context = RenderContextTlsSlot::Get();
  const WithoutParallax atPictureDepth(context);
  if (context != nullptr) context->SetWorldTransform(background.node.world);
  d->SetTexture(0, texture);
  d->SetFVF(gfx::Fvf::Xyz | gfx::Fvf::Tex1);
  d->SetStreamSource(0, background.vertices.buffer.Get(), 0, 20);
  d->DrawPrimitive(background.primitiveType, 0, background.primitiveCount);
}

void DS_2D_Light::SwitchTarget(int* readerCount, bool clear) {
  if (readerCount != nullptr) --*readerCount;
  if (!targets.Begun()) {
    // Nothing was redirected: the reader draws on the frame and reads what it has.
  } else if (readerCount != nullptr && *readerCount > 0) {
    targets.Select(targets.OtherIndex());
    if (clear) ClearTarget(0x00000000);
    targetTexture = targets.textures[targets.OtherIndex()];
  } else {
    const ComRef<gfx::Texture> old = targetTexture;
    EndTargets(true);
    targetTexture = targets.current;
    if (!clear) DrawWithBackgroundQuad(old.Get());
  }
  if (clear) {
    renderFlags |= kFreshTarget;
  } else {
    renderFlags &= ~kLayerSplit;
  }
}

void DS_2D_Light::FinishTargets() {
  if (!targets.Begun() || NeedsOffscreenPass()) return;
  EndTargets(true);
  targetTexture = targets.current;
  DrawWithBackgroundQuad(targets.current.Get());
}

void DS_2D_Light::SetViewQuad(const QuadCorners& quad) {
  if (pushedView == 0) viewQuad = quad;
  camera.ApplyView(viewQuad, PictureSize(), ContextFitMode(), pushedView != 0);
  const int w = SaturatingTruncate<int>(viewQuad.corners[3].x - viewQuad.corners[0].x);
  const int h = SaturatingTruncate<int>(viewQuad.corners[2].y - viewQuad.corners[1].y);
  QuadCorners fitted;
  FitQuadToTarget(fitted, PictureSize(), w, h);
  fitted.ScaleToBackBuffer(w, h);
  gfx::SurfaceDesc backBuffer;
  GetBackBufferDesc(backBuffer);
  SceneView& view = *GetSceneView();
  view.scaleX = w > 0 ? static_cast<float>(backBuffer.width) / static_cast<float>(w) : 0.0f;
  view.scaleY = h > 0 ? static_cast<float>(backBuffer.height) / static_cast<float>(h) : 0.0f;
  view.quad = fitted;
  view.pictureWidth = picture.width;
  view.pictureHeight = picture.height;
}

void DS_2D_Light::SetFitMode(int mode) {
  fitMode = mode;
  camera.ApplyView(viewQuad, PictureSize(), mode, pushedView != 0);
  DS_2D_Light::SetViewQuad(viewQuad);
}

void DS_2D_Light::DrawBackground(void*) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  SetViewProjection();
  if (RenderContext* context = RenderContextTlsSlot::Get()) {
    context->cameraOffsetTranslation = IdentityMatrix();
    context->SetWorldTransform(background.node.world);
  }
  d->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1.0f, 0);
  d->SetTexture(0, background.texture.Get());
  if (!background.vertices.buffer) return;
  d->SetFVF(gfx::Fvf::Xyz | gfx::Fvf::Tex1);
  d->SetStreamSource(0, background.vertices.buffer.Get(), 0, 20);
  d->DrawPrimitive(background.primitiveType, 0, background.primitiveCount);
}

void DS_2D_Light::RenderObjects(const RuntimeObjectList& objects, int count) {
  targetTexture = GetTargetTexture();
  RuntimeObjectList walk;
  for (const DS_SafePtr<ZKW_RenderObj>& handle : objects) {
    auto* abObject = dynamic_cast<DS_ABObj*>(handle.Get());
    if (abObject != nullptr && abObject->ExpandForRender(&walk)) continue;
    walk.push_back(handle);
  }

  renderFlags = 0;
  bool layer = false;
  RenderContext* context = RenderContextTlsSlot::Get();
  gfx::Device* d = CurrentDevice();
  for (size_t i = walk.size(); i-- > 0;) {
    ZKW_RenderObj* object = walk[i].Get();
    if (object == nullptr) continue;
    // The nearest object drawn after this one that counts: inactive copy-needers are skipped.
    bool nextNeedsCopy = false;
    for (size_t j = i; j-- > 0;) {
      const ZKW_RenderObj* next = walk[j].Get();
      if (next == nullptr || (!next->IsActive() && next->NeedsTargetCopy())) continue;
      nextNeedsCopy = next->NeedsTargetCopy();
      break;
    }
    const bool copy = object->NeedsTargetCopy();
    const int below = object->NeedsPictureBelow();
    const int readersBefore = count;
    if (below == 0 && nextNeedsCopy && !copy) {
      // The picture so far goes aside; a layer is drawn on a cleared texture.
      if (targets.Begun()) {
        targets.Flip(true);
        renderFlags |= kLayerSplit;
        layer = true;
      }
    } else if (layer && !nextNeedsCopy && copy) {
      targetTexture = *targets.Flip(false);
      renderFlags &= ~kLayerSplit;
      layer = false;
    }
    if (object->IsActive()) {
      if (copy) {
        SwitchTarget(&count, nextNeedsCopy);
        if (renderFlags & kKeepsCopy) renderFlags |= kSourceOne;
      }
      if (context != nullptr)
        context->cameraOffsetTranslation = context->ParallaxAt(DepthOf(*object));
      object->Render(*this, &count);
      const bool keeps = nextNeedsCopy && (copy || object->KeepsTargetCopy());
      renderFlags = keeps ? renderFlags | kKeepsCopy : renderFlags & ~kKeepsCopy;
      renderFlags &= ~(kFreshTarget | kSourceOne);
    }
    if constexpr (kChecksPictureBelowContract)
      CheckPictureBelowContract(*object, object->IsActive(), below, readersBefore - count);
    if (!nextNeedsCopy) targetTexture = GetTargetTexture();
    if (d != nullptr) {
      d->SetRenderState(gfx::RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
      d->SetRenderState(gfx::RenderState::SrcBlend, gfx::Blend::SrcAlpha);
    }
  }
  renderFlags = 0;
  // A reader that never switched must not leave the frame off screen.
  FinishTargets();
}
