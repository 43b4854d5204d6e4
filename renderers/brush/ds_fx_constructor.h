#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/com_ref.h"
#include "core/guid.h"
#include "core/link/ds_file_link.h"
#include "core/param/media_param_t.h"
#include "core/param/media_quad.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "core/scene/ds_abobj_constructor.h"
#include "core/scene/zkw_render_obj.h"
#include "core/zkw_string.h"
#include "platform/gfx/effect/effect.h"
#include "platform/gfx/texture.h"
#include "platform/math/d3dx_types.h"
#include "player/render/warp_grid_mesh.h"

class DS_2D_Light;

// The saved form of a brush: a scene object that redraws the picture drawn so far in its slide
// through an effect, once per frame, limited by a mask picture. It carries what every brush
// shares (speed and its clock, mode, effect link, scale, angle, mask quad and mask picture) and
// the binders that set the shared effect parameters and draw through the slide renderer, the
// brush's canvas. Kinds add their own parameters and Draw. Renderers embed some kinds (the
// underwater and fire brushes) and drive them themselves.
//
// Effect parameters are set by name on every draw. A brush whose effect cannot be had sets
// nothing and draws nothing.
class DS_FX_Constructor : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 4;

  DS_FX_Constructor();
  DS_FX_Constructor(const DS_FX_Constructor& other) = default;
  DS_FX_Constructor& operator=(const DS_FX_Constructor&) = delete;
  ~DS_FX_Constructor() override;

  // "DS_FX_Constructor" version 4: speed, mode, mask id, name and flag, effect link, scale,
  // mask quad and its tag, angle, then the "DS_ABObj_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The body of versions 1-4: version 1 has no scale, versions below 3 no mask quad and tag,
  // versions below 4 no angle (which becomes 0). Answers the description's read.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Phase and last time back to 0: the next Tick steps by at most 0.2 s from time 0.
  void Restart() override;
  // Brushes are scene objects of their own only as registered kinds; the brushes embedded in
  // renderers make no run-time object.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override { return nullptr; }

  // Takes the effect of the effect link from the current document (null when there is none) and
  // the mask texture from `maskSlot`.
  virtual void Prepare(ComRef<gfx::Texture>* maskSlot);
  // Stretches the grid over the mask quad, each vertex textured at its own scene position;
  // nothing before the grid has buffers.
  virtual void UpdateMaskQuad();
  // Advances the phase by the scaled speed x the time since the last tick (at most 0.2 s; 0 on
  // the first tick and when time goes backwards).
  virtual void Tick(float time);
  // Sets the kind's effect parameters and draws onto the canvas.
  virtual void Draw(DS_2D_Light& canvas) = 0;
  // Holds the texture in `slot` as the mask (none for an empty or null slot); the brush's own
  // slot changes nothing.
  virtual void SetMaskTexture(ComRef<gfx::Texture>* slot);

  // The document's slot for the picture stored under the mask id; null without a document.
  ComRef<gfx::Texture>* DocumentMaskSlot() const;
  float Phase() const { return speed.localTime; }

  // "mask_position" = -(target point) / picture size.
  void BindMaskPosition(DS_2D_Light& canvas);
  // Technique by mode, "mask_position", "Scale" (aspect / scale, 1 / scale), "Mask",
  // "Background" = the picture drawn so far; then one pass over the whole picture (the
  // canvas's background quad).
  void BindCommon(DS_2D_Light& canvas);

  MediaSpeedParam speed;
  // 0: technique "Main" over the current target; otherwise "MainFX".
  MediaParamT<int> mode{0};
  DS_HLSLEffectFile effectLink;
  UINTSclaleTo<float> scale{50, 0.02f, 0.0f};
  // Corners (-,-), (-,+), (+,-), (+,+) about its centre, in scene units.
  MediaQuad maskQuad;
  MediaParamTB<int> quadTag{0};
  // Hundredths of a turn, scaled to radians.
  UINTSclaleTo<float> angle{0, 0.06283186f, 0.0f};
  GUID maskId;
  zkw_string maskName;
  uint8_t maskFlag = 1;
  ComRef<gfx::Texture> maskTexture;
  D3DXVECTOR3 targetPoint;
  ComRef<gfx::Effect> effect;
  WarpGridMesh grid;

 protected:
  // The mask quad's corners in their stored order, textured at their scene positions.
  std::array<TexVertex, 4> MaskCorners() const;
};
